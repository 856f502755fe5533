#include "ToolkitTestSupport.h"

#include "color/UIColorToolkit.h"

#include <clocale>

using namespace UIColor_Toolkit;

namespace {

std::vector<float> rgba(const UIColorRef& color)
{
    auto components = arrayFromRGBAComponents(color);
    return components ? *components : std::vector<float> {};
}

} // namespace

TEST(ToolkitBraceText, WritesThreeDecimalsPerComponent)
{
    EXPECT_EQ(stringFromColor(UIColor::colorWithWhite(1, 1)), "{1.000, 1.000}");
    EXPECT_EQ(stringFromColor(UIColor::colorWithRed(1, 0.5f, 0.25f, 0.0625f)), "{1.000, 0.500, 0.250, 0.062}");
    EXPECT_EQ(stringFromColor(UIColor::colorWithRed(-0.5f, 1.5f, 0, 1)), "{-0.500, 1.500, 0.000, 1.000}");
}

TEST(ToolkitBraceText, ReadsGreyAndRGBWithAnyWhiteSpace)
{
    auto grey = colorWithString(" \t{ 0.5 ,\n0.25  }\r\n ");
    ASSERT_TRUE(grey);
    EXPECT_EQ(colorSpaceModel(grey), kCGColorSpaceModelMonochrome);
    EXPECT_EQ(rgba(grey), (std::vector<float> {0.5f, 0.5f, 0.5f, 0.25f}));

    auto red = colorWithString("{1, 0, 0, 1}");
    ASSERT_TRUE(red);
    EXPECT_EQ(colorSpaceModel(red), kCGColorSpaceModelRGB);
    EXPECT_EQ(rgba(red), (std::vector<float> {1, 0, 0, 1}));

    EXPECT_EQ(rgba(colorWithString("{-1.5e-1,+2.,.5,1E0}")), (std::vector<float> {-0.15f, 2, 0.5f, 1}));
}

TEST(ToolkitBraceText, RejectsWrongCountsAndStrayText)
{
    for (const char* text : {"{0.5}", "{1, 0, 0}", "{1, 0, 0, 1, 1}", "{1, 0, 0, 1} x", "{1, 0}}", "1, 0, 0, 1}",
             "{1 0}", "{1, 0", "{1,, 0}", "{}", "", "{ , 1}", "{1, 0, 0, 1,}", "{0,5, 1}", "{nan, 1}",
             "{0x1, 1}", "{1, 0};"})
        EXPECT_FALSE(colorWithString(text)) << text;
}

TEST(ToolkitBraceText, RoundTripsToThreeDecimals)
{
    for (auto color : {UIColor::colorWithRed(0.123f, 0.456f, 0.789f, 0.5f), UIColor::colorWithWhite(0.333f, 1),
             UIColor::colorWithRed(0, 1, 0.5f, 0), UIColor::colorWithRed(1.25f, -0.125f, 0.999f, 1)}) {
        auto text = stringFromColor(color);
        ASSERT_TRUE(text);
        auto back = colorWithString(*text);
        ASSERT_TRUE(back) << *text;
        EXPECT_EQ(colorSpaceModel(back), colorSpaceModel(color));
        auto expected = rgba(color), actual = rgba(back);
        for (size_t i = 0; i < 4; ++i)
            EXPECT_NEAR(actual[i], expected[i], 0.0005) << *text;
        EXPECT_EQ(stringFromColor(back), text);
    }
}

TEST(ToolkitBraceText, FullStopIsTheSeparatorUnderACommaLocale)
{
    const char* saved = std::setlocale(LC_NUMERIC, nullptr);
    std::string previous = saved ? saved : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    auto grey = colorWithString("{0.5, 0.25}");
    auto text = stringFromColor(UIColor::colorWithWhite(0.5f, 0.25f));
    auto hex = colorWithHexString("ff8000");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(rgba(grey), (std::vector<float> {0.5f, 0.5f, 0.5f, 0.25f}));
    EXPECT_EQ(text, "{0.500, 0.250}");
    EXPECT_EQ(rgbHex(hex), 0xFF8000u);
}

TEST(ToolkitHexText, ReadsTheLeadingHexNumber)
{
    for (const char* text : {"ff0000", "0xFF0000", "0XfF0000", "  ff0000", "ff0000zz", "1ff0000", "FF0000 00ff00"})
        EXPECT_EQ(rgbHex(colorWithHexString(text)), 0xFF0000u) << text;
    EXPECT_EQ(rgbHex(colorWithHexString("80")), 0x000080u);
    EXPECT_EQ(rgbHex(colorWithHexString("0xg")), 0u);
    // Too large for 32 bits scans as 0xFFFFFFFF.
    EXPECT_EQ(rgbHex(colorWithHexString("123456789abcdef")), 0xFFFFFFu);
    for (const char* text : {"#ff0000", "zz", "", "   ", "-ff0000", "x12"})
        EXPECT_FALSE(colorWithHexString(text)) << text;
}
