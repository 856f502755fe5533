#pragma once

// Hue, saturation and value (brightness) of a colour in the hexcone model: the exact inverse
// of UIColor::colorWithHue for saturation and brightness above 0.

#include "ui/UIColor.h"

struct rgb_color {
    float red, green, blue;
};

// Hue in degrees, 0 <= hue < 360.
struct hsv_color {
    float hue, saturation, value;
};

namespace UIColor_HSVAdditions {

hsv_color HSVfromRGB(rgb_color rgb);

// The accessors read red, green and blue through the toolkit (red first), so a colour that
// cannot give RGB components fails as UIColor_Toolkit::red does. A nil colour gives 0.
// Hue is a fraction of the full circle here.
float hue(const UIColorRef& color);
float saturation(const UIColorRef& color);
float brightness(const UIColorRef& color);
float value(const UIColorRef& color);

} // namespace UIColor_HSVAdditions
