#pragma once

// The colour picker's alpha bar: the picked colour, opaque, on the left, fading to
// transparent white on the right, in a gradient layer under the view's own layer.

#include "ui/UIView.h"

class GradientAlpha;
using GradientAlphaRef = std::shared_ptr<GradientAlpha>;

class GradientAlpha : public UIView {
    RVX_OBJECT(GradientAlpha)
public:
    explicit GradientAlpha(CGRect frame = CGRectZero);

    // Setting the colour neither rebuilds the fade nor repaints; setupAlpha does.
    const UIColorRef& theColor() const { return _theColor; }
    void setTheColor(UIColorRef color) { _theColor = std::move(color); }

    // Replaces every sublayer of the view's layer with one gradient layer built from theColor.
    void setupAlpha();

private:
    UIColorRef _theColor;
};
