#include "ToolkitTestSupport.h"

#include "color/UIColorHSVAdditions.h"

#include <cmath>
#include <cstdio>
#include <memory>

using namespace UIColor_HSVAdditions;

namespace {

// Distance between two hues given as fractions of the circle.
double hueDistance(double a, double b)
{
    double d = std::fabs(a - b);
    return std::min(d, 1 - d);
}

void expectHSV(rgb_color rgb, float hue, float saturation, float value)
{
    hsv_color hsv = HSVfromRGB(rgb);
    EXPECT_FLOAT_EQ(hsv.hue, hue) << rgb.red << " " << rgb.green << " " << rgb.blue;
    EXPECT_FLOAT_EQ(hsv.saturation, saturation) << rgb.red << " " << rgb.green << " " << rgb.blue;
    EXPECT_FLOAT_EQ(hsv.value, value) << rgb.red << " " << rgb.green << " " << rgb.blue;
}

} // namespace

TEST(HSVConversion, GreysHaveNoHueNorSaturation)
{
    expectHSV({0, 0, 0}, 0, 0, 0);
    expectHSV({1, 1, 1}, 0, 0, 1);
    expectHSV({0.5f, 0.5f, 0.5f}, 0, 0, 0.5f);
    for (auto grey : {UIColor::colorWithWhite(1, 1), UIColor::colorWithRed(1, 1, 1, 1)}) {
        EXPECT_EQ(hue(grey), 0);
        EXPECT_EQ(saturation(grey), 0);
        EXPECT_EQ(brightness(grey), 1);
    }
    EXPECT_EQ(value(UIColor::colorWithWhite(0.5f, 0.1f)), 0.5f);
}

TEST(HSVConversion, SectorsAndTies)
{
    expectHSV({1, 0, 0}, 0, 1, 1);
    expectHSV({1, 0, 1}, 300, 1, 1);
    expectHSV({1, 1, 0}, 60, 1, 1);
    expectHSV({0, 1, 1}, 180, 1, 1);
    expectHSV({1, 0.75f, 0.5f}, 30, 0.5f, 1);
    expectHSV({0.5f, 0.25f, 0.25f}, 0, 0.5f, 0.5f);
    expectHSV({0, 0.5f, 1}, 210, 1, 1);
    expectHSV({0.2f, 0.4f, 0.1f}, 100, 0.75f, 0.4f);
    EXPECT_NEAR(hue(UIColor::colorWithRed(1, 0, 1, 1)), 0.8333333f, 1e-6);
    EXPECT_NEAR(hue(UIColor::colorWithRed(1, 0.75f, 0.5f, 1)), 0.0833333f, 1e-6);
}

TEST(HSVConversion, HueStaysBelowAFullCircle)
{
    // Just below the 0 degree line: the float sum with 360 rounds up to 360 itself.
    hsv_color hsv = HSVfromRGB({1, 0, 1e-7f});
    EXPECT_GE(hsv.hue, 0);
    EXPECT_LT(hsv.hue, 360);
    EXPECT_LT(hue(UIColor::colorWithRed(1, 0, 1e-7f, 1)), 1);
    EXPECT_NEAR(HSVfromRGB({1, 0, 0.01f}).hue, 359.4f, 1e-3);
}

TEST(HSVConversion, AccessorsCarryTheRedPrecondition)
{
    auto pattern = UIColor::groupTableViewBackgroundColor();
    for (auto accessor : {hue, saturation, brightness, value})
        EXPECT_EQ(toolkitFailure([&] { accessor(pattern); }), "Must be an RGB color to use -red");
    EXPECT_EQ(hue(nullptr), 0);
}

TEST(HSVConversion, AgreesWithPythonColorsys)
{
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen("python3 " RVX_HSV_REFERENCE_SCRIPT " 2>/dev/null", "r"), pclose);
    if (!pipe)
        GTEST_SKIP() << "python3 cannot be started";
    double r, g, b, h, s, v;
    int rows = 0;
    while (std::fscanf(pipe.get(), "%lf %lf %lf %lf %lf %lf", &r, &g, &b, &h, &s, &v) == 6) {
        ++rows;
        hsv_color hsv = HSVfromRGB({float(r), float(g), float(b)});
        EXPECT_LT(hueDistance(hsv.hue / 360.0, h), 2e-6) << r << " " << g << " " << b;
        EXPECT_NEAR(hsv.saturation, s, 2e-6) << r << " " << g << " " << b;
        EXPECT_NEAR(hsv.value, v, 1e-7) << r << " " << g << " " << b;
        EXPECT_GE(hsv.hue, 0);
        EXPECT_LT(hsv.hue, 360);
    }
    if (rows == 0)
        GTEST_SKIP() << "python3 gave no reference values";
    EXPECT_EQ(rows, 13 * 13 * 13);
}

TEST(HSVConversion, InvertsTheHSBConstructor)
{
    EXPECT_EQ(hue(UIColor::colorWithHue(0.5f, 1, 1, 1)), 0.5f);
    EXPECT_EQ(saturation(UIColor::colorWithHue(0.5f, 1, 1, 1)), 1);
    EXPECT_EQ(brightness(UIColor::colorWithHue(0.5f, 1, 1, 1)), 1);
    for (int hi = 0; hi < 60; ++hi) {
        for (int si = 1; si <= 10; ++si) {
            for (int vi = 1; vi <= 10; ++vi) {
                float h = hi / 60.0f, s = si / 10.0f, v = vi / 10.0f;
                auto color = UIColor::colorWithHue(h, s, v, 0.5f);
                EXPECT_LT(hueDistance(hue(color), h), 1e-5) << h << " " << s << " " << v;
                EXPECT_NEAR(saturation(color), s, 1e-6) << h << " " << s << " " << v;
                EXPECT_EQ(brightness(color), v) << h << " " << s << " " << v;
            }
        }
    }
    auto sample = UIColor::colorWithHue(0.1f, 0.4f, 0.8f, 1);
    EXPECT_NEAR(hue(sample), 0.1f, 1e-6);
    EXPECT_NEAR(saturation(sample), 0.4f, 1e-6);
    EXPECT_NEAR(brightness(sample), 0.8f, 1e-6);
}
