#include "graphics/PixelProbe.h"
#include "TestDevice.h"
#include "ui/UIImageView.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

namespace {

// A w x h image: a red frame one pixel wide around a blue middle.
void writeFramedPng(const std::string& path, int w, int h)
{
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
    CairoContextPtr cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 1, 0, 0);
    cairo_paint(cr.get());
    cairo_set_source_rgb(cr.get(), 0, 0, 1);
    cairo_rectangle(cr.get(), 1, 1, w - 2, h - 2);
    cairo_fill(cr.get());
    ASSERT_EQ(cairo_surface_write_to_png(surface.get(), path.c_str()), CAIRO_STATUS_SUCCESS);
}

} // namespace

TEST(ImageLoading, PngsOnlyRegularFilesAndTheDoubleSizeFile)
{
    TestDevice device;
    writeFramedPng(device.hostPath("/Library/art/frame.png"), 6, 4);
    UIImageRef image = UIImage::imageWithContentsOfFile("/Library/art/frame.png");
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->size(), (CGSize {6, 4}));
    EXPECT_FLOAT_EQ(image->scale(), 1);

    writeFramedPng(device.hostPath("/Library/art/frame@2x.png"), 12, 8);
    UIImageRef sharp = UIImage::imageWithContentsOfFile("/Library/art/frame.png");
    ASSERT_NE(sharp, nullptr);
    EXPECT_FLOAT_EQ(sharp->scale(), 2);
    EXPECT_EQ(sharp->size(), (CGSize {6, 4}));

    EXPECT_EQ(UIImage::imageWithContentsOfFile("/Library/art/missing.png"), nullptr);
    EXPECT_EQ(UIImage::imageWithContentsOfFile(""), nullptr);
    std::ofstream(device.hostPath("/Library/art/text.png")) << "not an image at all, but long enough to read";
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/Library/art/text.png"), nullptr);
    // A PNG signature over a broken body.
    static const char broken[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10garbagegarbage";
    std::ofstream(device.hostPath("/Library/art/broken.png"), std::ios::binary)
        << std::string(broken, sizeof broken - 1);
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/Library/art/broken.png"), nullptr);
    // A FIFO would block a reader for ever; it is refused without opening it for a read.
    std::string fifo = device.hostPath("/Library/art/fifo.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/Library/art/fifo.png"), nullptr);
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/Library/art"), nullptr); // a directory
}

TEST(ImageLoading, RefusesImagesBeyondThePixelBudget)
{
    TestDevice device;
    std::string path = device.hostPath("/big.png");
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_A8, 4097, 1));
    ASSERT_EQ(cairo_surface_write_to_png(surface.get(), path.c_str()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(UIImage::imageWithContentsOfFile("/big.png"), nullptr);
}

TEST(StretchableImage, KeepsItsCapsAndStretchesTheMiddle)
{
    TestDevice device;
    writeFramedPng(device.hostPath("/frame.png"), 6, 4);
    UIImageRef image = UIImage::imageWithContentsOfFile("/frame.png");
    ASSERT_NE(image, nullptr);
    UIImageRef stretchable = image->stretchableImageWithLeftCapWidth(3, 2);
    EXPECT_EQ(stretchable->leftCapWidth(), 3);
    EXPECT_EQ(stretchable->topCapHeight(), 2);
    EXPECT_EQ(image->leftCapWidth(), 0);

    auto view = std::make_shared<UIImageView>(stretchable);
    EXPECT_EQ(view->frame(), CGRectMake(0, 0, 6, 4)); // sized to the image
    view->setFrame(CGRectMake(0, 0, 60, 40));
    CairoSurfacePtr shot = UIRenderView(*view, 1);
    ASSERT_NE(shot, nullptr);
    // The one-pixel red frame stays one pixel wide on every side.
    EXPECT_EQ(pixelAt(shot.get(), 0, 20), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 59, 20), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 30, 0), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 30, 39), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 1, 20), (Pixel {0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 58, 1), (Pixel {0, 0, 255, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 30, 20), (Pixel {0, 0, 255, 255}));

    // Without caps the whole image scales: the frame grows ten times as wide.
    view->setImage(image);
    shot = UIRenderView(*view, 1);
    EXPECT_EQ(pixelAt(shot.get(), 3, 20), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 30, 20), (Pixel {0, 0, 255, 255}));
}
