#pragma once

// Colour spaces and colours. Colours are immutable and shared; a colour's components are
// kept exactly as given (a component may lie outside 0..1), and drawing clamps them.

#include "graphics/CGBase.h"

#include <array>
#include <memory>
#include <vector>

enum CGColorSpaceModel : int {
    kCGColorSpaceModelUnknown = -1,
    kCGColorSpaceModelMonochrome = 0,
    kCGColorSpaceModelRGB = 1,
    kCGColorSpaceModelCMYK = 2,
    kCGColorSpaceModelLab = 3,
    kCGColorSpaceModelDeviceN = 4,
    kCGColorSpaceModelIndexed = 5,
    kCGColorSpaceModelPattern = 6,
};

class CGColorSpace {
public:
    explicit CGColorSpace(CGColorSpaceModel model) : _model(model) { }
    CGColorSpaceModel model() const { return _model; }
    // Components of a colour in this space, alpha included.
    size_t numberOfComponents() const;

private:
    CGColorSpaceModel _model;
};

using CGColorSpaceRef = std::shared_ptr<const CGColorSpace>;

CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
CGColorSpaceRef CGColorSpaceCreateDeviceGray();
CGColorSpaceRef CGColorSpaceCreatePattern();
CGColorSpaceModel CGColorSpaceGetModel(const CGColorSpaceRef& space);

// Straight (not premultiplied) RGBA, each in 0..1: how a colour is painted.
using RGBA = std::array<float, 4>;

class CGColor {
public:
    // Components in the space's layout, alpha last. A pattern colour has only its alpha;
    // `patternPaint` is the flat colour it is painted with here.
    CGColor(CGColorSpaceRef space, std::vector<CGFloat> components, RGBA patternPaint = {0, 0, 0, 0});

    const CGColorSpaceRef& space() const { return _space; }
    const std::vector<CGFloat>& components() const { return _components; }
    CGFloat alpha() const { return _components.empty() ? 1 : _components.back(); }
    RGBA paint() const;
    bool operator==(const CGColor& other) const;

private:
    CGColorSpaceRef _space;
    std::vector<CGFloat> _components;
    RGBA _patternPaint;
};

using CGColorRef = std::shared_ptr<const CGColor>;

// Nothing when the number of components does not fit the space.
CGColorRef CGColorCreate(const CGColorSpaceRef& space, const CGFloat* components);
const CGFloat* CGColorGetComponents(const CGColorRef& color);
size_t CGColorGetNumberOfComponents(const CGColorRef& color);
CGFloat CGColorGetAlpha(const CGColorRef& color);
CGColorSpaceRef CGColorGetColorSpace(const CGColorRef& color);
bool CGColorEqualToColor(const CGColorRef& a, const CGColorRef& b);

// Colour spaces are shared here; releasing drops the caller's reference.
inline void CGColorSpaceRelease(CGColorSpaceRef& space) { space.reset(); }
