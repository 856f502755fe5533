#pragma once

#include "graphics/CGColor.h"
#include "runtime/NSObject.h"

class UIColor;
using UIColorRef = std::shared_ptr<UIColor>;

class UIColor : public NSObject {
    RVX_OBJECT(UIColor)
public:
    explicit UIColor(CGColorRef color) : _color(std::move(color)) { }

    static UIColorRef colorWithCGColor(CGColorRef color);
    // Components are kept as given, outside 0..1 too.
    static UIColorRef colorWithRed(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
    // A Monochrome colour of two components.
    static UIColorRef colorWithWhite(CGFloat white, CGFloat alpha);
    // The hexcone conversion: hue is a fraction of the circle; each component outside 0..1 is
    // taken as the nearest bound, and hue 1 is hue 0. The result is an RGB colour.
    static UIColorRef colorWithHue(CGFloat hue, CGFloat saturation, CGFloat brightness, CGFloat alpha);

    static UIColorRef whiteColor();
    static UIColorRef blackColor();
    static UIColorRef clearColor();
    static UIColorRef lightGrayColor();
    static UIColorRef darkGrayColor();
    static UIColorRef grayColor();
    static UIColorRef redColor();
    static UIColorRef blueColor();
    // The grouped tables' striped background: a pattern colour.
    static UIColorRef groupTableViewBackgroundColor();

    const CGColorRef& CGColor() const { return _color; }
    UIColorRef colorWithAlphaComponent(CGFloat alpha) const;
    RGBA paint() const { return _color->paint(); }
    bool isEqual(const UIColor& other) const { return *_color == *other._color; }

private:
    CGColorRef _color;
};
