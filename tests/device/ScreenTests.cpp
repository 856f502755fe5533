// The phone's composed screen through the shell's control verbs: the home screen's grid and
// dock, a tap on an icon, the Home button pressed once and twice, the switcher's close
// badges, the Center pulled down from the status bar, and the Settings app in front.

#include "DeviceFixture.h"

#include "control/ControlClient.h"
#include "graphics/CairoPtr.h"

#include <cairo.h>

#include <cstdint>
#include <set>

namespace {

struct Pixel {
    int r, g, b;
    bool operator==(const Pixel&) const = default;
};

class Screen : public DeviceFixture {
protected:
    // The composed screen at scale 1, read back as pixels.
    CairoSurfacePtr shot(const std::string& name = "screen.png")
    {
        std::string path = scratch() + "/" + name;
        ask("screenshot screen " + shellQuoted(path) + " --scale 1");
        CairoSurfacePtr picture(cairo_image_surface_create_from_png(path.c_str()));
        EXPECT_EQ(cairo_surface_status(picture.get()), CAIRO_STATUS_SUCCESS);
        return picture;
    }
    static Pixel at(const CairoSurfacePtr& picture, int x, int y)
    {
        cairo_surface_flush(picture.get());
        const uint8_t* row = cairo_image_surface_get_data(picture.get()) + y * cairo_image_surface_get_stride(picture.get());
        uint32_t value = reinterpret_cast<const uint32_t*>(row)[x];
        return { int(value >> 16 & 0xff), int(value >> 8 & 0xff), int(value & 0xff) };
    }
    json::Value icon(const std::string& identifier)
    {
        json::Value icons = ask("icons");
        for (const json::Value& entry : json::items(json::member(icons, "icons")))
            if (json::text(json::member(entry, "id")) == identifier)
                return entry;
        ADD_FAILURE() << "no icon for " << identifier;
        return {};
    }
    void tapMiddle(const json::Value& frame)
    {
        double x = json::numeric(json::member(frame, "x")) + json::numeric(json::member(frame, "width")) / 2;
        double y = json::numeric(json::member(frame, "y")) + json::numeric(json::member(frame, "height")) / 2;
        ask("screen touch " + std::to_string(x) + " " + std::to_string(y));
    }
    std::string foreground()
    {
        json::Value front = json::member(ask("switcher"), "foreground");
        return front.is_null() ? std::string() : json::text(front);
    }
};

TEST_F(Screen, HomeScreenShowsEveryAppInFourColumnsWithTheDockAndTheStatusBar)
{
    createAndBoot();
    json::Value icons = json::member(ask("icons"), "icons");
    std::set<std::string> identifiers;
    std::set<double> columns;
    int inDock = 0;
    for (const json::Value& entry : json::items(icons)) {
        identifiers.insert(json::text(json::member(entry, "id")));
        EXPECT_EQ(json::numeric(json::member(entry, "width")), 57);
        EXPECT_EQ(json::numeric(json::member(entry, "height")), 57);
        columns.insert(json::numeric(json::member(entry, "x")));
        inDock += json::flag(json::member(entry, "dock"));
        EXPECT_GE(json::numeric(json::member(entry, "y")), 20) << "no icon lies under the status bar";
        EXPECT_LE(json::numeric(json::member(entry, "x")) + 57, 320);
    }
    size_t apps = json::items(json::member(ask("apps"), "apps")).size();
    EXPECT_EQ(identifiers.size(), apps) << "every installed app has one icon";
    EXPECT_TRUE(identifiers.contains("com.apple.Preferences")) << "the Settings app is installed on every device";
    EXPECT_EQ(columns.size(), 4u);
    EXPECT_TRUE(json::flag(json::member(icon("com.apple.Preferences"), "dock")));
    EXPECT_GE(inDock, 1);

    CairoSurfacePtr picture = shot();
    ASSERT_EQ(cairo_image_surface_get_width(picture.get()), 320);
    ASSERT_EQ(cairo_image_surface_get_height(picture.get()), 480);
    EXPECT_EQ(at(picture, 160, 1), (Pixel { 0, 0, 0 })) << "the status bar is black";
    // Two generated icons differ in colour (taken from their identifiers) and are not the wallpaper.
    json::Value first = icon("com.apple.MobileSMS"), second = icon("com.apple.newsstand");
    Pixel a = at(picture, int(json::numeric(json::member(first, "x"))) + 6, int(json::numeric(json::member(first, "y"))) + 6);
    Pixel b = at(picture, int(json::numeric(json::member(second, "x"))) + 6, int(json::numeric(json::member(second, "y"))) + 6);
    Pixel wallpaper = at(picture, 300, 300);
    EXPECT_NE(a, wallpaper);
    EXPECT_NE(a, b);
}

TEST_F(Screen, TapOnAnIconLaunchesTheAppAndHomeReturns)
{
    createAndBoot();
    CairoSurfacePtr home = shot("home.png");
    tapMiddle(icon("com.apple.Music"));
    EXPECT_EQ(foreground(), "com.apple.Music");
    CairoSurfacePtr app = shot("app.png");
    EXPECT_EQ(at(app, 10, 200), (Pixel { 255, 255, 255 })) << "a sample app shows a plain white screen";

    // A tap between icons launches nothing; a drag that starts on an icon is no tap.
    ask("home");
    ask("screen touch 300 300");
    EXPECT_EQ(foreground(), "");
    json::Value mail = icon("com.apple.mobilemail");
    ask("screen drag " + std::to_string(json::numeric(json::member(mail, "x")) + 5) + " " + std::to_string(json::numeric(json::member(mail, "y")) + 5)
        + " 10 100 --steps 4");
    EXPECT_EQ(foreground(), "");
    EXPECT_EQ(at(shot("again.png"), 300, 300), at(home, 300, 300));
}

TEST_F(Screen, DoubleHomeShowsTheSwitcherWhoseBadgesCloseApps)
{
    createAndBoot();
    ask("launch com.apple.Music");
    ask("launch com.apple.mobilemail");
    // A launch between two presses makes them two single presses.
    ask("home");
    ask("launch com.apple.Music");
    json::Value once = ask("home");
    EXPECT_FALSE(json::flag(json::member(once, "switcher")));
    EXPECT_TRUE(json::flag(json::member(ask("home double"), "switcher")));
    json::Value badges = json::member(ask("icons"), "badges");
    ASSERT_EQ(json::items(badges).size(), 2u);
    EXPECT_EQ(json::text(json::member(json::items(badges).at(0), "id")), "com.apple.Music") << "the row lists the front app first";

    tapMiddle(json::items(badges)[0]);
    json::Value switcher = json::member(ask("switcher"), "switcher");
    ASSERT_EQ(json::items(switcher).size(), 1u);
    EXPECT_EQ(json::text(json::items(switcher).at(0)), "com.apple.mobilemail");
    EXPECT_EQ(json::items(json::member(ask("icons"), "badges")).size(), 1u) << "the row shows what is left";

    // Tapping the app that is left brings it forward and ends the switcher.
    json::Value mail = json::items(json::member(ask("icons"), "badges"))[0];
    ask("screen touch " + std::to_string(json::numeric(json::member(mail, "x")) + 30) + " " + std::to_string(json::numeric(json::member(mail, "y")) + 30));
    EXPECT_EQ(foreground(), "com.apple.mobilemail");
    EXPECT_EQ(json::items(json::member(ask("icons"), "badges")).size(), 0u);
}

TEST_F(Screen, DragFromTheStatusBarOpensTheCenterAndAPushUpClosesIt)
{
    createAndBoot();
    ask("launch com.apple.Music");
    EXPECT_FALSE(json::flag(json::member(ask("screen drag 160 10 160 100"), "open"))) << "a short pull lets the Center go back";
    EXPECT_FALSE(json::flag(json::member(ask("screen drag 160 200 160 450"), "open"))) << "a drag below the status bar pulls nothing";
    EXPECT_TRUE(json::flag(json::member(ask("screen drag 160 5 160 400"), "open")));
    EXPECT_TRUE(json::flag(json::member(ask("nc"), "open")));
    CairoSurfacePtr open = shot();
    EXPECT_NE(at(open, 10, 300), (Pixel { 255, 255, 255 })) << "the Center covers the app";

    // A tap on the widget's bar through the screen closes the apps behind the front one.
    ask("nc close");
    ask("launch com.apple.mobilemail");
    ask("launch com.apple.Music");
    ask("screen drag 160 5 160 400");
    EXPECT_EQ(json::text(json::member(ask("screen touch 100 37"), "did")), "tapped the Notification Center");
    json::Value switcher = json::member(ask("switcher"), "switcher");
    ASSERT_EQ(json::items(switcher).size(), 1u);
    EXPECT_EQ(json::text(json::items(switcher).at(0)), "com.apple.Music") << "the front app stays";

    EXPECT_FALSE(json::flag(json::member(ask("screen drag 160 450 160 40"), "open")));
    EXPECT_FALSE(json::flag(json::member(ask("nc"), "open")));
}

// The Center hangs down as far as the finger has pulled it, over the app, while the finger
// is down; let go past a third of the screen it opens, and a push up slides it back.
TEST_F(Screen, TheCenterSlidesWithTheFinger)
{
    createAndBoot();
    ask("launch com.apple.Music");
    auto touch = [&](const char* phase, int x, int y) {
        control::Exchange exchange = control::request(control::socketPath(device(), control::kSpringboard),
            { "screen", "touch", phase, std::to_string(x), std::to_string(y) });
        ASSERT_EQ(exchange.outcome, control::Outcome::Replied);
    };
    touch("began", 160, 5);
    touch("moved", 160, 240);
    CairoSurfacePtr half = shot("half.png");
    EXPECT_NE(at(half, 10, 230), (Pixel { 255, 255, 255 })) << "the Center reaches down to the finger";
    EXPECT_EQ(at(half, 10, 250), (Pixel { 255, 255, 255 })) << "the app shows under the finger";
    EXPECT_FALSE(json::flag(json::member(ask("nc"), "open"))) << "the Center opens only when let go";
    touch("ended", 160, 240);
    EXPECT_TRUE(json::flag(json::member(ask("nc"), "open")));
    EXPECT_NE(at(shot("open.png"), 10, 470), (Pixel { 255, 255, 255 }));

    touch("began", 160, 450);
    touch("moved", 160, 300);
    CairoSurfacePtr pushed = shot("pushed.png");
    EXPECT_NE(at(pushed, 10, 320), (Pixel { 255, 255, 255 }));
    EXPECT_EQ(at(pushed, 10, 340), (Pixel { 255, 255, 255 })) << "a push up slides the Center back with the finger";
    touch("ended", 160, 300);
    EXPECT_TRUE(json::flag(json::member(ask("nc"), "open"))) << "a short push lets it fall back open";
}

TEST_F(Screen, TheSettingsIconBringsTheSettingsAppsOwnScreenAndTakesItsTouches)
{
    createAndBoot();
    tapMiddle(icon("com.apple.Preferences"));
    EXPECT_EQ(foreground(), "com.apple.Preferences");
    CairoSurfacePtr picture = shot();
    EXPECT_EQ(at(picture, 160, 1), (Pixel { 0, 0, 0 })) << "the status bar stays over the app";
    Pixel navigation = at(picture, 5, 30);
    EXPECT_NE(navigation, (Pixel { 255, 255, 255 })) << "the Settings app's navigation bar lies under the status bar";
    EXPECT_GT(navigation.b, navigation.r);

    // The product's row, tapped on the phone's screen, opens its pane in the settings host.
    ask("screen touch 100 95");
    json::Value ping = ask("settings rows");
    EXPECT_EQ(json::numeric(json::member(ping, "depth")), 2);
}

TEST_F(Screen, BadUseOfTheScreenVerbsIsToldAsSuch)
{
    createAndBoot();
    for (const char* line : { "screen touch a 3", "screen drag 1 2 3", "screen drag 1 2 3 4 --steps 0", "home twice",
             "screenshot screen x.png --scale 20" }) {
        RunResult result = ruvex(line);
        EXPECT_EQ(result.status, 2) << line << ": " << result.err;
        EXPECT_FALSE(result.err.empty()) << line;
    }
}

} // namespace
