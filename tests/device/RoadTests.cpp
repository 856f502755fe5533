// The roads through both hosts: a tap on the bar in the springboard host, and a setting
// changed in the settings host reaching the widget.

#include "DeviceFixture.h"

#include "shared/RVXLinks.h"
#include "shared/RVXSettings.h"

#include <algorithm>

namespace {

std::vector<std::string> strings(const json::Value& array)
{
    std::vector<std::string> list;
    for (const json::Value& item : json::items(array))
        list.push_back(json::text(item));
    return list;
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Every button in a view dump, depth first.
void collectButtons(const json::Value& node, std::vector<const json::Value*>& buttons)
{
    if (node.is_object() && node.contains("buttonType"))
        buttons.push_back(&node);
    if (node.is_structured())
        for (const json::Value& member : node)
            collectButtons(member, buttons);
}

// The bar: the widest button of the widget.
std::optional<json::Value> barOf(const json::Value& tree)
{
    std::vector<const json::Value*> buttons;
    collectButtons(tree, buttons);
    const json::Value* widest = nullptr;
    for (const json::Value* button : buttons)
        if (!widest || json::numeric(json::items(json::member(*button, "frame")).at(2)) > json::numeric(json::items(json::member(*widest, "frame")).at(2)))
            widest = button;
    if (!widest)
        return std::nullopt;
    return *widest;
}

std::optional<double> number(const std::optional<NSDictionary>& settings, std::string_view key)
{
    if (!settings || !settings->objectForKey(key))
        return std::nullopt;
    return settings->objectForKey(key)->doubleValue();
}

class Roads : public DeviceFixture { };

TEST_F(Roads, TapClosesTheBackgroundAppsAndKeepsTheFrontAndTheExcluded)
{
    createAndBoot();
    ASSERT_EQ(ruvex("defaults write com.vastelmark.ruvexpro com.apple.Music -bool true").status, 0);
    ask("settings open");
    std::string dismiss = rowOf("Hide Center After Closing");
    ASSERT_FALSE(dismiss.empty());
    ask("settings switch " + dismiss + " on");
    for (const char* app : { "com.apple.Music", "com.apple.mobilemail", "com.apple.newsstand", "com.apple.mobilesafari" })
        ask(std::string("launch ") + app);
    ask("nc open");

    json::Value tap = ask("nc tap bar");
    std::vector<std::string> closed = strings(json::member(tap, "closed"));
    std::vector<std::string> stayed = strings(json::member(tap, "stayed"));
    EXPECT_TRUE(contains(closed, "com.apple.mobilemail"));
    EXPECT_TRUE(contains(closed, "com.apple.newsstand"));
    EXPECT_TRUE(contains(stayed, "com.apple.mobilesafari")) << "the app in front stays";
    EXPECT_TRUE(contains(stayed, "com.apple.Music")) << "the excluded app stays";
    EXPECT_FALSE(contains(strings(json::member(ask("switcher"), "switcher")), "com.apple.newsstand"));
    EXPECT_EQ(json::member(tap, "open"), false) << "\"Dismiss\" hides the Center";
    EXPECT_TRUE(json::member(tap, "launched").is_null());
    EXPECT_EQ(number(settingsFile(), "Count"), 1.0);
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Dismiss"));
    EXPECT_EQ(settings->objectForKey("Dismiss")->boolValue(), true) << "the switch stored \"Dismiss\"";
}

TEST_F(Roads, ASliderDragRestylesTheWidgetOnceAtTheLift)
{
    createAndBoot();
    ask("nc open"); // the widget registers for changes as it appears
    ask("settings open RVXFontController");
    std::string size = rowOf("Size");
    ASSERT_FALSE(size.empty()) << ruvex("settings rows").out;
    int before = settingsChanges();

    json::Value slid = ask("settings slide " + size + " 30 --steps 8");
    EXPECT_NEAR(json::numeric(json::member(slid, "value")), 30, 0.5);
    ASSERT_TRUE(waitUntil([&] { return settingsChanges() > before; })) << "the shell heard no change";
    // A further round trip through both hosts: a second post would have arrived by now.
    ask("settings rows");
    EXPECT_EQ(settingsChanges(), before + 1) << "eight steps, one post at the lift";
    std::optional<double> stored = number(settingsFile(), "Size");
    ASSERT_TRUE(stored);
    EXPECT_NEAR(*stored, 30, 0.5);
    std::optional<json::Value> bar = barOf(ask("ui dump springboard"));
    ASSERT_TRUE(bar);
    EXPECT_NEAR(json::numeric(json::member(*bar, "fontSize")), *stored, 0.01);
}

TEST_F(Roads, AColourDraggedOnThePickerAndSavedRestylesTheWidget)
{
    createAndBoot();
    ask("nc open");
    ask("settings open RVXFontController");
    ask("settings tap " + shellQuoted("Font Color"));
    ASSERT_TRUE(waitUntil([&] { return ruvex("settings touch 0 0 --in ColorPickerView").status == 0; }))
        << "the colour overlay never showed";
    int before = settingsChanges();

    // From the middle of the map to its red corner: hue 0 at the left edge, saturation 1 on
    // the line at y 120; the brightness and alpha stay white's.
    json::Value drag = ask("settings drag 150 250 11 120 --steps 6 --in ColorPickerView");
    EXPECT_EQ(json::text(json::member(drag, "view")), "ColorPickerView") << "the map's image takes no touches; the picker does";
    EXPECT_EQ(settingsChanges(), before) << "nothing is stored before Save";
    ask("settings bar right");
    ASSERT_TRUE(waitUntil([&] { return settingsChanges() > before; }));

    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("TextColor"));
    EXPECT_EQ(*settings->objectForKey("TextColor")->string(), "0.000000,1.000000,1.000000,1.000000");
    std::optional<json::Value> bar = barOf(ask("ui dump springboard"));
    ASSERT_TRUE(bar);
    std::vector<double> rgba;
    for (const json::Value& component : json::items(json::member(*bar, "titleColor")))
        rgba.push_back(json::numeric(component));
    EXPECT_EQ(rgba, (std::vector<double> { 1, 0, 0, 1 }));
}

TEST_F(Roads, HidingTheInfoButtonReachesTheOpenCenter)
{
    createAndBoot();
    ask("nc open");
    ask("settings open RVXExtrasController");
    std::string hide = rowOf("Hide Info Button");
    ASSERT_FALSE(hide.empty());
    EXPECT_EQ(ruvex("nc tap info").status, 0);
    ask("alert tap OK");

    int before = settingsChanges();
    ask("settings switch " + hide + " on");
    ASSERT_TRUE(waitUntil([&] { return settingsChanges() > before; }));
    RunResult hidden = ruvex("nc tap info");
    EXPECT_EQ(hidden.status, 1);
    EXPECT_NE(hidden.err.find("no info button"), std::string::npos) << hidden.err;

    before = settingsChanges();
    ask("settings switch " + hide + " off");
    ASSERT_TRUE(waitUntil([&] { return settingsChanges() > before; }));
    EXPECT_EQ(ruvex("nc tap info").status, 0);
    EXPECT_EQ(json::text(json::member(json::member(ask("alert"), "alert"), "title")), "Ruvex Pro");
}

TEST_F(Roads, TheAboutDialogCountsThreeRuns)
{
    createAndBoot();
    ask("nc open");
    for (int run = 0; run < 3; ++run)
        ask("nc tap bar");
    ask("nc tap info");
    json::Value alert = json::member(ask("alert"), "alert");
    EXPECT_EQ(json::text(json::member(alert, "title")), "Ruvex Pro");
    EXPECT_NE(json::text(json::member(alert, "message")).find("Used 3 times."), std::string::npos) << json::text(json::member(alert, "message"));
}

class TwitterChain : public DeviceFixture {
protected:
    // The address the developer dialog's Twitter button opens on a device with these apps.
    std::string profileOpened(const std::string& apps)
    {
        createAndBoot(apps);
        ask("nc open");
        ask("nc tap info");
        ask("alert tap About");
        ask("alert tap Twitter");
        std::vector<std::string> urls = strings(json::member(ask("urls"), "urls"));
        return urls.empty() ? std::string() : urls.back();
    }
};

TEST_F(TwitterChain, TheFirstInstalledClientShowsTheProfile)
{
    EXPECT_EQ(profileOpened("com.apple.mobilesafari,com.tapbots.Tweetbot,com.iconfactory.Twitterrific"),
        RVXLinks::twitterApps[1]);
}

TEST_F(TwitterChain, WithoutAClientTheWebProfileOpens)
{
    EXPECT_EQ(profileOpened("com.apple.mobilesafari,com.apple.Music"), RVXLinks::twitterWeb);
}

// What either app opens is listed in the order it was opened, with the app that opened it.
TEST_F(TwitterChain, UrlsListsWhatEitherAppOpened)
{
    createAndBoot("com.apple.mobilesafari");
    ask("settings open");
    ask("settings tap Donate");
    ask("nc open");
    ask("nc tap info");
    ask("alert tap About");
    ask("alert tap Website");
    ask("settings open RVXImageController");
    ask("settings tap " + shellQuoted("Making a Background Image"));
    json::Value opened = ask("urls");
    EXPECT_EQ(strings(json::member(opened, "urls")),
        (std::vector<std::string> { RVXLinks::donate, RVXLinks::website, RVXLinks::backgroundHelp }));
    EXPECT_EQ(strings(json::member(opened, "apps")), (std::vector<std::string> { "settings", "springboard", "settings" }));
}

} // namespace
