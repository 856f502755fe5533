#include "PickerTestSupport.h"

#include "color/GradientAlpha.h"
#include "color/GradientView.h"
#include "graphics/CAGradientLayer.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

namespace {

RGBA stopColor(const GradientView& view, size_t index) { return view.gradient()->stops().at(index).color; }

std::vector<RGBA> layerColors(const GradientAlpha& view)
{
    std::vector<RGBA> colors;
    auto fade = std::dynamic_pointer_cast<CAGradientLayer>(view.layer()->sublayers().at(0));
    for (const CGColorRef& color : fade->colors())
        colors.push_back(color->paint());
    return colors;
}

void expectRGBA(RGBA actual, RGBA expected)
{
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-5f) << "component " << i;
}

} // namespace

TEST(GradientView, FadesFromFullBrightnessToBlackWhateverTheColoursBrightness)
{
    auto bar = std::make_shared<GradientView>(CGRectMake(10, 323, 300, 40));
    EXPECT_EQ(bar->gradient(), nullptr);

    bar->setTheColor(UIColor::colorWithHue(0, 1, 0.2f, 0.3f));
    EXPECT_EQ(bar->gradient(), nullptr) << "setting the colour does not rebuild";
    bar->setupGradient();
    ASSERT_NE(bar->gradient(), nullptr);
    ASSERT_EQ(bar->gradient()->stops().size(), 2u);
    EXPECT_EQ(bar->gradient()->stops()[0].location, 0);
    EXPECT_EQ(bar->gradient()->stops()[1].location, 1);
    expectRGBA(stopColor(*bar, 0), {1, 0, 0, 1});
    expectRGBA(stopColor(*bar, 1), {0, 0, 0, 1});

    bar->setTheColor(UIColor::whiteColor());
    bar->setupGradient();
    expectRGBA(stopColor(*bar, 0), {1, 1, 1, 1});

    bar->setTheColor(nullptr);
    bar->setupGradient();
    {
        SCOPED_TRACE("no colour reads as hue and saturation 0");
        expectRGBA(stopColor(*bar, 0), {1, 1, 1, 1});
    }
}

TEST(GradientView, EachSetupReplacesTheOneGradient)
{
    auto bar = std::make_shared<GradientView>(CGRectMake(0, 0, 300, 40));
    // Each setup fades from the colour set just before it; the sanitizer build reports an
    // earlier gradient that is not released.
    const std::pair<float, RGBA> hues[] = {
        { 0, { 1, 0, 0, 1 } }, { 1.0f / 3, { 0, 1, 0, 1 } }, { 2.0f / 3, { 0, 0, 1, 1 } }, { 0, { 1, 0, 0, 1 } },
    };
    for (auto [hue, top] : hues) {
        SCOPED_TRACE(hue);
        bar->setTheColor(UIColor::colorWithHue(hue, 1, 0.5f, 1));
        bar->setupGradient();
        bar->setupGradient(); // twice over one colour: still the one fade
        ASSERT_NE(bar->gradient(), nullptr);
        ASSERT_EQ(bar->gradient()->stops().size(), 2u);
        expectRGBA(stopColor(*bar, 0), top);
        expectRGBA(stopColor(*bar, 1), { 0, 0, 0, 1 });
    }
}

