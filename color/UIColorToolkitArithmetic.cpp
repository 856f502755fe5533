#include "color/UIColorToolkit.h"

#include "color/ToolkitPrecondition.h"

#include <array>

namespace UIColor_Toolkit {

namespace {

constexpr std::string_view kArithmeticMessage = "Must be a RGB color to use arithmatic operations";

using Components = std::array<float, 4>;
using Combine = float (*)(float component, float argument);

float clampUnit(float value)
{
    if (value > 1)
        return 1;
    if (value < 0)
        return 0;
    return value;
}

float multiply(float c, float v) { return clampUnit(c * v); }
float add(float c, float v) { return clampUnit(c + v); }
float lighten(float c, float v) { return c > v ? c : v; }
float darken(float c, float v) { return c < v ? c : v; }

std::optional<Components> componentsOf(const UIColorRef& color)
{
    Components c;
    if (!red(color, &c[0], &c[1], &c[2], &c[3]))
        return std::nullopt;
    return c;
}

UIColorRef combine(const UIColorRef& color, std::string_view selector, Combine fn, const Components& arguments)
{
    if (!color)
        return nullptr;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, selector, kArithmeticMessage);
    auto c = componentsOf(color);
    if (!c)
        return nullptr;
    return UIColor::colorWithRed(fn((*c)[0], arguments[0]), fn((*c)[1], arguments[1]), fn((*c)[2], arguments[2]),
        fn((*c)[3], arguments[3]));
}

// The colour forms: the other colour's red, green and blue with a fixed alpha argument.
UIColorRef combineWithColor(const UIColorRef& color, const UIColorRef& other, std::string_view selector,
    std::string_view fourComponentSelector, Combine fn, float alphaArgument)
{
    if (!color)
        return nullptr;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, selector, kArithmeticMessage);
    auto o = componentsOf(other);
    if (!o)
        return nullptr;
    return combine(color, fourComponentSelector, fn, {(*o)[0], (*o)[1], (*o)[2], alphaArgument});
}

constexpr std::string_view kMultiplying = "colorByMultiplyingByRed:green:blue:alpha:";
constexpr std::string_view kAdding = "colorByAddingRed:green:blue:alpha:";
constexpr std::string_view kLightening = "colorByLighteningToRed:green:blue:alpha:";
constexpr std::string_view kDarkening = "colorByDarkeningToRed:green:blue:alpha:";

} // namespace

UIColorRef colorByLuminanceMapping(const UIColorRef& color)
{
    if (!color)
        return nullptr;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "colorByLuminanceMapping", kArithmeticMessage);
    auto c = componentsOf(color);
    if (!c)
        return nullptr;
    // The Rec. 709 luma weights.
    float luma = 0.2126f * (*c)[0] + 0.7152f * (*c)[1] + 0.0722f * (*c)[2];
    return UIColor::colorWithWhite(luma, (*c)[3]);
}

UIColorRef colorByMultiplyingByRed(const UIColorRef& color, float r, float g, float b, float a)
{
    return combine(color, kMultiplying, multiply, {r, g, b, a});
}

UIColorRef colorByAddingRed(const UIColorRef& color, float r, float g, float b, float a)
{
    return combine(color, kAdding, add, {r, g, b, a});
}

UIColorRef colorByLighteningToRed(const UIColorRef& color, float r, float g, float b, float a)
{
    return combine(color, kLightening, lighten, {r, g, b, a});
}

UIColorRef colorByDarkeningToRed(const UIColorRef& color, float r, float g, float b, float a)
{
    return combine(color, kDarkening, darken, {r, g, b, a});
}

UIColorRef colorByMultiplyingBy(const UIColorRef& color, float f) { return colorByMultiplyingByRed(color, f, f, f, 1); }
UIColorRef colorByAdding(const UIColorRef& color, float f) { return colorByAddingRed(color, f, f, f, 0); }
UIColorRef colorByLighteningTo(const UIColorRef& color, float f) { return colorByLighteningToRed(color, f, f, f, 0); }
UIColorRef colorByDarkeningTo(const UIColorRef& color, float f) { return colorByDarkeningToRed(color, f, f, f, 1); }

UIColorRef colorByMultiplyingByColor(const UIColorRef& color, const UIColorRef& other)
{
    return combineWithColor(color, other, "colorByMultiplyingByColor:", kMultiplying, multiply, 1);
}

UIColorRef colorByAddingColor(const UIColorRef& color, const UIColorRef& other)
{
    return combineWithColor(color, other, "colorByAddingColor:", kAdding, add, 0);
}

UIColorRef colorByLighteningToColor(const UIColorRef& color, const UIColorRef& other)
{
    return combineWithColor(color, other, "colorByLighteningToColor:", kLightening, lighten, 0);
}

UIColorRef colorByDarkeningToColor(const UIColorRef& color, const UIColorRef& other)
{
    return combineWithColor(color, other, "colorByDarkeningToColor:", kDarkening, darken, 1);
}

} // namespace UIColor_Toolkit
