#pragma once

// Linear gradients. As on the platform, a gradient is a plain graphics object that its
// creator owns and releases explicitly with CGGradientRelease.

#include "graphics/CGColor.h"

#include <vector>

struct CGGradientStop {
    CGFloat location = 0;
    RGBA color {};
};

class CGGradient {
public:
    explicit CGGradient(std::vector<CGGradientStop> stops) : _stops(std::move(stops)) { }
    const std::vector<CGGradientStop>& stops() const { return _stops; }

private:
    std::vector<CGGradientStop> _stops;
};

using CGGradientRef = CGGradient*;

// `components` holds `count` colours in the layout of `space` (alpha last); without
// `locations` the stops are spread evenly from 0 to 1. Nothing for a missing space,
// missing components, a count of 0 or a space whose colours cannot be painted.
CGGradientRef CGGradientCreateWithColorComponents(const CGColorSpaceRef& space,
    const CGFloat* components, const CGFloat* locations, size_t count);
void CGGradientRelease(CGGradientRef gradient);
