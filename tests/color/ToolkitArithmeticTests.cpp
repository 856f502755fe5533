#include "ToolkitTestSupport.h"

#include "color/UIColorToolkit.h"

using namespace UIColor_Toolkit;

namespace {

std::vector<float> rgba(const UIColorRef& color)
{
    auto components = arrayFromRGBAComponents(color);
    return components ? *components : std::vector<float> {};
}

const UIColorRef kSample = UIColor::colorWithRed(0.2f, 0.4f, 0.6f, 0.8f);

} // namespace

TEST(ToolkitArithmetic, FourComponentFormsClampOnlyProductsAndSums)
{
    EXPECT_EQ(rgba(colorByMultiplyingByRed(kSample, 2, 3, -1, 0.5f)), (std::vector<float> {0.4f, 1, 0, 0.4f}));
    EXPECT_EQ(rgba(colorByAddingRed(kSample, 0.1f, 0.7f, -0.7f, 0)), (std::vector<float> {0.2f + 0.1f, 1, 0, 0.8f}));
    // Lightening and darkening pass the argument through unclamped.
    EXPECT_EQ(rgba(colorByLighteningToRed(kSample, 0.5f, 0.1f, 1.5f, 0)), (std::vector<float> {0.5f, 0.4f, 1.5f, 0.8f}));
    EXPECT_EQ(rgba(colorByDarkeningToRed(kSample, 0.1f, 0.5f, -0.5f, 1)), (std::vector<float> {0.1f, 0.4f, -0.5f, 0.8f}));
}

TEST(ToolkitArithmetic, SingleValueFormsKeepAlpha)
{
    EXPECT_EQ(rgba(colorByMultiplyingBy(kSample, 2)), (std::vector<float> {0.4f, 0.8f, 1, 0.8f}));
    EXPECT_EQ(rgba(colorByAdding(kSample, -1)), (std::vector<float> {0, 0, 0, 0.8f}));
    EXPECT_EQ(rgba(colorByLighteningTo(kSample, 0.5f)), (std::vector<float> {0.5f, 0.5f, 0.6f, 0.8f}));
    EXPECT_EQ(rgba(colorByDarkeningTo(kSample, 0.5f)), (std::vector<float> {0.2f, 0.4f, 0.5f, 0.8f}));
}

TEST(ToolkitArithmetic, ColourFormsUseTheOthersRGBAndKeepAlpha)
{
    auto other = UIColor::colorWithRed(0.5f, 2, 0.1f, 0.25f);
    EXPECT_EQ(rgba(colorByMultiplyingByColor(kSample, other)), (std::vector<float> {0.1f, 0.8f, 0.6f * 0.1f, 0.8f}));
    EXPECT_EQ(rgba(colorByAddingColor(kSample, other)), (std::vector<float> {0.2f + 0.5f, 1, 0.6f + 0.1f, 0.8f}));
    EXPECT_EQ(rgba(colorByLighteningToColor(kSample, other)), (std::vector<float> {0.5f, 2, 0.6f, 0.8f}));
    EXPECT_EQ(rgba(colorByDarkeningToColor(kSample, other)), (std::vector<float> {0.2f, 0.4f, 0.1f, 0.8f}));
    // A grey argument counts as three equal components.
    EXPECT_EQ(rgba(colorByMultiplyingByColor(kSample, UIColor::colorWithWhite(0.5f, 0))),
        (std::vector<float> {0.1f, 0.2f, 0.3f, 0.8f}));
}

TEST(ToolkitArithmetic, ArgumentWithoutRGBGivesNilReceiverWithoutRGBRaises)
{
    auto pattern = UIColor::groupTableViewBackgroundColor();
    EXPECT_FALSE(colorByAddingColor(kSample, pattern));
    EXPECT_FALSE(colorByAddingColor(kSample, nullptr));
    const std::string message = "Must be a RGB color to use arithmatic operations";
    EXPECT_EQ(toolkitFailure([&] { colorByAddingColor(pattern, kSample); }), message);
    EXPECT_EQ(toolkitFailure([&] { colorByMultiplyingBy(pattern, 2); }), message);
    EXPECT_EQ(toolkitFailure([&] { colorByDarkeningToRed(pattern, 0, 0, 0, 0); }), message);
    EXPECT_EQ(toolkitFailure([&] { colorByLuminanceMapping(pattern); }), message);
}

TEST(ToolkitArithmetic, LuminanceMappingGivesAGreyOfRec709Luma)
{
    auto grey = colorByLuminanceMapping(UIColor::colorWithRed(0, 1, 0, 1));
    EXPECT_EQ(colorSpaceModel(grey), kCGColorSpaceModelMonochrome);
    EXPECT_EQ(white(grey), 0.7152f);
    EXPECT_EQ(alpha(grey), 1);
    auto mixed = colorByLuminanceMapping(kSample);
    EXPECT_FLOAT_EQ(white(mixed), 0.2126f * 0.2f + 0.7152f * 0.4f + 0.0722f * 0.6f);
    EXPECT_EQ(alpha(mixed), 0.8f);
}
