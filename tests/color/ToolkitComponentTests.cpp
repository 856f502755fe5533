#include "ToolkitTestSupport.h"

#include "color/UIColorToolkit.h"

#include <cmath>

using namespace UIColor_Toolkit;

namespace {

UIColorRef colorInSpace(CGColorSpaceModel model, std::vector<CGFloat> components)
{
    return UIColor::colorWithCGColor(std::make_shared<CGColor>(std::make_shared<CGColorSpace>(model), std::move(components)));
}

} // namespace

TEST(ToolkitComponents, ModelNamesCoverEveryModelAndRejectOthers)
{
    EXPECT_EQ(colorSpaceString(UIColor::whiteColor()), "kCGColorSpaceModelMonochrome");
    EXPECT_EQ(colorSpaceString(UIColor::redColor()), "kCGColorSpaceModelRGB");
    EXPECT_EQ(colorSpaceString(UIColor::groupTableViewBackgroundColor()), "kCGColorSpaceModelPattern");
    EXPECT_EQ(colorSpaceString(colorInSpace(kCGColorSpaceModelUnknown, {1})), "kCGColorSpaceModelUnknown");
    EXPECT_EQ(colorSpaceString(colorInSpace(kCGColorSpaceModelCMYK, {0, 0, 0, 0, 1})), "kCGColorSpaceModelCMYK");
    EXPECT_EQ(colorSpaceString(colorInSpace(kCGColorSpaceModelIndexed, {1})), "kCGColorSpaceModelIndexed");
    EXPECT_EQ(colorSpaceString(colorInSpace(CGColorSpaceModel(7), {1})), "Not a valid color space");
    EXPECT_EQ(colorSpaceString(colorInSpace(CGColorSpaceModel(-2), {1})), "Not a valid color space");
}

TEST(ToolkitComponents, OnlyGreyAndRGBGiveRGBComponents)
{
    EXPECT_TRUE(canProvideRGBComponents(UIColor::whiteColor()));
    EXPECT_TRUE(canProvideRGBComponents(UIColor::redColor()));
    EXPECT_FALSE(canProvideRGBComponents(colorInSpace(kCGColorSpaceModelUnknown, {1})));
    EXPECT_FALSE(canProvideRGBComponents(colorInSpace(kCGColorSpaceModelCMYK, {0, 0, 0, 0, 1})));
    EXPECT_FALSE(canProvideRGBComponents(UIColor::groupTableViewBackgroundColor()));
}

TEST(ToolkitComponents, GreyReadsAsThreeEqualComponents)
{
    auto grey = UIColor::colorWithWhite(0.25f, 0.5f);
    float r = -1, g = -1, b = -1, a = -1;
    ASSERT_TRUE(red(grey, &r, &g, &b, &a));
    EXPECT_EQ((std::vector<float> {r, g, b, a}), (std::vector<float> {0.25f, 0.25f, 0.25f, 0.5f}));
    EXPECT_EQ(red(grey), 0.25f);
    EXPECT_EQ(green(grey), 0.25f);
    EXPECT_EQ(blue(grey), 0.25f);
    EXPECT_EQ(white(grey), 0.25f);
    EXPECT_EQ(alpha(grey), 0.5f);

    auto rgb = UIColor::colorWithRed(0.1f, 0.2f, 0.3f, 0.4f);
    EXPECT_EQ(*arrayFromRGBAComponents(rgb), (std::vector<float> {0.1f, 0.2f, 0.3f, 0.4f}));
    // Null out-pointers are skipped.
    EXPECT_TRUE(red(rgb, nullptr, &g, nullptr, nullptr));
    EXPECT_EQ(g, 0.2f);
}

TEST(ToolkitComponents, OtherModelsWriteNothing)
{
    float r = 7;
    EXPECT_FALSE(red(UIColor::groupTableViewBackgroundColor(), &r, nullptr, nullptr, nullptr));
    EXPECT_EQ(r, 7);
    // Alpha has no precondition.
    EXPECT_EQ(alpha(UIColor::groupTableViewBackgroundColor()), 1);
}

