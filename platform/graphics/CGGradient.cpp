#include "graphics/CGGradient.h"

#include <algorithm>

namespace {

RGBA stopColor(const CGColorSpaceRef& space, const CGFloat* components)
{
    size_t n = space->numberOfComponents();
    std::vector<CGFloat> values(components, components + n);
    return CGColor(space, std::move(values)).paint();
}

bool paintable(CGColorSpaceModel model)
{
    return model == kCGColorSpaceModelRGB || model == kCGColorSpaceModelMonochrome;
}

} // namespace

CGGradientRef CGGradientCreateWithColorComponents(const CGColorSpaceRef& space,
    const CGFloat* components, const CGFloat* locations, size_t count)
{
    if (!space || !components || count == 0 || !paintable(space->model()))
        return nullptr;
    size_t stride = space->numberOfComponents();
    std::vector<CGGradientStop> stops;
    stops.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        CGFloat location = locations ? locations[i] : (count == 1 ? 0 : CGFloat(i) / CGFloat(count - 1));
        stops.push_back({std::clamp<CGFloat>(location, 0, 1), stopColor(space, components + i * stride)});
    }
    return new CGGradient(std::move(stops));
}

void CGGradientRelease(CGGradientRef gradient)
{
    delete gradient;
}
