// The colour overlay: opening, "Default", Save, Cancel and the slide-out.

#include "EditFixture.h"

#include "graphics/PixelProbe.h"
#include "ui/UIDevice.h"
#include "ui/UIWindow.h"

namespace {

constexpr const char* kWhiteText = "0.000000,0.000000,1.000000,1.000000";
constexpr const char* kHalfRedText = "0.000000,1.000000,1.000000,0.500000";

class ColorOverlayTest : public EditFixture {
protected:
    ~ColorOverlayTest() override { UIDevice::currentDevice()->setUserInterfaceIdiom(UIUserInterfaceIdiomPhone); }

    void storeColor(const char* text) { writeSettings({ { "Family", "Helvetica" }, { "TextColor", text } }); }
    bool swatchShows(const std::string& text)
    {
        auto shown = swatch() ? swatch()->backgroundColor() : nullptr;
        return shown && shown->isEqual(*colorOf(text));
    }
    CGRect rootBounds() { return pane()->view()->bounds(); }

    static UIViewRef findClass(const UIViewRef& view, std::string_view name)
    {
        if (!view || view->className() == name)
            return view;
        for (const UIViewRef& child : view->subviews())
            if (auto found = findClass(child, name))
                return found;
        return nullptr;
    }
    // The overlay as drawn now, probed at the bright end of its brightness bar.
    Pixel brightnessBarStart()
    {
        UIViewRef bar = findClass(overlay(), "GradientView");
        if (!bar)
            return {};
        CGPoint at = bar->convertPointToView({ 3, bar->bounds().size.height / 2 }, overlay().get());
        CairoSurfacePtr image = UIRenderView(*overlay(), 1);
        return pixelAt(image.get(), int(at.x), int(at.y));
    }
};

TEST_F(ColorOverlayTest, OpeningTakesTheBarAndSlidesThePickerUpFromBelow)
{
    open();
    openOverlay();
    ASSERT_TRUE(overlay());
    EXPECT_TRUE(overlayIsLastSubview());

    EXPECT_TRUE(item()->hidesBackButton());
    EXPECT_FALSE(host().navigation()->backButtonShown());
    ASSERT_TRUE(item()->rightBarButtonItem());
    EXPECT_EQ(item()->rightBarButtonItem()->systemItem(), UIBarButtonSystemItemSave);
    EXPECT_EQ(item()->rightBarButtonItem()->action(), "save");
    EXPECT_EQ(item()->rightBarButtonItem()->target(), pane());
    ASSERT_TRUE(item()->leftBarButtonItem());
    EXPECT_EQ(item()->leftBarButtonItem()->title(), "Cancel");
    EXPECT_EQ(item()->leftBarButtonItem()->style(), UIBarButtonItemStyleBordered);
    EXPECT_EQ(item()->leftBarButtonItem()->action(), "dismissColor");
    ASSERT_TRUE(defaultButton());
    EXPECT_EQ(defaultButton()->buttonType(), UIButtonTypeBorderedBarItem);
    EXPECT_EQ(defaultButton()->titleForState(UIControlStateNormal), "Default");
    EXPECT_GT(defaultButton()->frame().size.width, 0); // sized to its title

    // The model frame covers the pane at once; what shows starts one height below.
    CGRect covering = rootBounds();
    EXPECT_TRUE(CGRectEqualToRect(overlay()->frame(), covering));
    CGRect below = CGRectOffset(covering, 0, covering.size.height);
    EXPECT_TRUE(CGRectEqualToRect(overlay()->presentationFrame(), below));
    advance(0.15);
    EXPECT_GT(overlay()->presentationFrame().origin.y, 0);
    EXPECT_LT(overlay()->presentationFrame().origin.y, covering.size.height);
    advance(0.15);
    EXPECT_TRUE(CGRectEqualToRect(overlay()->presentationFrame(), covering));

    EXPECT_TRUE(overlay()->backgroundColor()->isEqual(*UIColor::groupTableViewBackgroundColor()));
    EXPECT_FALSE(overlay()->subviews().empty()); // prepared
    EXPECT_TRUE(overlayShows(kWhiteText)); // nothing stored
}

TEST_F(ColorOverlayTest, ItShowsTheStoredColourAndWhiteForDefaultOrBrokenText)
{
    const std::pair<const char*, const char*> cases[] = {
        { kHalfRedText, kHalfRedText },
        { "default", kWhiteText },
        { "0.5,0.5", kWhiteText },
    };
    for (auto [storedText, shown] : cases) {
        SCOPED_TRACE(storedText);
        storeColor(storedText);
        open();
        openOverlay();
        ASSERT_TRUE(overlay());
        EXPECT_TRUE(overlayShows(shown));
        tapCancel();
        advance(0.3);
        ASSERT_TRUE(succeeded(host().goBack()));
        ASSERT_TRUE(succeeded(host().goBack()));
    }
}

TEST_F(ColorOverlayTest, OnAPadTheBackgroundIsLightGrey)
{
    UIDevice::currentDevice()->setUserInterfaceIdiom(UIUserInterfaceIdiomPad);
    open();
    openOverlay();
    ASSERT_TRUE(overlay());
    EXPECT_TRUE(overlay()->backgroundColor()->isEqual(*UIColor::lightGrayColor()));
}

TEST_F(ColorOverlayTest, DefaultThenCancelStoresAndPostsNothing)
{
    storeColor(kHalfRedText);
    open();
    openOverlay();
    int before = posts();
    ino_t written = settingsInode();

    Pixel red = brightnessBarStart(); // the stored red's fade
    EXPECT_TRUE(red[0] > 100 && red[1] < 8 && red[2] < 8) << red[0] << "," << red[1] << "," << red[2];
    tapDefault();
    EXPECT_TRUE(overlayShows(kWhiteText));
    Pixel grey = brightnessBarStart(); // drawn again: white's fade, grey all through
    EXPECT_TRUE(grey[0] > 100 && grey[0] == grey[1] && grey[1] == grey[2]) << grey[0] << "," << grey[1] << "," << grey[2];
    EXPECT_TRUE(overlayIsLastSubview()); // still open
    EXPECT_TRUE(item()->hidesBackButton());
    tapCancel();
    advance(0.3);

    EXPECT_EQ(stored("TextColor"), kHalfRedText);
    EXPECT_EQ(settingsInode(), written);
    EXPECT_EQ(posts(), before);
    EXPECT_TRUE(swatchOverTiles());
    EXPECT_TRUE(swatchShows(kHalfRedText)); // the old colour
}

TEST_F(ColorOverlayTest, DefaultThenSaveStoresWhitesText)
{
    storeColor(kHalfRedText);
    open();
    openOverlay();
    int before = posts();
    tapDefault();
    tapSave();
    EXPECT_EQ(stored("TextColor"), kWhiteText);
    EXPECT_EQ(posts(), before + 1);
}

TEST_F(ColorOverlayTest, AfterSaveTheSwatchShowsTheNewColourOverTheTiles)
{
    open();
    EXPECT_FALSE(swatchOverTiles()); // nothing stored yet
    openOverlay();
    advance(0.3);
    pick(UIColor::colorWithHue(0.25, 0.75, 0.8, 0.9));
    tapSave();

    auto picked = stored("TextColor");
    ASSERT_TRUE(picked);
    auto read = RVXSettings::parseTextColor(*picked);
    ASSERT_TRUE(read) << *picked;
    RVXSettings::TextColor color = *read;
    EXPECT_NEAR(color.hue, 0.25, 1e-3);
    EXPECT_NEAR(color.saturation, 0.75, 1e-3);
    EXPECT_NEAR(color.brightness, 0.8, 1e-3);
    EXPECT_NEAR(color.alpha, 0.9, 1e-3);
    EXPECT_EQ(*picked, RVXSettings::textColorString(color)); // six decimals each
    EXPECT_TRUE(swatchOverTiles());
    EXPECT_TRUE(swatchShows(*picked));
    EXPECT_EQ(stored("Family"), "Helvetica");
}

TEST_F(ColorOverlayTest, TheBarIsBackAsTheSlideOutStartsAndTheOverlayLeavesAtItsEnd)
{
    open();
    for (const char* button : { "Save", "Cancel" }) {
        SCOPED_TRACE(button);
        openOverlay();
        advance(0.3);
        auto shown = overlay();
        ASSERT_TRUE(shown);
        if (std::string_view(button) == "Save")
            tapSave();
        else
            tapCancel();

        EXPECT_FALSE(item()->hidesBackButton());
        EXPECT_TRUE(host().navigation()->backButtonShown());
        EXPECT_FALSE(item()->leftBarButtonItem());
        EXPECT_FALSE(item()->rightBarButtonItem());
        EXPECT_FALSE(item()->titleView());
        // Still sliding: in the hierarchy, on its way down.
        CGRect covering = rootBounds();
        EXPECT_EQ(shown->superview(), pane()->view());
        EXPECT_TRUE(CGRectEqualToRect(shown->frame(), CGRectOffset(covering, 0, covering.size.height)));
        EXPECT_TRUE(CGRectEqualToRect(shown->presentationFrame(), covering));
        advance(0.29);
        EXPECT_EQ(shown->superview(), pane()->view());
        advance(0.02);
        EXPECT_FALSE(shown->superview());
        EXPECT_FALSE(overlay());
    }
}

TEST_F(ColorOverlayTest, SaveAndCancelDuringTheSlideOutDoNothingMore)
{
    open();
    openOverlay();
    tapCancel();
    int before = posts();
    send("save");
    send("dismissColor");
    send("def");
    EXPECT_FALSE(stored("TextColor"));
    EXPECT_EQ(posts(), before);
    advance(0.3);
    EXPECT_FALSE(overlay());

    // With no overlay at all the three do nothing either.
    send("save");
    send("dismissColor");
    send("def");
    EXPECT_EQ(posts(), before);
}

TEST_F(ColorOverlayTest, ASecondOpeningOrARotationKeepsOneOverlayOnTop)
{
    open();
    openOverlay();
    pane()->didSelectRowAtIndexPath(pane()->table(), NSIndexPath::indexPathForRow(0, 1));
    EXPECT_EQ(overlays(), 1u);

    host().navigation()->rotateToInterfaceOrientation(UIInterfaceOrientationLandscapeRight, 0.3);
    advance(0.3);
    EXPECT_TRUE(overlayIsLastSubview());
    tapCancel();
    advance(0.3);
    EXPECT_FALSE(overlay());

    // And it opens again afterwards.
    openOverlay();
    EXPECT_TRUE(overlay());
    EXPECT_TRUE(item()->hidesBackButton());
}

} // namespace
