#include "PrefsTestSupport.h"

#include "preferences/PSTableCell.h"

#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kDomain = "com.example.widgetprefs";
constexpr const char* kChanged = "com.example.widgetprefs.changed";

// A real-world-style entry: a pane described by the entry file itself.
NSDictionary extrasEntry()
{
    auto setting = [](const char* cell, const char* label, const char* key, PlistValue fallback) {
        return PlistValue(row({{"cell", cell}, {"label", label}, {"key", key}, {"defaults", kDomain},
            {"default", std::move(fallback)}, {"PostNotification", kChanged}}));
    };
    NSDictionary slider = *setting("PSSliderCell", "Height", "Height", 35.0).dictionary();
    slider.setObject(20.0, "min");
    slider.setObject(100.0, "max");
    slider.setObject(true, "showValue");
    NSDictionary list = *setting("PSLinkListCell", "Background", "Background", 0).dictionary();
    list.setObject("PSListItemsController", "detail");
    list.setObject(NSArray {"Default", "None"}, "validTitles");
    list.setObject(NSArray {0, 1}, "validValues");
    NSDictionary text = *setting("PSEditTextCell", "Image", "Path", "").dictionary();
    text.setObject("/var/mobile/image.png", "placeholder");
    return NSDictionary {
        {"entry", row({{"cell", "PSLinkCell"}, {"label", "Widget"}})},
        {"title", "Widget Extras"},
        {"items", NSArray {
            row({{"cell", "PSGroupCell"}, {"label", "Closing"}, {"footerText", "Closes apps on its own."}}),
            setting("PSSwitchCell", "Close on Appear", "CloseOnAppear", false),
            setting("PSSwitchCell", "Dismiss", "Dismiss", true),
            row({{"cell", "PSGroupCell"}, {"label", "Look"}}),
            slider, list, text,
            row({{"cell", "PSTitleValueCell"}, {"label", "Count"}, {"key", "Count"}, {"defaults", kDomain}, {"default", 0}}),
            row({{"cell", "PSStaticTextCell"}, {"label", "Made here"}}),
            "not a row",
        }},
    };
}

struct HostFixture : PrefsFixture {
    void SetUp() override
    {
        PrefsFixture::SetUp();
        writePlist("/Library/PreferenceLoader/Preferences/Widget.plist", extrasEntry());
        listen(kChanged);
        host = std::make_unique<SettingsHost>();
        ASSERT_TRUE(succeeded(host->openEntry("widget")));
    }
    PSTableCellRef cell(int section, int rowIndex)
    {
        return std::dynamic_pointer_cast<PSTableCell>(
            host->topPane()->table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(rowIndex, section)));
    }
    std::unique_ptr<SettingsHost> host;
};

} // namespace

TEST_F(HostFixture, HostDrawnCellsHaveTheirContentViewHoweverTheyAreMade)
{
    std::vector<std::pair<std::string, UITableViewCellRef>> made {
        {"by name", std::dynamic_pointer_cast<UITableViewCell>(objc_getClass("PSTableCell")->createInstance())},
        {"make", runtime::make<PSTableCell>(UITableViewCellStyleValue1, "row")},
    };
    for (const auto& [how, cell] : made) {
        ASSERT_TRUE(cell) << how;
        ASSERT_EQ(cell->subviews().size(), 1u) << how;
        EXPECT_EQ(cell->subviews().front()->superview(), cell) << how;
        EXPECT_EQ(cell->subviews().front()->subviews().size(), 2u) << how; // a Value1 cell's two labels
    }

    // A row's cell from the pane: the content view under the switch, the slider inside it.
    PSTableCellRef toggle = cell(0, 0);
    ASSERT_EQ(toggle->subviews().size(), 2u);
    EXPECT_EQ(toggle->subviews()[0], toggle->contentView());
    EXPECT_EQ(toggle->subviews()[1], toggle->control());
    PSTableCellRef slider = cell(1, 0);
    EXPECT_EQ(slider->control()->superview(), slider->contentView());
    EXPECT_EQ(slider->contentView()->superview(), slider);
}

TEST_F(HostFixture, ThePlistGivesTheShapeTitleAndFooters)
{
    PSListControllerRef pane = host->topPane();
    EXPECT_EQ(pane->title(), "Widget Extras");
    const UITableViewRef& table = pane->table();
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 2);
    EXPECT_EQ(table->numberOfRowsInSection(1), 5); // the string item is no row
    EXPECT_EQ(pane->titleForFooterInSection(table, 0), "Closes apps on its own.");
    EXPECT_EQ(pane->titleForHeaderInSection(table, 1), "Look");
}


