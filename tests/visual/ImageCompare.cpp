#include "ImageCompare.h"

#include <cstdint>
#include <cstdlib>
#include <fstream>

namespace {

// ARGB32 as a 32-bit word in native order; the channels are premultiplied, which is what
// both pictures hold.
int channel(uint32_t pixel, int shift) { return int((pixel >> shift) & 0xff); }

} // namespace

ImageDifference compareImages(cairo_surface_t* expected, cairo_surface_t* actual, int channelTolerance)
{
    ImageDifference result;
    int width = cairo_image_surface_get_width(actual), height = cairo_image_surface_get_height(actual);
    result.sameSize = width == cairo_image_surface_get_width(expected) && height == cairo_image_surface_get_height(expected);
    if (!result.sameSize) {
        result.differing = long(width) * height;
        return result;
    }
    cairo_surface_flush(expected);
    cairo_surface_flush(actual);
    result.diff.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_surface_flush(result.diff.get());
    const unsigned char* a = cairo_image_surface_get_data(expected);
    const unsigned char* b = cairo_image_surface_get_data(actual);
    unsigned char* d = cairo_image_surface_get_data(result.diff.get());
    int strideA = cairo_image_surface_get_stride(expected), strideB = cairo_image_surface_get_stride(actual);
    int strideD = cairo_image_surface_get_stride(result.diff.get());
    for (int y = 0; y < height; ++y) {
        auto* rowA = reinterpret_cast<const uint32_t*>(a + y * strideA);
        auto* rowB = reinterpret_cast<const uint32_t*>(b + y * strideB);
        auto* rowD = reinterpret_cast<uint32_t*>(d + y * strideD);
        for (int x = 0; x < width; ++x) {
            int worst = 0;
            for (int shift : { 0, 8, 16, 24 })
                worst = std::max(worst, std::abs(channel(rowA[x], shift) - channel(rowB[x], shift)));
            result.largest = std::max(result.largest, worst);
            if (worst > channelTolerance) {
                ++result.differing;
                rowD[x] = 0xffff00ff;
            } else {
                // A quarter of the actual grey level over white, so that the differences stand out.
                int grey = (channel(rowB[x], 16) + channel(rowB[x], 8) + channel(rowB[x], 0)) / 3;
                uint32_t faded = uint32_t(255 - (255 - grey) / 4);
                rowD[x] = 0xff000000 | faded << 16 | faded << 8 | faded;
            }
        }
    }
    cairo_surface_mark_dirty(result.diff.get());
    return result;
}

CairoSurfacePtr readPNG(const std::string& path)
{
    // Cairo reports a missing file and a broken one alike; a missing one is told apart first.
    if (!std::ifstream(path))
        return nullptr;
    CairoSurfacePtr surface(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    if (cairo_image_surface_get_format(surface.get()) == CAIRO_FORMAT_ARGB32)
        return surface;
    // An opaque PNG loads as RGB24; drawn into ARGB32 its alpha is 255 as the renderer's is.
    int width = cairo_image_surface_get_width(surface.get()), height = cairo_image_surface_get_height(surface.get());
    CairoSurfacePtr converted(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    CairoContextPtr cr(cairo_create(converted.get()));
    cairo_set_source_surface(cr.get(), surface.get(), 0, 0);
    cairo_paint(cr.get());
    cairo_surface_flush(converted.get());
    return converted;
}

bool writePNG(cairo_surface_t* surface, const std::string& path)
{
    return surface && cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}
