#include "graphics/CGContext.h"

#include "graphics/CairoPtr.h"

CGContext::~CGContext()
{
    while (_depth > 0)
        restoreGState();
}

void CGContext::saveGState()
{
    cairo_save(_painter.cairo());
    _fill.push_back(_fill.back());
    ++_depth;
}

void CGContext::restoreGState()
{
    if (_depth == 0)
        return;
    cairo_restore(_painter.cairo());
    _fill.pop_back();
    --_depth;
}

void CGContextSaveGState(CGContextRef context)
{
    if (context)
        context->saveGState();
}

void CGContextRestoreGState(CGContextRef context)
{
    if (context)
        context->restoreGState();
}

void CGContextClipToRect(CGContextRef context, CGRect rect)
{
    if (context)
        context->painter().clipToRect(rect);
}

void CGContextSetFillColorWithColor(CGContextRef context, const CGColorRef& color)
{
    if (context && color)
        context->setFillColor(color->paint());
}

void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha)
{
    if (context)
        context->setFillColor(CGColor(CGColorSpaceCreateDeviceRGB(), {red, green, blue, alpha}).paint());
}

void CGContextFillRect(CGContextRef context, CGRect rect)
{
    if (context)
        context->painter().fillRect(rect, context->fillColor());
}

void CGContextDrawLinearGradient(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end,
    unsigned options)
{
    if (!context || !gradient)
        return;
    CairoPatternPtr pattern(cairo_pattern_create_linear(start.x, start.y, end.x, end.y));
    for (const CGGradientStop& stop : gradient->stops()) {
        const RGBA& c = stop.color;
        cairo_pattern_add_color_stop_rgba(pattern.get(), stop.location, c[0], c[1], c[2], c[3]);
    }
    // Cairo extends both ends or neither; either option is taken as both.
    cairo_pattern_set_extend(pattern.get(), options ? CAIRO_EXTEND_PAD : CAIRO_EXTEND_NONE);
    cairo_t* cr = context->painter().cairo();
    cairo_save(cr);
    cairo_set_source(cr, pattern.get());
    cairo_paint(cr);
    cairo_restore(cr);
}
