// The comparison the golden images rest on: the tolerance holds per channel, the bound on
// pixels counts only those beyond it, and a size change is never a match.

#include "ImageCompare.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

CairoSurfacePtr filled(int width, int height, double grey)
{
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    CairoContextPtr cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), grey, grey, grey);
    cairo_paint(cr.get());
    cairo_surface_flush(surface.get());
    return surface;
}

void setPixel(cairo_surface_t* surface, int x, int y, uint32_t argb)
{
    cairo_surface_flush(surface);
    auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface));
    row[x] = argb;
    cairo_surface_mark_dirty(surface);
}

TEST(ImageCompare, CountsOnlyPixelsBeyondTheToleranceOfOneChannel)
{
    CairoSurfacePtr expected = filled(4, 3, 0.5);
    CairoSurfacePtr actual = filled(4, 3, 0.5);
    EXPECT_EQ(compareImages(expected.get(), actual.get(), 0).differing, 0);

    setPixel(actual.get(), 0, 0, 0xff808088); // blue off by 8: within a tolerance of 8
    setPixel(actual.get(), 3, 2, 0xff80a080); // green off by 32
    ImageDifference difference = compareImages(expected.get(), actual.get(), 8);
    EXPECT_TRUE(difference.sameSize);
    EXPECT_EQ(difference.differing, 1);
    EXPECT_EQ(difference.largest, 32);
    ASSERT_TRUE(difference.diff);
    auto* last = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(difference.diff.get())
        + 2 * cairo_image_surface_get_stride(difference.diff.get()));
    EXPECT_EQ(last[3], 0xffff00ffu); // the differing pixel shows in magenta
    EXPECT_NE(last[2], 0xffff00ffu);

    EXPECT_EQ(compareImages(expected.get(), actual.get(), 7).differing, 2);
}

TEST(ImageCompare, ASizeChangeNeverMatchesAndAMissingFileReadsAsNothing)
{
    CairoSurfacePtr expected = filled(4, 3, 0.5);
    CairoSurfacePtr actual = filled(4, 4, 0.5);
    ImageDifference difference = compareImages(expected.get(), actual.get(), 255);
    EXPECT_FALSE(difference.sameSize);
    EXPECT_EQ(difference.differing, 16);
    EXPECT_FALSE(readPNG("/nonexistent/picture.png"));
}

} // namespace
