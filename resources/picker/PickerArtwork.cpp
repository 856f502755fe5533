#include "PickerArtwork.h"

#include "color/ColorPickerMapping.h"
#include "ui/UIColor.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace PickerArtwork {

namespace {

CairoSurfacePtr newSurface(double widthPoints, double heightPoints, int scale)
{
    return CairoSurfacePtr(cairo_image_surface_create(CAIRO_FORMAT_ARGB32,
        int(std::lround(widthPoints * scale)), int(std::lround(heightPoints * scale))));
}

// A context drawing in points on the surface.
CairoContextPtr pointContext(cairo_surface_t* surface, int scale)
{
    CairoContextPtr cr(cairo_create(surface));
    cairo_scale(cr.get(), scale, scale);
    return cr;
}

uint8_t channel(float value)
{
    return uint8_t(std::lround(std::clamp(value, 0.0f, 1.0f) * 255));
}

void strokeTwice(cairo_t* cr, double outerWidth, double innerWidth)
{
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    cairo_set_line_width(cr, outerWidth);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_set_line_width(cr, innerWidth);
    cairo_stroke(cr);
}

} // namespace

CairoSurfacePtr colorMap(int scale)
{
    namespace Mapping = ColorPickerMapping;
    CGRect map = Mapping::kMapFrame;
    CairoSurfacePtr surface = newSurface(map.size.width, map.size.height, scale);
    cairo_surface_flush(surface.get());
    int width = cairo_image_surface_get_width(surface.get());
    int height = cairo_image_surface_get_height(surface.get());
    int stride = cairo_image_surface_get_stride(surface.get());
    unsigned char* data = cairo_image_surface_get_data(surface.get());

    for (int row = 0; row < height; ++row) {
        auto* pixels = reinterpret_cast<uint32_t*>(data + size_t(row) * size_t(stride));
        CGFloat y = map.origin.y + (CGFloat(row) + 0.5f) / CGFloat(scale);
        for (int column = 0; column < width; ++column) {
            CGFloat x = map.origin.x + (CGFloat(column) + 0.5f) / CGFloat(scale);
            Mapping::HueSaturation values = Mapping::hueSaturationAtPoint({x, y});
            RGBA rgb = UIColor::colorWithHue(values.hue, values.saturation, 1, 1)->paint();
            pixels[column] = 0xff000000u | uint32_t(channel(rgb[0])) << 16 | uint32_t(channel(rgb[1])) << 8
                | uint32_t(channel(rgb[2]));
        }
    }
    cairo_surface_mark_dirty(surface.get());
    return surface;
}

CairoSurfacePtr crosshair(int scale)
{
    CairoSurfacePtr surface = newSurface(20, 20, scale);
    CairoContextPtr cr = pointContext(surface.get(), scale);
    cairo_arc(cr.get(), 10, 10, 6, 0, 2 * std::numbers::pi);
    strokeTwice(cr.get(), 3, 1);
    for (auto [x0, y0, x1, y1] : {std::array {10.0, 0.5, 10.0, 3.5}, std::array {10.0, 16.5, 10.0, 19.5},
             std::array {0.5, 10.0, 3.5, 10.0}, std::array {16.5, 10.0, 19.5, 10.0}}) {
        cairo_move_to(cr.get(), x0, y0);
        cairo_line_to(cr.get(), x1, y1);
    }
    strokeTwice(cr.get(), 3, 1);
    return surface;
}

CairoSurfacePtr barSelect(int scale)
{
    CairoSurfacePtr surface = newSurface(10, 48, scale);
    CairoContextPtr cr = pointContext(surface.get(), scale);
    cairo_rectangle(cr.get(), 2, 2, 6, 44);
    strokeTwice(cr.get(), 3, 1);
    return surface;
}

CairoSurfacePtr checkerboard(int widthPoints, int heightPoints, int scale)
{
    constexpr int kSquare = 8;
    CairoSurfacePtr surface = newSurface(widthPoints, heightPoints, scale);
    CairoContextPtr cr = pointContext(surface.get(), scale);
    cairo_set_source_rgb(cr.get(), 1, 1, 1);
    cairo_paint(cr.get());
    cairo_set_source_rgb(cr.get(), 0.8, 0.8, 0.8);
    for (int top = 0; top < heightPoints; top += kSquare) {
        for (int left = (top / kSquare % 2) * kSquare; left < widthPoints; left += 2 * kSquare)
            cairo_rectangle(cr.get(), left, top, kSquare, kSquare);
    }
    cairo_fill(cr.get());
    return surface;
}

} // namespace PickerArtwork
