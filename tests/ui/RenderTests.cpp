#include "corefoundation/CFRunLoop.h"
#include "graphics/CAGradientLayer.h"
#include "graphics/PixelProbe.h"
#include "ui/UIButton.h"
#include "ui/UIGraphics.h"
#include "ui/UILabel.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// Counts the pixels of `surface` inside a rectangle that are close to `color`.
int countNear(cairo_surface_t* surface, int x0, int y0, int w, int h, Pixel color)
{
    int count = 0;
    for (int y = y0; y < y0 + h; ++y) {
        for (int x = x0; x < x0 + w; ++x) {
            Pixel p = pixelAt(surface, x, y);
            if (std::abs(p[0] - color[0]) < 40 && std::abs(p[1] - color[1]) < 40 && std::abs(p[2] - color[2]) < 40)
                ++count;
        }
    }
    return count;
}

} // namespace

TEST(Rendering, WindowToPngAtTwiceTheScale)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 40, 30));
    auto red = std::make_shared<UIView>(CGRectMake(10, 10, 10, 5));
    red->setBackgroundColor(UIColor::redColor());
    window->addSubview(red);
    auto faded = std::make_shared<UIView>(CGRectMake(30, 0, 10, 10));
    faded->setBackgroundColor(UIColor::blackColor());
    faded->setAlpha(0.5f);
    window->addSubview(faded);
    auto hidden = std::make_shared<UIView>(CGRectMake(0, 0, 5, 5));
    hidden->setBackgroundColor(UIColor::blackColor());
    hidden->setHidden(true);
    window->addSubview(hidden);

    std::string path = (std::filesystem::temp_directory_path() / "rvx-render-test.png").string();
    ASSERT_TRUE(window->writePNG(path));
    CairoSurfacePtr png(cairo_image_surface_create_from_png(path.c_str()));
    std::filesystem::remove(path);
    ASSERT_EQ(cairo_surface_status(png.get()), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(png.get()), 80);
    EXPECT_EQ(pixelAt(png.get(), 20, 20), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(png.get(), 39, 29), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(png.get(), 40, 20), kWhite);
    EXPECT_EQ(pixelAt(png.get(), 2, 2), kWhite);
    Pixel grey = pixelAt(png.get(), 70, 10);
    EXPECT_NEAR(grey[0], 128, 2);
    EXPECT_FALSE(window->writePNG("/nonexistent-dir/x.png"));
}

TEST(Rendering, LabelTextInItsColourAlignedAsAsked)
{
    auto label = std::make_shared<UILabel>(CGRectMake(0, 0, 200, 30));
    label->setText("HHHH");
    label->setTextColor(UIColor::redColor());
    label->setFont(UIFont::fontWithName("Helvetica-Bold", 20));
    CairoSurfacePtr shot = UIRenderView(*label, 1);
    Pixel red {255, 0, 0, 255};
    EXPECT_GT(countNear(shot.get(), 0, 0, 100, 30, red), 40);
    EXPECT_EQ(countNear(shot.get(), 100, 0, 100, 30, red), 0);
    EXPECT_EQ(pixelAt(shot.get(), 150, 2), kWhite); // labels are opaque white by default

    label->setTextAlignment(UITextAlignmentRight);
    shot = UIRenderView(*label, 1);
    EXPECT_EQ(countNear(shot.get(), 0, 0, 100, 30, red), 0);
    EXPECT_GT(countNear(shot.get(), 100, 0, 100, 30, red), 40);
}

TEST(Rendering, RoundedCornersClipWhenMasking)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 40, 40));
    auto card = std::make_shared<UIView>(CGRectMake(0, 0, 40, 40));
    card->setBackgroundColor(UIColor::blueColor());
    card->layer()->setCornerRadius(12);
    card->layer()->setMasksToBounds(true);
    auto child = std::make_shared<UIView>(CGRectMake(0, 0, 40, 40));
    child->setBackgroundColor(UIColor::redColor());
    child->setFrame(CGRectMake(0, 0, 20, 20));
    card->addSubview(child);
    window->addSubview(card);
    CairoSurfacePtr shot = window->renderImage(1);
    EXPECT_EQ(pixelAt(shot.get(), 0, 0), kWhite); // the child is clipped by the corner
    EXPECT_EQ(pixelAt(shot.get(), 10, 10), (Pixel {255, 0, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 39, 39), kWhite);
    EXPECT_EQ(pixelAt(shot.get(), 30, 30), (Pixel {0, 0, 255, 255}));
}

TEST(Rendering, CustomDrawingGradientLayersAndMidAnimationFrames)
{
    struct Striped : UIView {
        void drawRect(CGRect) override
        {
            CGContextRef context = UIGraphicsGetCurrentContext();
            CGContextSetRGBFillColor(context, 0, 1, 0, 1);
            CGContextFillRect(context, CGRectMake(0, 0, 5, 10));
        }
    };
    auto clock = RunLoop::main().installVirtualClock(0);
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 40, 10));
    auto striped = std::make_shared<Striped>();
    striped->setFrame(CGRectMake(0, 0, 10, 10));
    window->addSubview(striped);
    auto gradient = CAGradientLayer::layer();
    gradient->setFrame(CGRectMake(0, 0, 10, 10));
    gradient->setColors({UIColor::blackColor()->CGColor(), UIColor::blackColor()->CGColor()});
    auto shaded = std::make_shared<UIView>(CGRectMake(20, 0, 10, 10));
    shaded->layer()->addSublayer(gradient);
    window->addSubview(shaded);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);

    shaded->setAlpha(0);
    UIView::animateWithDuration(1, [&] { shaded->setAlpha(1); });
    clock->advance(0.5);
    CairoSurfacePtr shot = window->renderImage(1);
    EXPECT_EQ(pixelAt(shot.get(), 2, 5), (Pixel {0, 255, 0, 255}));
    EXPECT_EQ(pixelAt(shot.get(), 7, 5), kWhite);
    EXPECT_NEAR(pixelAt(shot.get(), 25, 5)[0], 128, 3); // half-way through the fade
    clock->advance(0.5);
    shot = window->renderImage(1);
    EXPECT_EQ(pixelAt(shot.get(), 25, 5), kBlack);
    RunLoop::main().installSystemClock();
}

TEST(Dump, DescribesEachKindOfView)
{
    auto root = std::make_shared<UIView>(CGRectMake(0, 0, 316, 35));
    root->setTag(7);
    auto bar = UIButton::buttonWithType(0);
    bar->setTitle("Tap to close all Apps", UIControlStateNormal);
    bar->setShowsTouchWhenHighlighted(true);
    root->addSubview(bar);
    std::string json = root->dump();
    EXPECT_NE(json.find("\"class\":\"UIView\""), std::string::npos);
    EXPECT_NE(json.find("\"tag\":7"), std::string::npos);
    EXPECT_NE(json.find("\"frame\":[0,0,316,35]"), std::string::npos);
    EXPECT_NE(json.find("\"subviews\":[{\"class\":\"UIButton\""), std::string::npos);
    EXPECT_NE(json.find("\"title\":\"Tap to close all Apps\""), std::string::npos);
    EXPECT_NE(json.find("\"glow\":true"), std::string::npos);
    EXPECT_NE(json.find("\"titleColor\":[1,1,1,1]"), std::string::npos);

    auto label = std::make_shared<UILabel>();
    label->setText("say \"hi\"\n");
    EXPECT_NE(label->dump().find("\"text\":\"say \\\"hi\\\"\\n\""), std::string::npos);
}