TEST(GradientView, DrawsTheFadeInFixedUnitsOfThreeHundredPoints)
{
    auto bar = std::make_shared<GradientView>(CGRectMake(0, 0, 300, 40));
    bar->setTheColor(UIColor::colorWithHue(0, 1, 0.2f, 1));
    CairoSurfacePtr blank = UIRenderView(*bar, 1);
    EXPECT_EQ(pixelAt(blank.get(), 150, 20)[3], 0) << "nothing is drawn before the first setup";

    bar->setupGradient();
    CairoSurfacePtr image = UIRenderView(*bar, 1);
    for (int y : {0, 20, 39}) {
        EXPECT_TRUE(near(pixelAt(image.get(), 0, y), {1, 0, 0, 1}, 3)) << pixelAt(image.get(), 0, y);
        EXPECT_TRUE(near(pixelAt(image.get(), 150, y), {0.5f, 0, 0, 1}, 3)) << pixelAt(image.get(), 150, y);
        EXPECT_TRUE(near(pixelAt(image.get(), 299, y), {0, 0, 0, 1}, 3)) << pixelAt(image.get(), 299, y);
    }

    // A narrower bar shows only the first part of the same fade.
    bar->setFrame(CGRectMake(0, 0, 150, 40));
    CairoSurfacePtr half = UIRenderView(*bar, 1);
    EXPECT_TRUE(near(pixelAt(half.get(), 149, 20), {0.5f, 0, 0, 1}, 4)) << pixelAt(half.get(), 149, 20);
}

TEST(GradientAlpha, KeepsExactlyOneGradientLayer)
{
    auto bar = std::make_shared<GradientAlpha>(CGRectMake(10, 370, 300, 40));
    bar->layer()->addSublayer(CALayer::layer());
    bar->setTheColor(UIColor::colorWithHue(0, 1, 0.2f, 0.5f));
    for (int i = 0; i < 3; ++i)
        bar->setupAlpha();
    ASSERT_EQ(bar->layer()->sublayers().size(), 1u);
    auto fade = std::dynamic_pointer_cast<CAGradientLayer>(bar->layer()->sublayers()[0]);
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->frame(), CGRectMake(0, 0, 300, 40));
    EXPECT_EQ(fade->startPoint(), (CGPoint {0, 0.5f}));
    EXPECT_EQ(fade->endPoint(), (CGPoint {1, 0.5f}));
    EXPECT_TRUE(fade->locations().empty());

    std::vector<RGBA> colors = layerColors(*bar);
    ASSERT_EQ(colors.size(), 2u);
    expectRGBA(colors[0], {0.2f, 0, 0, 1}); // the colour's own brightness, made opaque
    expectRGBA(colors[1], {1, 1, 1, 0});
}

TEST(GradientAlpha, FadesToTransparentWhite)
{
    auto bar = std::make_shared<GradientAlpha>(CGRectMake(0, 0, 300, 40));
    bar->setupAlpha();
    {
        SCOPED_TRACE("no colour is opaque black");
        expectRGBA(layerColors(*bar)[0], {0, 0, 0, 1});
    }

    bar->setTheColor(UIColor::whiteColor());
    bar->setupAlpha();
    expectRGBA(layerColors(*bar)[0], {1, 1, 1, 1});

    bar->setTheColor(UIColor::colorWithHue(0, 1, 0.2f, 1));
    bar->setupAlpha();
    CairoSurfacePtr image = UIRenderView(*bar, 1);
    EXPECT_TRUE(near(pixelAt(image.get(), 0, 20), {0.2f, 0, 0, 1}, 3)) << pixelAt(image.get(), 0, 20);
    EXPECT_LE(pixelAt(image.get(), 299, 20)[3], 3);
    Pixel middle = pixelAt(image.get(), 150, 20);
    EXPECT_NEAR(middle[3], 128, 4);
    EXPECT_GT(middle[1], 40) << "the fade pales toward white as it clears: " << middle;
}

TEST(GradientPoints, LieOnTheLeftEdge)
{
    CGRect rect = CGRectMake(10, 20, 100, 40);
    EXPECT_EQ(demoLGStar(rect), (CGPoint {10, 30}));
    EXPECT_EQ(deoLGStart(rect), (CGPoint {10, 30}));
    EXPECT_EQ(demoLGEn(rect), (CGPoint {10, 50}));
    EXPECT_EQ(demoLGEnd(rect), (CGPoint {10, 50}));
    EXPECT_EQ(demoLGEnd(CGRectMake(-4, 0.5f, 3, -2)), (CGPoint {-4, -1}));
}
