#include "PrefsFixture.h"

#include "RVXFontChoice.h"

#include "ui/UIFont.h"

#include <algorithm>

namespace {

using RVXFontChoice::defaultStyle;

TEST(DefaultStyle, TheFirstRegularFaceElseTheShortestListedFirst)
{
    EXPECT_EQ(defaultStyle({ "Sample-Bold", "Sample", "Sample-Regular" }), "Sample-Regular");
    EXPECT_EQ(defaultStyle({ "Sample-Light", "Sample-Bold", "Sample-Thin", "Sample-Oblique" }), "Sample-Bold");
    EXPECT_EQ(defaultStyle({ "A-Regular", "B-Regular" }), "A-Regular");
    // The suffix is case-sensitive and must end the name.
    EXPECT_EQ(defaultStyle({ "Sample-regular", "Sample-RegularItalic", "Sample-Bk" }), "Sample-Bk");
    EXPECT_EQ(defaultStyle({ "Solo" }), "Solo");
    EXPECT_EQ(defaultStyle({}), std::nullopt);
}

TEST(DefaultStyle, LengthCountsUTF16Units)
{
    // "é" is two bytes but one unit, so the first name is shorter than the second.
    EXPECT_EQ(defaultStyle({ "Fonté-Bd", "Fonte-Bold" }), "Fonté-Bd");
    // A character outside the basic plane takes two units.
    EXPECT_EQ(defaultStyle({ "F\xF0\x9F\x98\x80-A", "Fo-AB" }), "F\xF0\x9F\x98\x80-A");
    EXPECT_EQ(defaultStyle({ "F\xF0\x9F\x98\x80-AB", "Fo-ABC" }), "F\xF0\x9F\x98\x80-AB");
}

class FontPickerTest : public PrefsFixture {
protected:
    void SetUp() override
    {
        openPane("Label & Font");
        _pane = top();
    }

    void push(const char* className)
    {
        auto picker = std::dynamic_pointer_cast<PSListController>(objc_getClass(className)->createInstance());
        ASSERT_TRUE(picker) << className;
        _pane->pushController(picker, false);
        ASSERT_EQ(top(), picker);
    }

    std::vector<std::string> checkedRows()
    {
        std::vector<std::string> checked;
        for (const auto& shown : top()->table()->visibleCells()) {
            if (shown->accessoryType() == UITableViewCellAccessoryCheckmark)
                checked.push_back(shown->textLabel()->text());
        }
        return checked;
    }

    void tap(const std::string& name) { ASSERT_TRUE(succeeded(host().tapRowNamed(name))); }

    // A family of several faces, one ending in "Regular", and that face.
    std::pair<std::string, std::string> familyWithRegularFace()
    {
        for (const auto& family : UIFont::familyNames()) {
            auto faces = UIFont::fontNamesForFamilyName(family);
            if (faces.size() < 2)
                continue;
            for (const auto& face : faces) {
                if (face.ends_with("Regular"))
                    return { family, face };
            }
        }
        return {};
    }

