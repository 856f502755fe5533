#include "graphics/CGColor.h"

#include <algorithm>

size_t CGColorSpace::numberOfComponents() const
{
    switch (_model) {
    case kCGColorSpaceModelMonochrome:
        return 2;
    case kCGColorSpaceModelRGB:
    case kCGColorSpaceModelLab:
        return 4;
    case kCGColorSpaceModelCMYK:
        return 5;
    default:
        return 1;
    }
}

CGColorSpaceRef CGColorSpaceCreateDeviceRGB()
{
    static const CGColorSpaceRef space = std::make_shared<CGColorSpace>(kCGColorSpaceModelRGB);
    return space;
}

CGColorSpaceRef CGColorSpaceCreateDeviceGray()
{
    static const CGColorSpaceRef space = std::make_shared<CGColorSpace>(kCGColorSpaceModelMonochrome);
    return space;
}

CGColorSpaceRef CGColorSpaceCreatePattern()
{
    static const CGColorSpaceRef space = std::make_shared<CGColorSpace>(kCGColorSpaceModelPattern);
    return space;
}

CGColorSpaceModel CGColorSpaceGetModel(const CGColorSpaceRef& space)
{
    return space ? space->model() : kCGColorSpaceModelUnknown;
}

CGColor::CGColor(CGColorSpaceRef space, std::vector<CGFloat> components, RGBA patternPaint)
    : _space(std::move(space))
    , _components(std::move(components))
    , _patternPaint(patternPaint)
{
}

RGBA CGColor::paint() const
{
    auto unit = [](CGFloat value) { return std::clamp(float(value), 0.0f, 1.0f); };
    const auto& c = _components;
    switch (CGColorSpaceGetModel(_space)) {
    case kCGColorSpaceModelMonochrome:
        return {unit(c[0]), unit(c[0]), unit(c[0]), unit(c[1])};
    case kCGColorSpaceModelRGB:
        return {unit(c[0]), unit(c[1]), unit(c[2]), unit(c[3])};
    case kCGColorSpaceModelCMYK: {
        float k = unit(c[3]);
        return {(1 - unit(c[0])) * (1 - k), (1 - unit(c[1])) * (1 - k), (1 - unit(c[2])) * (1 - k), unit(c[4])};
    }
    default:
        return {_patternPaint[0], _patternPaint[1], _patternPaint[2], _patternPaint[3] * unit(alpha())};
    }
}

bool CGColor::operator==(const CGColor& other) const
{
    return CGColorSpaceGetModel(_space) == CGColorSpaceGetModel(other._space) && _components == other._components
        && _patternPaint == other._patternPaint;
}

CGColorRef CGColorCreate(const CGColorSpaceRef& space, const CGFloat* components)
{
    if (!space || !components)
        return nullptr;
    std::vector<CGFloat> values(components, components + space->numberOfComponents());
    return std::make_shared<CGColor>(space, std::move(values));
}

const CGFloat* CGColorGetComponents(const CGColorRef& color)
{
    return color ? color->components().data() : nullptr;
}

size_t CGColorGetNumberOfComponents(const CGColorRef& color)
{
    return color ? color->components().size() : 0;
}

CGFloat CGColorGetAlpha(const CGColorRef& color)
{
    return color ? color->alpha() : 0;
}

CGColorSpaceRef CGColorGetColorSpace(const CGColorRef& color)
{
    return color ? color->space() : nullptr;
}

bool CGColorEqualToColor(const CGColorRef& a, const CGColorRef& b)
{
    if (!a || !b)
        return a == b;
    return *a == *b;
}
