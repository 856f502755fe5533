#include "color/UIColorToolkit.h"

#include "color/ToolkitPrecondition.h"

namespace UIColor_Toolkit {

namespace {

bool isMonochrome(const UIColorRef& color) { return colorSpaceModel(color) == kCGColorSpaceModelMonochrome; }

// Component i as stored; 0 past the end of a colour built with too few components.
float component(const UIColorRef& color, size_t index)
{
    const CGColorRef& cg = color->CGColor();
    return index < CGColorGetNumberOfComponents(cg) ? CGColorGetComponents(cg)[index] : 0;
}

// Component i of an RGB colour, or the white of a grey.
float rgbComponent(const UIColorRef& color, size_t index)
{
    return component(color, isMonochrome(color) ? 0 : index);
}

} // namespace

int colorSpaceModel(const UIColorRef& color)
{
    if (!color)
        return 0;
    return CGColorSpaceGetModel(CGColorGetColorSpace(color->CGColor()));
}

std::string colorSpaceString(const UIColorRef& color)
{
    if (!color)
        return {};
    switch (colorSpaceModel(color)) {
    case kCGColorSpaceModelUnknown: return "kCGColorSpaceModelUnknown";
    case kCGColorSpaceModelMonochrome: return "kCGColorSpaceModelMonochrome";
    case kCGColorSpaceModelRGB: return "kCGColorSpaceModelRGB";
    case kCGColorSpaceModelCMYK: return "kCGColorSpaceModelCMYK";
    case kCGColorSpaceModelLab: return "kCGColorSpaceModelLab";
    case kCGColorSpaceModelDeviceN: return "kCGColorSpaceModelDeviceN";
    case kCGColorSpaceModelIndexed: return "kCGColorSpaceModelIndexed";
    case kCGColorSpaceModelPattern: return "kCGColorSpaceModelPattern";
    default: return "Not a valid color space";
    }
}

bool canProvideRGBComponents(const UIColorRef& color)
{
    // Unsigned, so that Unknown (-1) is not taken for a grey.
    return color && unsigned(colorSpaceModel(color)) < 2;
}

bool red(const UIColorRef& color, float* r, float* g, float* b, float* a)
{
    if (!canProvideRGBComponents(color))
        return false;
    bool grey = isMonochrome(color);
    float values[4] = {rgbComponent(color, 0), rgbComponent(color, 1), rgbComponent(color, 2),
        component(color, grey ? 1 : 3)};
    for (auto [out, value] : {std::pair {r, values[0]}, {g, values[1]}, {b, values[2]}, {a, values[3]}}) {
        if (out)
            *out = value;
    }
    return true;
}

float red(const UIColorRef& color)
{
    if (!color)
        return 0;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "red", "Must be an RGB color to use -red");
    return rgbComponent(color, 0);
}

float green(const UIColorRef& color)
{
    if (!color)
        return 0;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "green", "Must be an RGB color to use -green");
    return rgbComponent(color, 1);
}

float blue(const UIColorRef& color)
{
    if (!color)
        return 0;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "blue", "Must be an RGB color to use -blue");
    return rgbComponent(color, 2);
}

float white(const UIColorRef& color)
{
    if (!color)
        return 0;
    RVX_TOOLKIT_REQUIRE(isMonochrome(color), color, "white", "Must be a Monochrome color to use -white");
    return component(color, 0);
}

float alpha(const UIColorRef& color)
{
    return color ? CGColorGetAlpha(color->CGColor()) : 0;
}

std::optional<std::vector<float>> arrayFromRGBAComponents(const UIColorRef& color)
{
    if (!color)
        return std::nullopt;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "arrayFromRGBAComponents",
        "Must be an RGB color to use -arrayFromRGBAComponents");
    float r, g, b, a;
    if (!red(color, &r, &g, &b, &a))
        return std::nullopt;
    return std::vector<float> {r, g, b, a};
}

} // namespace UIColor_Toolkit
