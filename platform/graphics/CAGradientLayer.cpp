#include "graphics/CAGradientLayer.h"

#include "graphics/CairoPtr.h"

RVX_DEFINE_CLASS(CAGradientLayer, CALayer)

void CAGradientLayer::drawContents(Painter& painter) const
{
    std::vector<CGColorRef> colors;
    for (const CGColorRef& color : _colors) {
        if (color)
            colors.push_back(color);
    }
    if (colors.empty())
        return;
    CGSize size = frame().size;
    CairoPatternPtr pattern(cairo_pattern_create_linear(_startPoint.x * size.width, _startPoint.y * size.height,
        _endPoint.x * size.width, _endPoint.y * size.height));
    bool located = _locations.size() == colors.size();
    for (size_t i = 0; i < colors.size(); ++i) {
        double offset = located ? _locations[i] : (colors.size() == 1 ? 0.0 : double(i) / double(colors.size() - 1));
        RGBA c = colors[i]->paint();
        cairo_pattern_add_color_stop_rgba(pattern.get(), offset, c[0], c[1], c[2], c[3]);
    }
    cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
    cairo_t* cr = painter.cairo();
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, size.width, size.height);
    cairo_clip(cr);
    cairo_set_source(cr, pattern.get());
    cairo_paint(cr);
    cairo_restore(cr);
}