    PSListControllerRef _pane;
};

TEST_F(FontPickerTest, FamiliesAreListedInThePlatformsOrderEachInItsOwnFont)
{
    push("RVXFontPicker");
    auto families = UIFont::familyNames();
    const auto& rows = top()->specifiers();
    ASSERT_EQ(rows.size(), families.size());
    for (size_t index = 0; index < rows.size(); ++index) {
        EXPECT_EQ(rows[index]->name(), families[index]);
        EXPECT_EQ(rows[index]->cellType(), PSListItemCell);
    }
    EXPECT_EQ(checkedRows(), std::vector<std::string> { "Helvetica" });
    auto path = host().indexPathOfRowNamed("Helvetica");
    ASSERT_TRUE(path);
    top()->table()->scrollToRowAtIndexPath(path);
    EXPECT_EQ(cell(path->section(), path->row())->textLabel()->font()->fontName(), "Helvetica");
}

TEST_F(FontPickerTest, ChoosingAFamilyStoresItsRegularFaceAndPostsOnce)
{
    auto [family, regular] = familyWithRegularFace();
    if (family.empty())
        GTEST_SKIP() << "no family with a Regular face installed";
    push("RVXFontPicker");
    PostRecorder::clear();
    tap(family);
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Family"), family);
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Style"), regular);
    EXPECT_EQ(posts(), 1);
    EXPECT_EQ(checkedRows(), std::vector<std::string> { family });
    EXPECT_FALSE(top()->table()->indexPathForSelectedRow());

    // Back on the label pane the family and style rows show the choice.
    ASSERT_TRUE(succeeded(host().goBack()));
    EXPECT_EQ(cell(1, 1)->detailTextLabel()->text(), family);
    EXPECT_EQ(cell(1, 2)->detailTextLabel()->text(), regular);
}

TEST_F(FontPickerTest, AStyleOfTheNewFamilyStaysAndAForeignOneIsReplaced)
{
    writeSettings({ { "Family", "Helvetica" }, { "Style", "Helvetica-Bold" } });
    push("RVXFontPicker");
    PostRecorder::clear();
    tap("Helvetica");
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Style"), "Helvetica-Bold");
    EXPECT_EQ(posts(), 1);

    writeSettings({ { "Family", "Courier" }, { "Style", "Courier-Bold" } });
    tap("Helvetica");
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Family"), "Helvetica");
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Style"), "Helvetica");
    EXPECT_EQ(posts(), 2);
}

TEST_F(FontPickerTest, CheckMarksFollowTheFileWhenARowScrollsBackIn)
{
    auto families = UIFont::familyNames();
    ASSERT_GE(families.size(), 6u);
    writeSettings({ { "Family", families.front() } });
    push("RVXFontPicker");
    auto table = top()->table();
    table->setFrame({ { 0, 0 }, { 320, 100 } });
    table->layoutIfNeeded();
    EXPECT_EQ(checkedRows(), std::vector<std::string> { families.front() });

    // The first row leaves the screen, so the tap cannot clear its mark on a cell.
    tap(families.back());
    EXPECT_FALSE(table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0)));
    EXPECT_EQ(checkedRows(), std::vector<std::string> { families.back() });
    table->scrollToRowAtIndexPath(NSIndexPath::indexPathForRow(0, 0));
    table->layoutIfNeeded();
    EXPECT_TRUE(checkedRows().empty());
    table->scrollToRowAtIndexPath(NSIndexPath::indexPathForRow(int(families.size()) - 1, 0));
    table->layoutIfNeeded();
    EXPECT_EQ(checkedRows(), std::vector<std::string> { families.back() });
}

TEST_F(FontPickerTest, TheStylePickerListsTheStoredFamilysFaces)
{
    auto [family, regular] = familyWithRegularFace();
    if (family.empty())
        GTEST_SKIP() << "no family with a Regular face installed";
    push("RVXFontPicker");
    tap(family);
    ASSERT_TRUE(succeeded(host().goBack()));
    push("RVXFontStyle");
    auto faces = UIFont::fontNamesForFamilyName(family);
    const auto& rows = top()->specifiers();
    ASSERT_EQ(rows.size(), faces.size());
    for (size_t index = 0; index < rows.size(); ++index)
        EXPECT_EQ(rows[index]->name(), faces[index]);
    EXPECT_EQ(checkedRows(), std::vector<std::string> { regular });

    auto other = std::find_if(faces.begin(), faces.end(), [&](const std::string& face) { return face != regular; });
    ASSERT_NE(other, faces.end());
    PostRecorder::clear();
    tap(*other);
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Style"), *other);
    EXPECT_EQ(checkedRows(), std::vector<std::string> { *other });
    EXPECT_EQ(posts(), 1);
    // The checked row again writes the same value and still announces it.
    tap(*other);
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Style"), *other);
    EXPECT_EQ(posts(), 2);
}

TEST_F(FontPickerTest, WithoutAStoredFamilyTheStylePickerIsEmpty)
{
    writeSettings({ { "Label", "x" } });
    push("RVXFontStyle");
    EXPECT_TRUE(top()->specifiers().empty());
}

} // namespace
