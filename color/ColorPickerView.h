#pragma once

// The label colour editor: a hue-saturation map with a crosshair, a brightness bar and an
// alpha bar with their markers, and a preview swatch over a checkerboard. The layout is in
// fixed points of the picker's own space, whatever frame the picker is given.
//
// Life: initWithFrame (creates nothing), prepareObjects (once), setColor, touches, then
// getColorAsString / getColorShown. The four values are stored unclamped.

#include "color/GradientAlpha.h"
#include "color/GradientView.h"
#include "ui/UIImageView.h"

#include <atomic>
#include <string>

class ColorPickerView;
using ColorPickerViewRef = std::shared_ptr<ColorPickerView>;

class ColorPickerView : public UIView {
    RVX_OBJECT(ColorPickerView)
public:
    // The installed preference bundle, whose directory holds the picker's images.
    static constexpr const char* kBundlePath = "/Library/PreferenceBundles/RuvexProprefs.bundle";
    static constexpr double kMarkerAnimationDuration = 0.25;

    explicit ColorPickerView(CGRect frame = CGRectZero);

    // Builds and adds every subview. Missing images leave image views without an image.
    void prepareObjects();
    // Loads the colour's hue, saturation, brightness and alpha and places the markers at
    // once. The bars are rebuilt by the next draw pass. The colour must give RGB components.
    void setColor(const UIColorRef& color);
    UIColorRef getColorShown() const;
    // "%f,%f,%f,%f": hue, saturation, brightness, alpha, as stored, with a full stop always.
    std::string getColorAsString() const;

    // Routes one position in picker coordinates to the map or a bar; elsewhere nothing.
    void dispatchTouchEvent(CGPoint point);
    void updateHueSatWithMovement(CGPoint point);
    void updateBrightnessWithMovement(CGPoint point);
    void updateAlphaWithMovement(CGPoint point);
    void animateView(const UIViewRef& view, CGPoint position);

    // Began and moved alike: every touch of the set, in its order. Neither passes touches on.
    void touchesBegan(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEventRef& event) override;
    // Rebuilds both bars and marks them for redisplay; draws nothing itself.
    void drawRect(CGRect rect) override;

    // Plain accessors: no marker moves and nothing repaints.
    float currentHue() const { return _currentHue; }
    void setCurrentHue(float hue) { _currentHue = hue; }
    float currentSaturation() const { return _currentSaturation; }
    void setCurrentSaturation(float saturation) { _currentSaturation = saturation; }
    float currentBrightness() const { return _currentBrightness; }
    void setCurrentBrightness(float brightness) { _currentBrightness = brightness; }
    float currentAlpha() const { return _currentAlpha; }
    void setCurrentAlpha(float alpha) { _currentAlpha = alpha; }
    bool defaultColor() const { return _defaultColor; }
    void setDefaultColor(bool isDefault) { _defaultColor = isDefault; }

    const GradientViewRef& gradientView() const { return _gradientView; }
    const GradientAlphaRef& alphaView() const { return _alphaView; }
    const UIImageViewRef& alphaBar() const { return _alphaBar; }
    const UIViewRef& showColor() const { return _showColor; }
    const UIImageViewRef& crossHairs() const { return _crossHairs; }
    const UIImageViewRef& brightnessBar() const { return _brightnessBar; }

private:
    void touchesChanged(const UITouchSet& touches);
    void showColorWithBrightness(float brightness, float alpha);

    GradientViewRef _gradientView;
    GradientAlphaRef _alphaView;
    UIImageViewRef _alphaBar;
    UIViewRef _showColor;
    UIImageViewRef _crossHairs;
    UIImageViewRef _brightnessBar;
    std::atomic<float> _currentBrightness = 0;
    std::atomic<float> _currentHue = 0;
    std::atomic<float> _currentSaturation = 0;
    std::atomic<float> _currentAlpha = 0;
    bool _defaultColor = false;
};
