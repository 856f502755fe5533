// The roads through both hosts: a tap on the bar in the springboard host, and a setting
// changed in the settings host reaching the widget.

#include "DeviceFixture.h"

#include "shared/RVXLinks.h"
#include "shared/RVXSettings.h"

#include <algorithm>

namespace {

std::vector<std::string> strings(const JsonValue& array)
{
    std::vector<std::string> list;
    for (const JsonValue& item : array.items())
        list.push_back(item.asString());
    return list;
}

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// Every button in a view dump, depth first.
void collectButtons(const JsonValue& node, std::vector<const JsonValue*>& buttons)
{
    if (node.type() == JsonValue::Type::Object && node.has("buttonType"))
        buttons.push_back(&node);
    for (const auto& [key, member] : node.members())
        collectButtons(member, buttons);
    for (const JsonValue& item : node.items())
        collectButtons(item, buttons);
}

// The bar: the widest button of the widget.
std::optional<JsonValue> barOf(const JsonValue& tree)
{
    std::vector<const JsonValue*> buttons;
    collectButtons(tree, buttons);
    const JsonValue* widest = nullptr;
    for (const JsonValue* button : buttons)
        if (!widest || button->operator[]("frame").items()[2].asNumber() > (*widest)["frame"].items()[2].asNumber())
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

    JsonValue tap = ask("nc tap bar");
    std::vector<std::string> closed = strings(tap["closed"]);
    std::vector<std::string> stayed = strings(tap["stayed"]);
    EXPECT_TRUE(contains(closed, "com.apple.mobilemail"));
    EXPECT_TRUE(contains(closed, "com.apple.newsstand"));
    EXPECT_TRUE(contains(stayed, "com.apple.mobilesafari")) << "the app in front stays";
    EXPECT_TRUE(contains(stayed, "com.apple.Music")) << "the excluded app stays";
    EXPECT_FALSE(contains(strings(ask("switcher")["switcher"]), "com.apple.newsstand"));
    EXPECT_FALSE(tap["open"].asBool(true)) << "\"Dismiss\" hides the Center";
    EXPECT_TRUE(tap["launched"].isNull());
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

    JsonValue slid = ask("settings slide " + size + " 30 --steps 8");
    EXPECT_NEAR(slid["value"].asNumber(), 30, 0.5);
    ASSERT_TRUE(waitUntil([&] { return settingsChanges() > before; })) << "the shell heard no change";
    // A further round trip through both hosts: a second post would have arrived by now.
    ask("settings rows");
    EXPECT_EQ(settingsChanges(), before + 1) << "eight steps, one post at the lift";
    std::optional<double> stored = number(settingsFile(), "Size");
    ASSERT_TRUE(stored);
    EXPECT_NEAR(*stored, 30, 0.5);
    std::optional<JsonValue> bar = barOf(ask("ui dump springboard"));
    ASSERT_TRUE(bar);
    EXPECT_NEAR((*bar)["fontSize"].asNumber(), *stored, 0.01);
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
    JsonValue drag = ask("settings drag 150 250 11 120 --steps 6 --in ColorPickerView");
    EXPECT_EQ(drag["view"].asString(), "ColorPickerView") << "the map's image takes no touches; the picker does";
    EXPECT_EQ(settingsChanges(), before) << "nothing is stored before Save";
    ask("settings bar right");
    ASSERT_TRUE(waitUntil([&] { return settingsChanges() > before; }));

    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("TextColor"));
    EXPECT_EQ(*settings->objectForKey("TextColor")->string(), "0.000000,1.000000,1.000000,1.000000");
    std::optional<JsonValue> bar = barOf(ask("ui dump springboard"));
    ASSERT_TRUE(bar);
    std::vector<double> rgba;
    for (const JsonValue& component : (*bar)["titleColor"].items())
        rgba.push_back(component.asNumber());
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
    EXPECT_EQ(ask("alert")["alert"]["title"].asString(), "Ruvex Pro");
}

TEST_F(Roads, TheAboutDialogCountsThreeRuns)
{
    createAndBoot();
    ask("nc open");
    for (int run = 0; run < 3; ++run)
        ask("nc tap bar");
    ask("nc tap info");
    JsonValue alert = ask("alert")["alert"];
    EXPECT_EQ(alert["title"].asString(), "Ruvex Pro");
    EXPECT_NE(alert["message"].asString().find("Used 3 times."), std::string::npos) << alert["message"].asString();
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
        std::vector<std::string> urls = strings(ask("urls")["urls"]);
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
    JsonValue opened = ask("urls");
    EXPECT_EQ(strings(opened["urls"]),
        (std::vector<std::string> { RVXLinks::donate, RVXLinks::website, RVXLinks::backgroundHelp }));
    EXPECT_EQ(strings(opened["apps"]), (std::vector<std::string> { "settings", "springboard", "settings" }));
}

} // namespace