TEST_F(HostFixture, RowsShowTheStoredValueElseTheirDefault)
{
    EXPECT_FALSE(std::dynamic_pointer_cast<UISwitch>(cell(0, 0)->control())->isOn());
    EXPECT_TRUE(std::dynamic_pointer_cast<UISwitch>(cell(0, 1)->control())->isOn()); // "default" true
    EXPECT_EQ(std::dynamic_pointer_cast<UISlider>(cell(1, 0)->control())->value(), 35);
    EXPECT_EQ(cell(1, 1)->detailTextLabel()->text(), "Default");
    EXPECT_EQ(std::dynamic_pointer_cast<UITextField>(cell(1, 2)->control())->placeholder(), "/var/mobile/image.png");
    EXPECT_EQ(cell(1, 3)->detailTextLabel()->text(), "0");

    // Values are read afresh at each display.
    PreferenceFile::forDomain(kDomain).changeWith([](NSDictionary& d) {
        d.setObject(true, "CloseOnAppear");
        d.setObject(false, "Dismiss");
        d.setObject(1, "Background");
        d.setObject(12, "Count");
        return true;
    });
    host->topPane()->reload();
    EXPECT_TRUE(std::dynamic_pointer_cast<UISwitch>(cell(0, 0)->control())->isOn());
    EXPECT_FALSE(std::dynamic_pointer_cast<UISwitch>(cell(0, 1)->control())->isOn());
    EXPECT_EQ(cell(1, 1)->detailTextLabel()->text(), "None");
    EXPECT_EQ(cell(1, 3)->detailTextLabel()->text(), "12");
}

TEST_F(HostFixture, ASwitchFlipWritesTheKeyKeepsTheOthersAndPostsOnce)
{
    PreferenceFile::forDomain(kDomain).setObject("kept", "Label");
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0)));
    NSDictionary file = stored(kDomain);
    ASSERT_TRUE(file.objectForKey("CloseOnAppear"));
    EXPECT_EQ(*file.objectForKey("CloseOnAppear"), PlistValue(true));
    EXPECT_EQ(*file.objectForKey("Label"), PlistValue("kept"));
    EXPECT_EQ(heard(kChanged), 1);
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0)));
    EXPECT_EQ(*stored(kDomain).objectForKey("CloseOnAppear"), PlistValue(false));
    EXPECT_EQ(heard(kChanged), 2);
    EXPECT_FALSE(host->flipSwitch(1, 1)); // a list row has no switch
    EXPECT_FALSE(host->flipSwitch(5, 0));
}

TEST_F(HostFixture, ASliderDragWritesAndPostsEachStep)
{
    ASSERT_TRUE(succeeded(host->slide(1, 0, 60, 8)));
    NSDictionary file = stored(kDomain);
    const PlistValue* height = file.objectForKey("Height");
    ASSERT_TRUE(height);
    EXPECT_NEAR(*height->doubleValue(), 60, 1e-3);
    EXPECT_EQ(heard(kChanged), 1);
    EXPECT_EQ(cell(1, 0)->detailTextLabel()->text(), "60.0");
}

TEST_F(HostFixture, TextIsStoredWhenEditingEndsOnce)
{
    ASSERT_TRUE(succeeded(host->tapRowNamed("Image")));
    ASSERT_TRUE(succeeded(host->typeText("/a.png")));
    EXPECT_FALSE(stored(kDomain).objectForKey("Path")); // nothing yet while typing
    ASSERT_TRUE(succeeded(host->pressReturn()));
    ASSERT_TRUE(stored(kDomain).objectForKey("Path"));
    EXPECT_EQ(*stored(kDomain).objectForKey("Path"), PlistValue("/a.png"));
    EXPECT_EQ(heard(kChanged), 1);
    EXPECT_FALSE(host->typeText("x")); // the keyboard went away

    // Leaving the pane while typing keeps the text.
    ASSERT_TRUE(succeeded(host->tapRowNamed("Image")));
    ASSERT_TRUE(succeeded(host->deleteBackward(4)));
    ASSERT_TRUE(succeeded(host->goBack()));
    EXPECT_EQ(*stored(kDomain).objectForKey("Path"), PlistValue("/a"));
    EXPECT_EQ(heard(kChanged), 2);
}

TEST_F(HostFixture, AListRowPushesItsChoicesWithTheMarkOnTheStoredValue)
{
    ASSERT_TRUE(succeeded(host->tapRowNamed("Background")));
    PSListControllerRef list = host->topPane();
    ASSERT_EQ(list->className(), "PSListItemsController");
    const UITableViewRef& table = list->table();
    ASSERT_EQ(table->numberOfRowsInSection(0), 2);
    auto mark = [&](int r) { return table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, 0))->accessoryType(); };
    EXPECT_EQ(mark(0), UITableViewCellAccessoryCheckmark);
    EXPECT_EQ(mark(1), UITableViewCellAccessoryNone);
    ASSERT_TRUE(succeeded(host->tapRow(0, 1)));
    EXPECT_EQ(*stored(kDomain).objectForKey("Background"), PlistValue(1));
    EXPECT_EQ(heard(kChanged), 1);
    EXPECT_EQ(mark(0), UITableViewCellAccessoryNone);
    EXPECT_EQ(mark(1), UITableViewCellAccessoryCheckmark);
    ASSERT_TRUE(succeeded(host->goBack()));
    EXPECT_EQ(cell(1, 1)->detailTextLabel()->text(), "None");
}

