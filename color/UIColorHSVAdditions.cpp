#include "color/UIColorHSVAdditions.h"

#include "color/UIColorToolkit.h"

#include <algorithm>

namespace UIColor_HSVAdditions {

namespace {

// The hue of one sector: the product and the sum in double, stored as float.
float sectorHue(double base, float numerator, float spread)
{
    return float(base + 60.0 * numerator / spread);
}

hsv_color convertColor(const UIColorRef& color)
{
    if (!color)
        return {0, 0, 0};
    float r = UIColor_Toolkit::red(color);
    float g = UIColor_Toolkit::green(color);
    float b = UIColor_Toolkit::blue(color);
    return HSVfromRGB({r, g, b});
}

} // namespace

hsv_color HSVfromRGB(rgb_color rgb)
{
    float max = std::max({rgb.red, rgb.green, rgb.blue});
    if (max == 0)
        return {0, 0, 0};

    float r = rgb.red / max, g = rgb.green / max, b = rgb.blue / max;
    float scaledMin = std::min({r, g, b});
    float scaledMax = std::max({r, g, b});
    float saturation = scaledMax - scaledMin;
    if (saturation == 0)
        return {0, 0, max};

    float spread = scaledMax - scaledMin;
    float hue;
    if (r == scaledMax) {
        hue = sectorHue(0, g - b, spread);
        if (hue < 0)
            hue += 360.0f;
        // A hue a hair below 0 lands on 360 once rounded to float: that is the 0 degree line.
        if (hue >= 360.0f)
            hue = 0;
    } else if (g == scaledMax) {
        hue = sectorHue(120, b - r, spread);
    } else {
        hue = sectorHue(240, r - g, spread);
    }
    return {hue, saturation, max};
}

float hue(const UIColorRef& color) { return convertColor(color).hue / 360.0f; }
float saturation(const UIColorRef& color) { return convertColor(color).saturation; }
float brightness(const UIColorRef& color) { return convertColor(color).value; }
float value(const UIColorRef& color) { return brightness(color); }

} // namespace UIColor_HSVAdditions
