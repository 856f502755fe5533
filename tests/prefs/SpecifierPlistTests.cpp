#include "PrefsFixture.h"

#include "preferences/PSTableCell.h"

#include <cmath>
#include <set>

namespace {

const char* const kPlists[] = { "RuvexProprefs", "RVXFontController", "RVXImageController", "RVXExtrasController" };

NSArray itemsOf(const std::string& name)
{
    auto plist = NSDictionary::dictionaryWithContentsOfFile(
        "/Library/PreferenceBundles/RuvexProprefs.bundle/" + name + ".plist");
    const PlistValue* items = plist ? plist->objectForKey("items") : nullptr;
    return items && items->array() ? *items->array() : NSArray();
}

std::string text(const NSDictionary& row, std::string_view key)
{
    return RVXSettings::stringFor(row, key).value_or("");
}

using UIControlRef = std::shared_ptr<UIControl>;

class SpecifierPlistTest : public PrefsFixture {
protected:
    NSIndexPathRef row(std::string_view name)
    {
        auto path = host().indexPathOfRowNamed(name);
        EXPECT_TRUE(path) << "no row " << name;
        return path;
    }
    UIControlRef controlOf(std::string_view name)
    {
        auto path = row(name);
        if (!path)
            return nullptr;
        auto shown = std::dynamic_pointer_cast<PSTableCell>(cell(path->section(), path->row()));
        return shown ? shown->control() : nullptr;
    }
};

// Rows that store a value reach the Settings file and tell the widget, whatever pane they
// are in; the widget's keys that no coded pane writes are all covered.
TEST_F(SpecifierPlistTest, EveryStoringRowTargetsTheSettingsFileAndAnnouncesTheChange)
{
    std::set<std::string> keys;
    for (const char* name : kPlists) {
        for (const PlistValue& item : itemsOf(name)) {
            const NSDictionary* row = item.dictionary();
            ASSERT_TRUE(row) << name;
            if (text(*row, "detail") == "PSAppListController") {
                EXPECT_EQ(text(*row, "ALSettingsPath"), RVXSettings::path);
                EXPECT_EQ(text(*row, "ALSettingsKeyPrefix"), "");
                EXPECT_EQ(text(*row, "ALChangeNotification"), RVXSettings::notificationName);
                keys.insert("(exclusions)");
            }
            std::string key = text(*row, "key");
            if (key.empty())
                continue;
            EXPECT_EQ(text(*row, "defaults"), RVXSettings::domain) << name << " " << key;
            EXPECT_EQ(text(*row, "PostNotification"), RVXSettings::notificationName) << name << " " << key;
            keys.insert(key);
        }
    }
    for (const char* key : { "CloseOnAppear", "CloseOnDisappear", "Dismiss", "Height", "HideAlpha", "UseCustom",
             "Path", "Strechable", "Background", "Highlight", "(exclusions)" })
        EXPECT_TRUE(keys.contains(key)) << key;
}

TEST_F(SpecifierPlistTest, TheLabelPaneHasGroupsOfOneThreeAndOneRows)
{
    std::vector<int> groups;
    for (const PlistValue& item : itemsOf("RVXFontController")) {
        if (text(*item.dictionary(), "cell") == "PSGroupCell")
            groups.push_back(0);
        else if (!groups.empty())
            ++groups.back();
    }
    EXPECT_EQ(groups, (std::vector<int> { 1, 3, 1 }));
}

TEST_F(SpecifierPlistTest, SwitchRowsStoreTheirKeyAndPostOnce)
{
    struct Case {
        const char* pane;
        const char* row;
        const char* key;
        bool fallback;
    };
    const Case cases[] = {
        { nullptr, "Close When Center Opens", "CloseOnAppear", false },
        { nullptr, "Close When Center Closes", "CloseOnDisappear", false },
        { nullptr, "Hide Center After Closing", "Dismiss", false },
        { "Background", "Use My Image", "UseCustom", false },
        { "Background", "Stretch From Centre", "Strechable", false },
        { "Extras", "Glow When Touched", "Highlight", true },
        { "Extras", "Hide Info Button", "HideAlpha", false },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.row);
        writeSettings({ { "Family", "Helvetica" } });
        openRuvex();
        if (test.pane) {
            ASSERT_TRUE(succeeded(host().tapRowNamed(test.pane)));
        }
        auto shown = std::dynamic_pointer_cast<UISwitch>(controlOf(test.row));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->isOn(), test.fallback);
        PostRecorder::clear();
        auto path = row(test.row);
        ASSERT_TRUE(succeeded(host().flipSwitch(path->section(), path->row())));
        EXPECT_EQ(RVXSettings::boolFor(settings(), test.key, test.fallback), !test.fallback);
        EXPECT_EQ(RVXSettings::stringFor(settings(), "Family"), "Helvetica");
        EXPECT_EQ(posts(), 1);
        while (host().goBack()) { }
    }
}

// Each step's write is followed by its post, so that the widget's height follows the finger.
TEST_F(SpecifierPlistTest, TheHeightSliderStoresAndPostsEveryStep)
{
    openPane("Extras");
    auto slider = std::dynamic_pointer_cast<UISlider>(controlOf("Height"));
    ASSERT_TRUE(slider);
    EXPECT_FLOAT_EQ(slider->value(), 35);
    auto path = row("Height");
    ASSERT_TRUE(succeeded(host().slide(path->section(), path->row(), 60, 8)));
    EXPECT_NEAR(RVXSettings::floatFor(settings(), "Height"), 60, 0.5);
    EXPECT_EQ(posts(), 8);
}

TEST_F(SpecifierPlistTest, TheImagePathStoresItsTextAndPostsOnce)
{
    openPane("Background");
    ASSERT_TRUE(succeeded(host().tapRowNamed("Image Path")));
    ASSERT_TRUE(succeeded(host().typeText("/var/mobile/Media/Bar.png")));
    ASSERT_TRUE(succeeded(host().pressReturn()));
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Path"), "/var/mobile/Media/Bar.png");
    EXPECT_EQ(posts(), 1);
}

TEST_F(SpecifierPlistTest, TheBackgroundListStoresTheChosenValueAndPostsOnce)
{
    openPane("Background");
    ASSERT_TRUE(succeeded(host().tapRowNamed("Background Image")));
    ASSERT_TRUE(succeeded(host().tapRowNamed("None")));
    EXPECT_EQ(RVXSettings::intFor(settings(), "Background", -1), 1);
    EXPECT_EQ(posts(), 1);
    ASSERT_TRUE(succeeded(host().tapRowNamed("Built-in")));
    EXPECT_EQ(RVXSettings::intFor(settings(), "Background", -1), 0);
    EXPECT_EQ(posts(), 2);
}

TEST_F(SpecifierPlistTest, AnExcludedAppIsStoredUnderItsBundleIdentifier)
{
    NSDictionary info { { "CFBundleIdentifier", "com.example.notes" }, { "CFBundleDisplayName", "Notes" } };
    _device.hostPath("/Applications/Notes.app/Info.plist");
    ASSERT_TRUE(info.writeToFile("/Applications/Notes.app/Info.plist", true));
    openPane("Excluded Apps");
    auto path = row("Notes");
    ASSERT_TRUE(path);
    ASSERT_TRUE(succeeded(host().flipSwitch(path->section(), path->row())));
    EXPECT_TRUE(RVXSettings::isExcluded(settings(), "com.example.notes"));
    EXPECT_EQ(posts(), 1);
}

} // namespace
