#include "color/UIColorToolkit.h"

#include "color/ToolkitPrecondition.h"
#include "foundation/NSScanner.h"
#include "foundation/NSString.h"

#include <cmath>
#include <cstdlib>

namespace UIColor_Toolkit {

namespace {

// NaN and anything not above 0 give 0, anything not below 1 gives 255.
uint32_t byteOf(float component)
{
    if (!(component > 0))
        component = 0;
    else if (!(component < 1))
        component = 1;
    return uint32_t(std::roundf(component * 255.0f));
}

// random() / 2^31 lies below 1, but the nearest float of the largest draws is 1 itself.
float unitDraw()
{
    float value = float(double(random()) / 2147483648.0);
    return value < 1 ? value : std::nextafter(1.0f, 0.0f);
}

} // namespace

uint32_t rgbHex(const UIColorRef& color)
{
    if (!color)
        return 0;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "rgbHex", "Must be a RGB color to use rgbHex");
    float r, g, b;
    if (!red(color, &r, &g, &b, nullptr))
        return 0;
    return byteOf(r) << 16 | byteOf(g) << 8 | byteOf(b);
}

std::string hexStringFromColor(const UIColorRef& color)
{
    if (!color)
        return {};
    return NSString::format("%.6lX", static_cast<unsigned long>(rgbHex(color)));
}

UIColorRef colorWithRGBHex(uint32_t hex)
{
    return UIColor::colorWithRed(float((hex >> 16) & 0xFF) / 255.0f, float((hex >> 8) & 0xFF) / 255.0f,
        float(hex & 0xFF) / 255.0f, 1);
}

UIColorRef colorWithHexString(std::string_view text)
{
    NSScanner scanner {std::string(text)};
    unsigned hex = 0;
    if (!scanner.scanHexInt(&hex))
        return nullptr;
    return colorWithRGBHex(hex);
}

UIColorRef randomColor()
{
    float r = unitDraw();
    float g = unitDraw();
    float b = unitDraw();
    return UIColor::colorWithRed(r, g, b, 1);
}

} // namespace UIColor_Toolkit
