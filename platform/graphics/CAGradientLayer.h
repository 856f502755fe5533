#pragma once

// A layer filled with a linear gradient between colours spread evenly (or at `locations`)
// from `startPoint` to `endPoint`, both in unit coordinates of the layer's bounds.

#include "graphics/CALayer.h"

class CAGradientLayer;
using CAGradientLayerRef = std::shared_ptr<CAGradientLayer>;

class CAGradientLayer : public CALayer {
    RVX_OBJECT(CAGradientLayer)
public:
    static CAGradientLayerRef layer() { return runtime::make<CAGradientLayer>(); }

    const std::vector<CGColorRef>& colors() const { return _colors; }
    void setColors(std::vector<CGColorRef> colors) { _colors = std::move(colors); }
    const std::vector<CGFloat>& locations() const { return _locations; }
    // Ignored unless it has one location per colour.
    void setLocations(std::vector<CGFloat> locations) { _locations = std::move(locations); }
    CGPoint startPoint() const { return _startPoint; }
    void setStartPoint(CGPoint point) { _startPoint = point; }
    CGPoint endPoint() const { return _endPoint; }
    void setEndPoint(CGPoint point) { _endPoint = point; }

protected:
    void drawContents(Painter& painter) const override;

private:
    std::vector<CGColorRef> _colors;
    std::vector<CGFloat> _locations;
    CGPoint _startPoint {0.5f, 0};
    CGPoint _endPoint {0.5f, 1};
};
