#pragma once

// Points, sizes and rectangles in points, as CoreGraphics has them.

#include "graphics/CGBase.h"

#include <cmath>

struct CGPoint {
    CGFloat x = 0;
    CGFloat y = 0;
    bool operator==(const CGPoint&) const = default;
};

struct CGSize {
    CGFloat width = 0;
    CGFloat height = 0;
    bool operator==(const CGSize&) const = default;
};

struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

// Only the identity is ever used; the full matrix is kept so that a transform reads as one.
struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool operator==(const CGAffineTransform&) const = default;
};

inline constexpr CGAffineTransform CGAffineTransformIdentity {};
inline constexpr CGPoint CGPointZero {};
inline constexpr CGSize CGSizeZero {};
inline constexpr CGRect CGRectZero {};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) { return {x, y}; }
inline CGSize CGSizeMake(CGFloat width, CGFloat height) { return {width, height}; }
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height)
{
    return {{x, y}, {width, height}};
}

// A rectangle with a negative size is read as the one it spans.
CGRect CGRectStandardize(CGRect rect);

CGFloat CGRectGetMinX(CGRect rect);
CGFloat CGRectGetMidX(CGRect rect);
CGFloat CGRectGetMaxX(CGRect rect);
CGFloat CGRectGetMinY(CGRect rect);
CGFloat CGRectGetMidY(CGRect rect);
CGFloat CGRectGetMaxY(CGRect rect);
inline CGFloat CGRectGetWidth(CGRect rect) { return std::fabs(rect.size.width); }
inline CGFloat CGRectGetHeight(CGRect rect) { return std::fabs(rect.size.height); }

bool CGRectIsEmpty(CGRect rect);
bool CGRectEqualToRect(CGRect a, CGRect b);
// Moves every edge inwards by dx and dy (outwards when negative); a rectangle that would
// turn inside out becomes empty.
CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy);
CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy);
// Half-open: the minimum edges belong to the rectangle, the maximum edges do not.
bool CGRectContainsPoint(CGRect rect, CGPoint point);
CGRect CGRectIntersection(CGRect a, CGRect b);
