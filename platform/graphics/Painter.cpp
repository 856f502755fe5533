#include "graphics/Painter.h"

#include <algorithm>
#include <cmath>

Painter::Painter(cairo_t* cr)
    : _cr(cairo_reference(cr))
{
}

Painter::~Painter()
{
    cairo_destroy(_cr);
}

Painter::SavedState::SavedState(Painter& painter)
    : _painter(painter)
{
    cairo_save(_painter._cr);
}

Painter::SavedState::~SavedState()
{
    cairo_restore(_painter._cr);
}

void Painter::translate(CGFloat dx, CGFloat dy)
{
    cairo_translate(_cr, dx, dy);
}

void Painter::clipToRect(CGRect rect)
{
    CGRect r = CGRectStandardize(rect);
    cairo_rectangle(_cr, r.origin.x, r.origin.y, r.size.width, r.size.height);
    cairo_clip(_cr);
}

void Painter::clipToRoundedRect(CGRect rect, CGFloat radius)
{
    roundedRectPath(rect, radius);
    cairo_clip(_cr);
}

void Painter::fillRect(CGRect rect, RGBA color)
{
    fillRoundedRect(rect, 0, color);
}

void Painter::fillRoundedRect(CGRect rect, CGFloat radius, RGBA color)
{
    if (color[3] <= 0)
        return;
    setSource(color);
    roundedRectPath(rect, radius);
    cairo_fill(_cr);
}

void Painter::strokeInside(CGRect rect, CGFloat radius, CGFloat width, RGBA color)
{
    if (width <= 0 || color[3] <= 0)
        return;
    CGRect inner = CGRectInset(rect, width / 2, width / 2);
    setSource(color);
    cairo_set_line_width(_cr, width);
    roundedRectPath(inner, std::max<CGFloat>(0, radius - width / 2));
    cairo_stroke(_cr);
}

void Painter::beginGroup()
{
    cairo_push_group(_cr);
}

void Painter::endGroup(double alpha)
{
    cairo_pop_group_to_source(_cr);
    cairo_paint_with_alpha(_cr, std::clamp(alpha, 0.0, 1.0));
}

void Painter::roundedRectPath(CGRect rect, CGFloat radius)
{
    CGRect r = CGRectStandardize(rect);
    double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height;
    double rad = std::min<double>({radius, w / 2, h / 2});
    cairo_new_path(_cr);
    if (rad <= 0) {
        cairo_rectangle(_cr, x, y, w, h);
        return;
    }
    cairo_arc(_cr, x + w - rad, y + rad, rad, -M_PI / 2, 0);
    cairo_arc(_cr, x + w - rad, y + h - rad, rad, 0, M_PI / 2);
    cairo_arc(_cr, x + rad, y + h - rad, rad, M_PI / 2, M_PI);
    cairo_arc(_cr, x + rad, y + rad, rad, M_PI, 3 * M_PI / 2);
    cairo_close_path(_cr);
}

void Painter::setSource(RGBA color)
{
    cairo_set_source_rgba(_cr, color[0], color[1], color[2], color[3]);
}