TEST(ToolkitComponents, BrokenPreconditionsRaiseWithTheirMessages)
{
    auto pattern = UIColor::groupTableViewBackgroundColor();
    EXPECT_EQ(toolkitFailure([&] { red(pattern); }), "Must be an RGB color to use -red");
    EXPECT_EQ(toolkitFailure([&] { green(pattern); }), "Must be an RGB color to use -green");
    EXPECT_EQ(toolkitFailure([&] { blue(pattern); }), "Must be an RGB color to use -blue");
    EXPECT_EQ(toolkitFailure([&] { white(UIColor::redColor()); }), "Must be a Monochrome color to use -white");
    EXPECT_EQ(toolkitFailure([&] { arrayFromRGBAComponents(pattern); }),
        "Must be an RGB color to use -arrayFromRGBAComponents");
    EXPECT_EQ(toolkitFailure([&] { rgbHex(pattern); }), "Must be a RGB color to use rgbHex");
    EXPECT_EQ(toolkitFailure([&] { hexStringFromColor(pattern); }), "Must be a RGB color to use rgbHex");
    EXPECT_EQ(toolkitFailure([&] { stringFromColor(pattern); }), "Must be an RGB color to use -stringFromColor");
}

TEST(ToolkitComponents, FailureNamesTheOperationAndTheReceiver)
{
    auto pattern = UIColor::groupTableViewBackgroundColor();
    try {
        red(pattern);
        FAIL() << "red of a pattern colour did not raise";
    } catch (const NSInternalInconsistencyException& failure) {
        EXPECT_NE(failure.method().find("red"), std::string::npos);
        EXPECT_NE(failure.objectDescription().find("UIColor"), std::string::npos);
        EXPECT_GT(failure.line(), 0);
    }
}

TEST(ToolkitComponents, NilAnswersNothing)
{
    UIColorRef nil;
    EXPECT_FALSE(canProvideRGBComponents(nil));
    EXPECT_FALSE(red(nil, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(red(nil), 0);
    EXPECT_EQ(rgbHex(nil), 0u);
    EXPECT_FALSE(arrayFromRGBAComponents(nil));
    EXPECT_FALSE(stringFromColor(nil));
    EXPECT_FALSE(colorByMultiplyingBy(nil, 2));
}

TEST(ToolkitComponents, ColourWithTooFewComponentsReadsZeroes)
{
    auto shortRGB = colorInSpace(kCGColorSpaceModelRGB, {0.5f});
    EXPECT_EQ(*arrayFromRGBAComponents(shortRGB), (std::vector<float> {0.5f, 0, 0, 0}));
}

TEST(ToolkitPacked, WhiteGreyPacksAsFullWhite)
{
    auto white = UIColor::colorWithWhite(1, 1);
    EXPECT_EQ(rgbHex(white), 0xFFFFFFu);
    EXPECT_EQ(hexStringFromColor(white), "FFFFFF");
    EXPECT_EQ(hexStringFromColor(UIColor::blueColor()), "0000FF");
    EXPECT_EQ(hexStringFromColor(UIColor::colorWithRed(0, 0, 0x0A / 255.0f, 1)), "00000A");
}

TEST(ToolkitPacked, RoundsHalfUpAndClampsOutOfRange)
{
    EXPECT_EQ(rgbHex(UIColor::colorWithRed(0.5f, 0, 0, 1)), 0x800000u);
    EXPECT_EQ(rgbHex(UIColor::colorWithRed(0.498f, 0, 0, 1)), 0x7F0000u);
    EXPECT_EQ(rgbHex(UIColor::colorWithRed(1.7f, -0.3f, 2, 1)), 0xFF00FFu);
    EXPECT_EQ(rgbHex(UIColor::colorWithRed(std::nanf(""), 0, 0, 1)), 0u);
}

TEST(ToolkitPacked, PackedNumberRoundTripsAndIgnoresHighByte)
{
    for (uint32_t hex : {0x000000u, 0x123456u, 0xABCDEFu, 0xFFFFFFu, 0x010203u})
        EXPECT_EQ(rgbHex(colorWithRGBHex(hex)), hex);
    EXPECT_EQ(rgbHex(colorWithRGBHex(0xFF336699u)), 0x336699u);
    EXPECT_EQ(alpha(colorWithRGBHex(0)), 1);
}

TEST(ToolkitPacked, RandomColourIsOpaqueAndFollowsRandomDraws)
{
    srandom(42);
    float expected[3];
    for (float& e : expected)
        e = float(double(random()) / 2147483648.0);
    srandom(42);
    auto color = randomColor();
    EXPECT_EQ(*arrayFromRGBAComponents(color), (std::vector<float> {expected[0], expected[1], expected[2], 1}));
    for (int i = 0; i < 200; ++i) {
        auto c = *arrayFromRGBAComponents(randomColor());
        for (int k = 0; k < 3; ++k) {
            EXPECT_GE(c[k], 0);
            EXPECT_LT(c[k], 1);
        }
    }
}
