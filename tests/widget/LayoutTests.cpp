// The row's look from the Settings file: label styling, background choice and the mended
// readings of values that cannot be used.

#include "WidgetFixture.h"

#include "ui/UIFont.h"

#include <fstream>

namespace {

class LayoutTest : public HostedWidget {
protected:
    UIButtonRef bar() { return row().bar; }
    void reloadWith(std::string_view key, PlistValue value)
    {
        set(key, std::move(value));
        post();
        drainRunLoop();
    }
    RGBA titleColor() { return bar()->titleColorForState(UIControlStateNormal)->paint(); }
};

void expectColor(RGBA actual, RGBA expected)
{
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-4) << "component " << i;
}

TEST_F(LayoutTest, StyleWinsOverFamilyAndSizeDefaultsTo17)
{
    set("Family", "Times New Roman");
    set("Style", "Courier-Bold");
    set("Size", 22.0);
    load();
    EXPECT_EQ(bar()->titleLabel()->font()->fontName(), "Courier-Bold");
    EXPECT_EQ(bar()->titleLabel()->font()->pointSize(), 22);

    ASSERT_TRUE(RVXSettings::removeKey("Style"));
    ASSERT_TRUE(RVXSettings::removeKey("Family"));
    ASSERT_TRUE(RVXSettings::removeKey("Size"));
    host().openCenter();
    post();
    drainRunLoop();
    EXPECT_EQ(bar()->titleLabel()->font()->fontName(), "Helvetica");
    EXPECT_EQ(bar()->titleLabel()->font()->pointSize(), 17);

    // An unknown face keeps the font the title has; an unusable size reads as missing.
    reloadWith("Style", "NoSuchFace-Regular");
    EXPECT_EQ(bar()->titleLabel()->font()->fontName(), "Helvetica");
    ASSERT_TRUE(RVXSettings::removeKey("Style"));
    for (PlistValue bad : { PlistValue("1e39"), PlistValue(NSArray {}), PlistValue(NSData {}) }) {
        reloadWith("Size", bad);
        EXPECT_EQ(bar()->titleLabel()->font()->pointSize(), 17);
    }
}

TEST_F(LayoutTest, TitleColourReadsFourNumbersElseWhite)
{
    set("TextColor", "0.000000,1.000000,1.000000,0.500000");
    load();
    host().openCenter();
    expectColor(titleColor(), { 1, 0, 0, 0.5f });

    const RGBA white { 1, 1, 1, 1 };
    for (const char* text : { "default", "0,1,1", "", "a,b,c,d", "0,1,x,1", "0,1,1,", "0.5,1,1,1,extra", "0.5x,1,1,1" }) {
        reloadWith("TextColor", text);
        SCOPED_TRACE(text);
        expectColor(titleColor(), white);
    }
    reloadWith("TextColor", " 0.5 , 1, 1, 1 ");
    expectColor(titleColor(), { 0, 1, 1, 1 });
    reloadWith("TextColor", 12); // not text at all
    expectColor(titleColor(), white);
}

TEST_F(LayoutTest, GlowFollowsHighlightFromTheFirstBuild)
{
    set("Highlight", false);
    load();
    EXPECT_FALSE(bar()->showsTouchWhenHighlighted());
    host().openCenter();
    reloadWith("Highlight", true);
    EXPECT_TRUE(bar()->showsTouchWhenHighlighted());
}

TEST_F(LayoutTest, BackgroundChoice)
{
    // "Background" nonzero: no background view at the placeholder build.
    set("Background", 1);
    load();
    EXPECT_FALSE(row().background);
    _host.reset();

    // A custom image, not stretched, fills the inset frame as loaded.
    std::string custom = "/var/mobile/Library/Pictures/bar.png";
    fs::copy_file(std::string(RUVEXPRO_BUNDLE_DIR) + "/Background.png", _device.hostPath(custom));
    set("Background", 0);
    set("UseCustom", true);
    set("Path", custom);
    load();
    ASSERT_TRUE(row().background && row().background->image());
    EXPECT_EQ(row().background->image()->leftCapWidth(), 0);
    EXPECT_TRUE(CGRectEqualToRect(row().background->frame(), CGRectMake(2, 0, 312, 35)));
    UIImageRef shown = row().background->image();

    // Reapplying with a path that names no file keeps the image shown.
    host().openCenter();
    reloadWith("Path", "/nowhere.png");
    EXPECT_EQ(row().background->image(), shown);
    // Stretched from its centre when asked.
    set("Path", custom);
    reloadWith("Strechable", true);
    EXPECT_EQ(row().background->image()->leftCapWidth(), 20);
    // A file that is no image clears it.
    std::ofstream(_device.hostPath(custom)) << "not a picture";
    post();
    drainRunLoop();
    EXPECT_FALSE(row().background->image());
}

TEST_F(LayoutTest, AnEmptyOrMissingCustomPathMakesNoBackgroundView)
{
    set("UseCustom", true);
    set("Path", "");
    load();
    EXPECT_FALSE(row().background);
    EXPECT_TRUE(row().bar);
}

} // namespace
