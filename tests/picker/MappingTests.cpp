#include "color/ColorPickerMapping.h"

#include <gtest/gtest.h>

using namespace ColorPickerMapping;

namespace {

constexpr CGRect kBrightness {{10, 323}, {300, 40}};
constexpr CGRect kAlpha {{10, 370}, {300, 40}};

Area at(CGFloat x, CGFloat y) { return areaAtPoint({x, y}, kBrightness, kAlpha); }

} // namespace

TEST(PickerMapping, AreasAreHalfOpenWithGapsBetween)
{
    EXPECT_EQ(at(11, 60), Area::Map);
    EXPECT_EQ(at(308.99f, 316.99f), Area::Map);
    EXPECT_EQ(at(309, 100), Area::None);   // the map's right edge is outside
    EXPECT_EQ(at(10.5f, 200), Area::None); // left of the map, above the bars
    EXPECT_EQ(at(100, 59.99f), Area::None);

    EXPECT_EQ(at(100, 317), Area::None); // between map and brightness bar
    EXPECT_EQ(at(100, 320), Area::None);
    EXPECT_EQ(at(10, 323), Area::Brightness);
    EXPECT_EQ(at(9.99f, 330), Area::None);
    EXPECT_EQ(at(100, 363), Area::None); // between the bars
    EXPECT_EQ(at(100, 365), Area::None);
    EXPECT_EQ(at(100, 370), Area::Alpha);
    EXPECT_EQ(at(309.9f, 380), Area::Alpha);
    EXPECT_EQ(at(310, 380), Area::None);
    EXPECT_EQ(at(100, 410), Area::None);
}

TEST(PickerMapping, BarsFollowTheirCurrentFrames)
{
    CGRect moved {{10, 500}, {150, 40}};
    EXPECT_EQ(areaAtPoint({100, 510}, moved, kAlpha), Area::Brightness);
    EXPECT_EQ(areaAtPoint({100, 330}, moved, kAlpha), Area::None);
    // The map wins wherever a bar would overlap it.
    EXPECT_EQ(areaAtPoint({100, 100}, CGRectMake(0, 0, 320, 480), kAlpha), Area::Map);
}

TEST(PickerMapping, HueAndSaturationAtTheMapEdges)
{
    EXPECT_NEAR(hueSaturationAtPoint({100, 60}).saturation, 1.30457f, 1e-5f);
    EXPECT_EQ(hueSaturationAtPoint({100, 120}).saturation, 1.0f);
    float nearBottom = hueSaturationAtPoint({100, 316.99f}).saturation;
    EXPECT_GT(nearBottom, 0.0f);
    EXPECT_LT(nearBottom, 1e-4f);
    EXPECT_EQ(hueSaturationAtPoint({11, 200}).hue, 0.0f);
    float nearRight = hueSaturationAtPoint({308.99f, 200}).hue;
    EXPECT_LT(nearRight, 1.0f);
    EXPECT_GT(nearRight, 0.9999f);
    // Outside the map the formulas run on unclamped.
    EXPECT_LT(hueSaturationAtPoint({0, 400}).hue, 0.0f);
    EXPECT_LT(hueSaturationAtPoint({0, 400}).saturation, 0.0f);
}

TEST(PickerMapping, BarValuesRunPastTheUnitRange)
{
    EXPECT_NEAR(barValueAtX(10, 300), 0.99667f, 1e-5f);
    EXPECT_NEAR(barValueAtX(310, 300), -0.00333f, 1e-5f);
    EXPECT_NEAR(barValueAtX(160, 300), 0.49667f, 1e-5f);
    EXPECT_NEAR(barValueAtX(309.9f, 300), -0.00300f, 1e-5f);
    // The width is the bar's, not a constant.
    EXPECT_NEAR(barValueAtX(75, 150), 0.53f, 1e-6f);
}

TEST(PickerMapping, MarkersSitWhereTheirValuesWereTouched)
{
    EXPECT_EQ(crossHairCenter(0, 0), (CGPoint {11, 317}));
    EXPECT_EQ(crossHairCenter(0.5f, 1), (CGPoint {160, 120}));
    EXPECT_FLOAT_EQ(barMarkerX(1, 300), 9);
    EXPECT_FLOAT_EQ(barMarkerX(0, 300), 309);
    EXPECT_FLOAT_EQ(barMarkerX(0.5f, 300), 159);

    for (CGFloat x = 11; x < 309; x += 7.25f) {
        for (CGFloat y = 60; y < 317; y += 6.5f) {
            HueSaturation values = hueSaturationAtPoint({x, y});
            CGPoint centre = crossHairCenter(values.hue, values.saturation);
            ASSERT_NEAR(centre.x, x, 1e-3f) << x << ", " << y;
            ASSERT_NEAR(centre.y, y, 1e-3f) << x << ", " << y;
        }
    }
    for (CGFloat x = 10; x < 310; x += 3.3f)
        ASSERT_NEAR(barMarkerX(barValueAtX(x, 300), 300), x, 1e-3f) << x;
}

TEST(PickerMapping, TouchesAtMarkersGiveBackTheirValues)
{
    for (float hue = 0; hue < 1; hue += 0.0625f) {
        for (float saturation = 0.0625f; saturation <= 1; saturation += 0.0625f) {
            HueSaturation back = hueSaturationAtPoint(crossHairCenter(hue, saturation));
            ASSERT_NEAR(back.hue, hue, 1e-5f);
            ASSERT_NEAR(back.saturation, saturation, 1e-5f);
        }
    }
    for (float value = 0; value < 1; value += 0.05f)
        ASSERT_NEAR(barValueAtX(barMarkerX(value, 300), 300), value, 1e-5f);
}
