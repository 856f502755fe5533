#include "graphics/CAGradientLayer.h"
#include "graphics/CGContext.h"
#include "graphics/CairoPtr.h"
#include "graphics/PixelProbe.h"

#include <gtest/gtest.h>

namespace {

// A white image surface and a painter over it; pixels are read back as RGBA 0..255.
struct Canvas {
    CairoSurfacePtr surface;
    CairoContextPtr cr;
    std::unique_ptr<Painter> painter;

    Canvas(int width, int height)
        : surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height))
        , cr(cairo_create(surface.get()))
        , painter(std::make_unique<Painter>(cr.get()))
    {
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
    }

    Pixel pixel(int x, int y) { return pixelAt(surface.get(), x, y); }
};

CGColorRef rgb(CGFloat r, CGFloat g, CGFloat b, CGFloat a = 1)
{
    CGFloat c[] = {r, g, b, a};
    return CGColorCreate(CGColorSpaceCreateDeviceRGB(), c);
}

} // namespace

TEST(Gradient, SpreadsStopsEvenlyAndRejectsBadInput)
{
    CGFloat components[] = {1, 0, 0, 1, 0, 0, 1, 1, 0, 1, 0, 1};
    CGGradientRef gradient = CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, nullptr, 3);
    ASSERT_NE(gradient, nullptr);
    ASSERT_EQ(gradient->stops().size(), 3u);
    EXPECT_FLOAT_EQ(gradient->stops()[1].location, 0.5f);
    EXPECT_FLOAT_EQ(gradient->stops()[1].color[2], 1);
    CGGradientRelease(gradient);

    EXPECT_EQ(CGGradientCreateWithColorComponents(nullptr, components, nullptr, 2), nullptr);
    EXPECT_EQ(CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, nullptr, 0), nullptr);
    CGGradientRelease(nullptr);
}

TEST(Context, LinearGradientInsideClipAndBalancedStates)
{
    Canvas canvas(100, 10);
    CGFloat components[] = {1, 0, 0, 1, 0, 0, 1, 1};
    CGGradientRef gradient = CGGradientCreateWithColorComponents(CGColorSpaceCreateDeviceRGB(), components, nullptr, 2);
    {
        CGContext context(*canvas.painter);
        CGContextSaveGState(&context);
        CGContextClipToRect(&context, CGRectMake(0, 0, 50, 10));
        CGContextDrawLinearGradient(&context, gradient, {0, 0}, {100, 0}, 0);
        CGContextRestoreGState(&context);
        CGContextRestoreGState(&context); // unpaired: ignored
        CGContextSetRGBFillColor(&context, 0, 1, 0, 1);
        CGContextFillRect(&context, CGRectMake(90, 0, 10, 10));
        CGContextSaveGState(&context); // left open: restored with the context
        CGContextClipToRect(&context, CGRectMake(0, 0, 1, 1));
    }
    CGGradientRelease(gradient);
    auto left = canvas.pixel(1, 5);
    EXPECT_GT(left[0], 240);
    EXPECT_LT(left[2], 15);
    auto middle = canvas.pixel(45, 5);
    EXPECT_GT(middle[2], 90);
    EXPECT_EQ(canvas.pixel(60, 5), kWhite); // outside the clip
    EXPECT_EQ(canvas.pixel(95, 5), (Pixel {0, 255, 0, 255}));
    // The painter's state is back where it began.
    cairo_set_source_rgb(canvas.cr.get(), 0, 0, 0);
    cairo_paint(canvas.cr.get());
    EXPECT_EQ(canvas.pixel(80, 5), kBlack);
}

TEST(Layer, SublayerOrderAndOwnership)
{
    CALayerRef root = CALayer::layer();
    CALayerRef a = CALayer::layer(), b = CALayer::layer(), c = CALayer::layer();
    root->addSublayer(a);
    root->addSublayer(b);
    root->insertSublayer(c, 0);
    EXPECT_EQ(root->sublayers(), (std::vector<CALayerRef> {c, a, b}));
    root->insertSublayer(b, 0); // moves, never duplicates
    EXPECT_EQ(root->sublayers(), (std::vector<CALayerRef> {b, c, a}));
    root->insertSublayer(a, 99);
    EXPECT_EQ(root->sublayers().back(), a);
    CALayerRef other = CALayer::layer();
    other->addSublayer(c);
    EXPECT_EQ(root->sublayers().size(), 2u);
    EXPECT_EQ(c->superlayer(), other);
    root->setSublayers({a, a});
    EXPECT_EQ(root->sublayers(), (std::vector<CALayerRef> {a}));
    EXPECT_EQ(b->superlayer(), nullptr);
    a->removeFromSuperlayer();
    EXPECT_TRUE(root->sublayers().empty());
}

TEST(Layer, RendersGradientBorderAndRoundedMask)
{
    Canvas canvas(40, 40);
    CALayerRef root = CALayer::layer();
    root->setFrame(CGRectMake(0, 0, 40, 40));
    root->setBackgroundColor(rgb(0, 0, 1));
    root->setCornerRadius(15);
    root->setMasksToBounds(true);
    CAGradientLayerRef gradient = CAGradientLayer::layer();
    gradient->setFrame(CGRectMake(0, 20, 40, 20));
    gradient->setColors({rgb(1, 0, 0), rgb(0, 1, 0)});
    gradient->setStartPoint({0, 0.5f});
    gradient->setEndPoint({1, 0.5f});
    root->addSublayer(gradient);
    CALayerRef bordered = CALayer::layer();
    bordered->setFrame(CGRectMake(10, 5, 20, 10));
    bordered->setBorderColor(rgb(0, 0, 0));
    bordered->setBorderWidth(1);
    root->addSublayer(bordered);
    root->render(*canvas.painter);

    EXPECT_EQ(canvas.pixel(0, 0), kWhite); // clipped corner
    EXPECT_EQ(canvas.pixel(20, 2), (Pixel {0, 0, 255, 255}));
    auto leftOfGradient = canvas.pixel(6, 30);
    EXPECT_GT(leftOfGradient[0], leftOfGradient[1]);
    auto rightOfGradient = canvas.pixel(33, 30);
    EXPECT_GT(rightOfGradient[1], rightOfGradient[0]);
    EXPECT_EQ(canvas.pixel(10, 10), kBlack); // border
    EXPECT_EQ(canvas.pixel(20, 10), (Pixel {0, 0, 255, 255})); // inside the border
}
