#include "graphics/CGGeometry.h"

#include <algorithm>

CGRect CGRectStandardize(CGRect rect)
{
    if (rect.size.width < 0) {
        rect.origin.x += rect.size.width;
        rect.size.width = -rect.size.width;
    }
    if (rect.size.height < 0) {
        rect.origin.y += rect.size.height;
        rect.size.height = -rect.size.height;
    }
    return rect;
}

CGFloat CGRectGetMinX(CGRect rect) { return CGRectStandardize(rect).origin.x; }
CGFloat CGRectGetMinY(CGRect rect) { return CGRectStandardize(rect).origin.y; }

CGFloat CGRectGetMidX(CGRect rect)
{
    CGRect r = CGRectStandardize(rect);
    return r.origin.x + r.size.width / 2;
}

CGFloat CGRectGetMidY(CGRect rect)
{
    CGRect r = CGRectStandardize(rect);
    return r.origin.y + r.size.height / 2;
}

CGFloat CGRectGetMaxX(CGRect rect)
{
    CGRect r = CGRectStandardize(rect);
    return r.origin.x + r.size.width;
}

CGFloat CGRectGetMaxY(CGRect rect)
{
    CGRect r = CGRectStandardize(rect);
    return r.origin.y + r.size.height;
}

bool CGRectIsEmpty(CGRect rect)
{
    return !(rect.size.width != 0 && rect.size.height != 0) || std::isnan(rect.size.width)
        || std::isnan(rect.size.height);
}

bool CGRectEqualToRect(CGRect a, CGRect b)
{
    return CGRectStandardize(a) == CGRectStandardize(b);
}

CGRect CGRectInset(CGRect rect, CGFloat dx, CGFloat dy)
{
    CGRect r = CGRectStandardize(rect);
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0)
        return CGRectZero;
    return r;
}

CGRect CGRectOffset(CGRect rect, CGFloat dx, CGFloat dy)
{
    rect.origin.x += dx;
    rect.origin.y += dy;
    return rect;
}

bool CGRectContainsPoint(CGRect rect, CGPoint point)
{
    CGRect r = CGRectStandardize(rect);
    return point.x >= r.origin.x && point.x < r.origin.x + r.size.width && point.y >= r.origin.y
        && point.y < r.origin.y + r.size.height;
}

CGRect CGRectIntersection(CGRect a, CGRect b)
{
    CGRect r1 = CGRectStandardize(a);
    CGRect r2 = CGRectStandardize(b);
    CGFloat minX = std::max(r1.origin.x, r2.origin.x);
    CGFloat minY = std::max(r1.origin.y, r2.origin.y);
    CGFloat maxX = std::min(r1.origin.x + r1.size.width, r2.origin.x + r2.size.width);
    CGFloat maxY = std::min(r1.origin.y + r1.size.height, r2.origin.y + r2.size.height);
    if (maxX < minX || maxY < minY)
        return CGRectZero;
    return CGRectMake(minX, minY, maxX - minX, maxY - minY);
}
