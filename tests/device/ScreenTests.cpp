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
    JsonValue icon(const std::string& identifier)
    {
        JsonValue icons = ask("icons");
        for (const JsonValue& entry : icons["icons"].items())
            if (entry["id"].asString() == identifier)
                return entry;
        ADD_FAILURE() << "no icon for " << identifier;
        return {};
    }
    void tapMiddle(const JsonValue& frame)
    {
        double x = frame["x"].asNumber() + frame["width"].asNumber() / 2;
        double y = frame["y"].asNumber() + frame["height"].asNumber() / 2;
        ask("screen touch " + std::to_string(x) + " " + std::to_string(y));
    }
    std::string foreground()
    {
        JsonValue front = ask("switcher")["foreground"];
        return front.isNull() ? std::string() : front.asString();
    }
};

TEST_F(Screen, HomeScreenShowsEveryAppInFourColumnsWithTheDockAndTheStatusBar)
{
    createAndBoot();
    JsonValue icons = ask("icons")["icons"];
    std::set<std::string> identifiers;
    std::set<double> columns;
    int inDock = 0;
    for (const JsonValue& entry : icons.items()) {
        identifiers.insert(entry["id"].asString());
        EXPECT_EQ(entry["width"].asNumber(), 57);
        EXPECT_EQ(entry["height"].asNumber(), 57);
        columns.insert(entry["x"].asNumber());
        inDock += entry["dock"].asBool();
        EXPECT_GE(entry["y"].asNumber(), 20) << "no icon lies under the status bar";
        EXPECT_LE(entry["x"].asNumber() + 57, 320);
    }
    size_t apps = ask("apps")["apps"].items().size();
    EXPECT_EQ(identifiers.size(), apps) << "every installed app has one icon";
    EXPECT_TRUE(identifiers.contains("com.apple.Preferences")) << "the Settings app is installed on every device";
    EXPECT_EQ(columns.size(), 4u);
    EXPECT_TRUE(icon("com.apple.Preferences")["dock"].asBool());
    EXPECT_GE(inDock, 1);

    CairoSurfacePtr picture = shot();
    ASSERT_EQ(cairo_image_surface_get_width(picture.get()), 320);
    ASSERT_EQ(cairo_image_surface_get_height(picture.get()), 480);
    EXPECT_EQ(at(picture, 160, 1), (Pixel { 0, 0, 0 })) << "the status bar is black";
    // Two generated icons differ in colour (taken from their identifiers) and are not the wallpaper.
    JsonValue first = icon("com.apple.MobileSMS"), second = icon("com.apple.newsstand");
    Pixel a = at(picture, int(first["x"].asNumber()) + 6, int(first["y"].asNumber()) + 6);
    Pixel b = at(picture, int(second["x"].asNumber()) + 6, int(second["y"].asNumber()) + 6);
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
    JsonValue mail = icon("com.apple.mobilemail");
    ask("screen drag " + std::to_string(mail["x"].asNumber() + 5) + " " + std::to_string(mail["y"].asNumber() + 5)
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
    JsonValue once = ask("home");
    EXPECT_FALSE(once["switcher"].asBool());
    EXPECT_TRUE(ask("home double")["switcher"].asBool());
    JsonValue badges = ask("icons")["badges"];
    ASSERT_EQ(badges.items().size(), 2u);
    EXPECT_EQ(badges.items()[0]["id"].asString(), "com.apple.Music") << "the row lists the front app first";

    tapMiddle(badges.items()[0]);
    JsonValue switcher = ask("switcher")["switcher"];
    ASSERT_EQ(switcher.items().size(), 1u);
    EXPECT_EQ(switcher.items()[0].asString(), "com.apple.mobilemail");
    EXPECT_EQ(ask("icons")["badges"].items().size(), 1u) << "the row shows what is left";

    // Tapping the app that is left brings it forward and ends the switcher.
    JsonValue mail = ask("icons")["badges"].items()[0];
    ask("screen touch " + std::to_string(mail["x"].asNumber() + 30) + " " + std::to_string(mail["y"].asNumber() + 30));
    EXPECT_EQ(foreground(), "com.apple.mobilemail");
    EXPECT_EQ(ask("icons")["badges"].items().size(), 0u);
}

TEST_F(Screen, DragFromTheStatusBarOpensTheCenterAndAPushUpClosesIt)
{
    createAndBoot();
    ask("launch com.apple.Music");
    EXPECT_FALSE(ask("screen drag 160 10 160 100")["open"].asBool()) << "a short pull lets the Center go back";
    EXPECT_FALSE(ask("screen drag 160 200 160 450")["open"].asBool()) << "a drag below the status bar pulls nothing";
    EXPECT_TRUE(ask("screen drag 160 5 160 400")["open"].asBool());
    EXPECT_TRUE(ask("nc")["open"].asBool());
    CairoSurfacePtr open = shot();
    EXPECT_NE(at(open, 10, 300), (Pixel { 255, 255, 255 })) << "the Center covers the app";

    // A tap on the widget's bar through the screen closes the apps behind the front one.
    ask("nc close");
    ask("launch com.apple.mobilemail");
    ask("launch com.apple.Music");
    ask("screen drag 160 5 160 400");
    EXPECT_EQ(ask("screen touch 100 37")["did"].asString(), "tapped the Notification Center");
    JsonValue switcher = ask("switcher")["switcher"];
    ASSERT_EQ(switcher.items().size(), 1u);
    EXPECT_EQ(switcher.items()[0].asString(), "com.apple.Music") << "the front app stays";

    EXPECT_FALSE(ask("screen drag 160 450 160 40")["open"].asBool());
    EXPECT_FALSE(ask("nc")["open"].asBool());
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
    EXPECT_FALSE(ask("nc")["open"].asBool()) << "the Center opens only when let go";
    touch("ended", 160, 240);
    EXPECT_TRUE(ask("nc")["open"].asBool());
    EXPECT_NE(at(shot("open.png"), 10, 470), (Pixel { 255, 255, 255 }));

    touch("began", 160, 450);
    touch("moved", 160, 300);
    CairoSurfacePtr pushed = shot("pushed.png");
    EXPECT_NE(at(pushed, 10, 320), (Pixel { 255, 255, 255 }));
    EXPECT_EQ(at(pushed, 10, 340), (Pixel { 255, 255, 255 })) << "a push up slides the Center back with the finger";
    touch("ended", 160, 300);
    EXPECT_TRUE(ask("nc")["open"].asBool()) << "a short push lets it fall back open";
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
    JsonValue ping = ask("settings rows");
    EXPECT_EQ(ping["depth"].asNumber(), 2);
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
