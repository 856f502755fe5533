#include "ui/UIColor.h"

#include <algorithm>
#include <cmath>

RVX_DEFINE_CLASS(UIColor, NSObject)

UIColorRef UIColor::colorWithCGColor(CGColorRef color)
{
    return color ? runtime::make<UIColor>(std::move(color)) : nullptr;
}

UIColorRef UIColor::colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    CGFloat components[] = {red, green, blue, alpha};
    return colorWithCGColor(CGColorCreate(CGColorSpaceCreateDeviceRGB(), components));
}

UIColorRef UIColor::colorWithWhite(CGFloat white, CGFloat alpha)
{
    CGFloat components[] = {white, alpha};
    return colorWithCGColor(CGColorCreate(CGColorSpaceCreateDeviceGray(), components));
}

UIColorRef UIColor::colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha)
{
    auto unit = [](CGFloat value) { return std::clamp(value, CGFloat(0), CGFloat(1)); };
    CGFloat h = unit(hue), s = unit(saturation), v = unit(brightness);
    if (h == 1)
        h = 0;
    if (s == 0)
        return colorWithRed(v, v, v, alpha);

    CGFloat sector = h * 6;
    int i = int(std::floor(sector));
    CGFloat f = sector - CGFloat(i);
    CGFloat p = v * (1 - s);
    CGFloat q = v * (1 - s * f);
    CGFloat t = v * (1 - s * (1 - f));
    switch (i) {
    case 0: return colorWithRed(v, t, p, alpha);
    case 1: return colorWithRed(q, v, p, alpha);
    case 2: return colorWithRed(p, v, t, alpha);
    case 3: return colorWithRed(p, q, v, alpha);
    case 4: return colorWithRed(t, p, v, alpha);
    default: return colorWithRed(v, p, q, alpha);
    }
}

UIColorRef UIColor::whiteColor() { return colorWithWhite(1, 1); }
UIColorRef UIColor::blackColor() { return colorWithWhite(0, 1); }
UIColorRef UIColor::clearColor() { return colorWithWhite(0, 0); }
UIColorRef UIColor::lightGrayColor() { return colorWithWhite(2.0f / 3, 1); }
UIColorRef UIColor::darkGrayColor() { return colorWithWhite(1.0f / 3, 1); }
UIColorRef UIColor::grayColor() { return colorWithWhite(0.5f, 1); }
UIColorRef UIColor::redColor() { return colorWithRed(1, 0, 0, 1); }
UIColorRef UIColor::blueColor() { return colorWithRed(0, 0, 1, 1); }

UIColorRef UIColor::groupTableViewBackgroundColor()
{
    // Painted as the flat mean of the platform's pin stripes.
    static const CGColorRef color = std::make_shared<::CGColor>(
        CGColorSpaceCreatePattern(), std::vector<CGFloat> {1}, RGBA {0.773f, 0.800f, 0.831f, 1});
    return colorWithCGColor(color);
}

UIColorRef UIColor::colorWithAlphaComponent(CGFloat alpha) const
{
    std::vector<CGFloat> components = _color->components();
    components.back() = alpha;
    RGBA paint = _color->paint();
    return colorWithCGColor(std::make_shared<::CGColor>(_color->space(), std::move(components), paint));
}
