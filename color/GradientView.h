#pragma once

// The colour picker's brightness bar: the picked hue and saturation at full brightness on
// the left, fading to black on the right, laid out in fixed 300-point units.

#include "graphics/CGGradient.h"
#include "ui/UIView.h"

class GradientView;
using GradientViewRef = std::shared_ptr<GradientView>;

class GradientView : public UIView {
    RVX_OBJECT(GradientView)
public:
    explicit GradientView(CGRect frame = CGRectZero);
    ~GradientView() override;

    // Setting the colour neither rebuilds the fade nor repaints; setupGradient does.
    const UIColorRef& theColor() const { return _theColor; }
    void setTheColor(UIColorRef color) { _theColor = std::move(color); }

    // Replaces the fade with one built from the hue and saturation of theColor.
    void setupGradient();
    // Nothing before the first setupGradient.
    CGGradientRef gradient() const { return _gradient; }

    void drawRect(CGRect rect) override;

private:
    CGGradientRef _gradient = nullptr;
    UIColorRef _theColor;
};

// Points on a rectangle's left edge, a quarter and three quarters down. Exported from the
// preference bundle under exactly these names.
extern "C" {
__attribute__((visibility("default"))) CGPoint demoLGStar(CGRect rect);
__attribute__((visibility("default"))) CGPoint demoLGEn(CGRect rect);
__attribute__((visibility("default"))) CGPoint deoLGStart(CGRect rect);
__attribute__((visibility("default"))) CGPoint demoLGEnd(CGRect rect);
}