TEST_F(HostFixture, ARowWithoutADomainStoresNothingAndDoesNotCrash)
{
    PSListControllerRef pane = host->topPane();
    auto loose = PSSpecifier::preferenceSpecifierNamed("Loose", pane, {}, {}, nullptr, PSSwitchCell, nullptr);
    loose->setProperty("Loose", "key");
    EXPECT_FALSE(pane->writePreferenceValue(true, loose));
    EXPECT_FALSE(pane->readPreferenceValue(loose));
}

namespace {

// A lock path taken by a directory: the write cannot lock, as root too (unlike a mode).
void blockWrites(const std::string& domain)
{
    std::string lock = PreferenceFile::forDomain(domain).lockPath();
    std::filesystem::remove(lock);
    std::filesystem::create_directories(lock);
}

TEST_F(HostFixture, AFailedStoreIsCountedWithItsFileAndReasonAndTheRowStillPosts)
{
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0)));
    EXPECT_EQ(heard(kChanged), 1);
    unsigned long before = PreferenceFile::failures().count;
    blockWrites(kDomain);
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0))) << "the input itself is done";
    EXPECT_EQ(PreferenceFile::failures().count, before + 1);
    EXPECT_EQ(PreferenceFile::failures().path, PreferenceFile::forDomain(kDomain).hostPath());
    EXPECT_EQ(PreferenceFile::failures().reason, "Is a directory");
    EXPECT_EQ(*stored(kDomain).objectForKey("CloseOnAppear"), PlistValue(true)) << "the old value stays";
    EXPECT_EQ(heard(kChanged), 2) << "the row posts as it would after a write";

    ASSERT_TRUE(succeeded(host->slide(1, 0, 60, 4)));
    EXPECT_EQ(PreferenceFile::failures().count, before + 1 + 4) << "one failure per step's store";

    std::filesystem::remove(PreferenceFile::forDomain(kDomain).lockPath());
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0)));
    EXPECT_EQ(PreferenceFile::failures().count, before + 5) << "a store that works adds none";
}

TEST_F(HostFixture, AReadOnlyPreferencesFolderFailsTheStoreWithItsReason)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "a folder's mode does not stop root";
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0)));
    std::string folder = std::filesystem::path(PreferenceFile::forDomain(kDomain).hostPath()).parent_path();
    unsigned long before = PreferenceFile::failures().count;
    chmod(folder.c_str(), 0555);
    ASSERT_TRUE(succeeded(host->flipSwitch(0, 0)));
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(PreferenceFile::failures().count, before + 1);
    EXPECT_EQ(PreferenceFile::failures().reason, "Permission denied");
    EXPECT_EQ(*stored(kDomain).objectForKey("CloseOnAppear"), PlistValue(true));
}

TEST_F(HostFixture, TextThatNoPropertyListCarriesFailsItsStoreWithThatReason)
{
    unsigned long before = PreferenceFile::failures().count;
    EXPECT_FALSE(PreferenceFile::forDomain(kDomain).setObject(std::string("a\x01"), "Path"));
    EXPECT_EQ(PreferenceFile::failures().count, before + 1);
    EXPECT_EQ(PreferenceFile::failures().reason, "a value holds text a property list cannot carry");
}

TEST_F(HostFixture, TypingRefusesWholeWhatTheFieldRefusesAndPastesALongText)
{
    ASSERT_TRUE(succeeded(host->tapRowNamed("Image")));
    UITextFieldRef field = UITextField::currentEditingField();
    ASSERT_TRUE(field);
    ASSERT_TRUE(succeeded(host->typeText("ab")));

    EXPECT_TRUE(failedSaying(host->typeText("c\x01"), "control characters"));
    EXPECT_TRUE(failedSaying(host->typeText("caf\xE9"), "UTF-8"));
    EXPECT_TRUE(failedSaying(host->typeText(std::string(UITextField::kMaximumLength - 1, 'x')), "at most 1024 characters; it holds 2"));
    EXPECT_EQ(field->text(), "ab");

    std::string longText(SettingsHost::kLongestTypedText + 1, 'y');
    ASSERT_TRUE(succeeded(host->typeText(longText)));
    EXPECT_EQ(field->text(), "ab" + longText);
    ASSERT_TRUE(succeeded(host->clearField()));
    EXPECT_EQ(field->text(), "");
    ASSERT_TRUE(succeeded(host->typeText("/b.png")));
    ASSERT_TRUE(succeeded(host->pressReturn()));
    ASSERT_TRUE(stored(kDomain).objectForKey("Path"));
    EXPECT_EQ(*stored(kDomain).objectForKey("Path"), PlistValue("/b.png"));
}

} // namespace
