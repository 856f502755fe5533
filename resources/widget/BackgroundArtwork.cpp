// Draws the widget's bar artwork: a dark glassy bar with rounded ends, 40 x 35 points. The
// widget stretches it from its centre (caps of half the width and height), so the corners
// lie well inside the caps and the middle column and row are plain.
//
//     rvx_widget_artwork OUTPUT.png SCALE      (SCALE 1 or 2)

#include <cairo.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

constexpr double kWidth = 40;
constexpr double kHeight = 35;
constexpr double kRadius = 8;

void roundedRect(cairo_t* cr, double x, double y, double w, double h, double r)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void drawBar(cairo_t* cr)
{
    // Body: a vertical gradient, lighter at the top.
    roundedRect(cr, 0.5, 0.5, kWidth - 1, kHeight - 1, kRadius);
    std::unique_ptr<cairo_pattern_t, decltype(&cairo_pattern_destroy)> body(
        cairo_pattern_create_linear(0, 0, 0, kHeight), cairo_pattern_destroy);
    cairo_pattern_add_color_stop_rgba(body.get(), 0, 0.32, 0.34, 0.38, 0.92);
    cairo_pattern_add_color_stop_rgba(body.get(), 0.5, 0.16, 0.17, 0.20, 0.92);
    cairo_pattern_add_color_stop_rgba(body.get(), 1, 0.08, 0.09, 0.11, 0.92);
    cairo_set_source(cr, body.get());
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // A soft highlight inside the upper edge.
    roundedRect(cr, 1.5, 1.5, kWidth - 3, kHeight - 3, kRadius - 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.18);
    cairo_stroke(cr);
}

int fail(const std::string& message)
{
    std::fprintf(stderr, "rvx_widget_artwork: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return fail("usage: rvx_widget_artwork OUTPUT.png SCALE");
    const std::string output = argv[1];
    char* end = nullptr;
    const long scale = std::strtol(argv[2], &end, 10);
    if (!end || *end || scale < 1 || scale > 4)
        return fail("the scale must be 1, 2, 3 or 4, not \"" + std::string(argv[2]) + "\"");

    const int width = int(kWidth * scale);
    const int height = int(kHeight * scale);
    std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), cairo_surface_destroy);
    std::unique_ptr<cairo_t, decltype(&cairo_destroy)> cr(cairo_create(surface.get()), cairo_destroy);
    cairo_scale(cr.get(), double(scale), double(scale));
    drawBar(cr.get());
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return fail(std::string("drawing failed: ") + cairo_status_to_string(cairo_status(cr.get())));
    cairo_surface_flush(surface.get());
    cairo_status_t written = cairo_surface_write_to_png(surface.get(), output.c_str());
    if (written != CAIRO_STATUS_SUCCESS)
        return fail("cannot write " + output + ": " + cairo_status_to_string(written));
    return 0;
}
