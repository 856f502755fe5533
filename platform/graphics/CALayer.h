#pragma once

// Layers: a rectangle with a background, a border, rounded corners and sublayers. Every
// view has one; views render their layer's parts around their own drawing.

#include "graphics/CGColor.h"
#include "graphics/CGGeometry.h"
#include "graphics/Painter.h"
#include "runtime/NSObject.h"

#include <vector>

class CALayer;
using CALayerRef = std::shared_ptr<CALayer>;

class CALayer : public NSObject {
    RVX_OBJECT(CALayer)
public:
    static CALayerRef layer() { return runtime::make<CALayer>(); }

    CGRect frame() const { return _frame; }
    void setFrame(CGRect frame) { _frame = frame; }
    CGRect bounds() const { return {CGPointZero, _frame.size}; }

    const CGColorRef& backgroundColor() const { return _backgroundColor; }
    void setBackgroundColor(CGColorRef color) { _backgroundColor = std::move(color); }
    const CGColorRef& borderColor() const { return _borderColor; }
    void setBorderColor(CGColorRef color) { _borderColor = std::move(color); }
    CGFloat borderWidth() const { return _borderWidth; }
    void setBorderWidth(CGFloat width) { _borderWidth = width; }
    CGFloat cornerRadius() const { return _cornerRadius; }
    void setCornerRadius(CGFloat radius) { _cornerRadius = radius; }
    bool masksToBounds() const { return _masksToBounds; }
    void setMasksToBounds(bool masks) { _masksToBounds = masks; }
    float opacity() const { return _opacity; }
    void setOpacity(float opacity) { _opacity = opacity; }
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden) { _hidden = hidden; }

    const std::vector<CALayerRef>& sublayers() const { return _sublayers; }
    // Takes every layer from its former superlayer; the same layer listed twice is kept once.
    void setSublayers(const std::vector<CALayerRef>& layers);
    void addSublayer(const CALayerRef& layer);
    // An index past the end appends.
    void insertSublayer(const CALayerRef& layer, size_t index);
    void removeFromSuperlayer();
    CALayerRef superlayer() const { return _superlayer.lock(); }

    // Renders the whole layer with its sublayers; the painter's origin is the superlayer's.
    void render(Painter& painter) const;

    // The parts of a render in local coordinates, for views that draw between them.
    void clipToBoundsIfMasking(Painter& painter) const;
    void renderBackground(Painter& painter) const;
    void renderSublayers(Painter& painter) const;
    void renderBorder(Painter& painter) const;

protected:
    // The layer's own content, over its background; nothing for a plain layer.
    virtual void drawContents(Painter& painter) const { }

private:
    void detachSublayer(const CALayer* layer);

    CGRect _frame {};
    CGColorRef _backgroundColor;
    CGColorRef _borderColor;
    CGFloat _borderWidth = 0;
    CGFloat _cornerRadius = 0;
    bool _masksToBounds = false;
    bool _hidden = false;
    float _opacity = 1;
    std::vector<CALayerRef> _sublayers;
    std::weak_ptr<CALayer> _superlayer;
};
