#include "PrefsFixture.h"

#include "ui/UIFont.h"
#include "ui/UIImageView.h"
#include "ui/UINavigationController.h"
#include "ui/UISlider.h"
#include "ui/UITextField.h"

#include <sys/stat.h>

namespace {

constexpr int kLabelFieldTag = 99;

class FontPaneTest : public PrefsFixture {
protected:
    void open() { openPane("Label & Font"); }

    template<typename T>
    std::vector<std::shared_ptr<T>> controlsIn(const UITableViewCellRef& shown)
    {
        std::vector<std::shared_ptr<T>> found;
        if (!shown)
            return found;
        for (const auto& view : shown->contentView()->subviews()) {
            if (auto control = std::dynamic_pointer_cast<T>(view))
                found.push_back(control);
        }
        return found;
    }
    UITextFieldRef labelField()
    {
        auto fields = controlsIn<UITextField>(cell(0, 0));
        return fields.size() == 1 ? fields[0] : nullptr;
    }
    UISliderRef sizeSlider()
    {
        auto sliders = controlsIn<UISlider>(cell(2, 0));
        return sliders.size() == 1 ? sliders[0] : nullptr;
    }
    std::string detail(int section, int row) { return cell(section, row)->detailTextLabel()->text(); }
    std::string detailFont(int section, int row) { return cell(section, row)->detailTextLabel()->font()->fontName(); }

    void scrollTo(int section, int row)
    {
        top()->table()->scrollToRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
        top()->table()->layoutIfNeeded();
    }

    ino_t settingsInode()
    {
        struct stat info {};
        return stat(settingsHostPath().c_str(), &info) == 0 ? info.st_ino : 0;
    }

    // Exactly one label field in the Label row, one slider in the Size row, none elsewhere.
    void expectOneOfEachControl()
    {
        const std::pair<int, int> rows[] = { { 0, 0 }, { 1, 0 }, { 1, 1 }, { 1, 2 }, { 2, 0 } };
        for (auto [section, row] : rows) {
            auto shown = cell(section, row);
            ASSERT_TRUE(shown) << section << "," << row;
            size_t fields = controlsIn<UITextField>(shown).size();
            size_t sliders = controlsIn<UISlider>(shown).size();
            EXPECT_EQ(fields, section == 0 ? 1u : 0u) << section << "," << row;
            EXPECT_EQ(sliders, section == 2 ? 1u : 0u) << section << "," << row;
        }
    }
};

TEST_F(FontPaneTest, FirstOpeningWithoutAFileCreatesItAndPostsOnce)
{
    open();
    EXPECT_EQ(settings(), (NSDictionary { { "Family", "Helvetica" } }));
    EXPECT_EQ(posts(), 1);

    ASSERT_TRUE(labelField());
    EXPECT_EQ(labelField()->text(), "Tap to close Apps");
    EXPECT_EQ(cell(0, 0)->textLabel()->text(), "Label");
    EXPECT_EQ(cell(1, 0)->textLabel()->text(), "Font Color");
    EXPECT_EQ(cell(1, 1)->textLabel()->text(), "Font Family");
    EXPECT_EQ(detail(1, 1), "Helvetica");
    EXPECT_EQ(detailFont(1, 1), "Helvetica");
    EXPECT_EQ(cell(1, 1)->accessoryType(), UITableViewCellAccessoryDisclosureIndicator);
    EXPECT_EQ(cell(1, 2)->textLabel()->text(), "Font Style");
    EXPECT_EQ(detail(1, 2), "Default");
    EXPECT_EQ(detailFont(1, 2), "Helvetica");
    ASSERT_TRUE(sizeSlider());
    EXPECT_FLOAT_EQ(sizeSlider()->value(), 17);
    EXPECT_FLOAT_EQ(sizeSlider()->minimumValue(), 10);
    EXPECT_FLOAT_EQ(sizeSlider()->maximumValue(), 50);
    EXPECT_EQ(detail(2, 0), "17");

    auto swatch = cell(1, 0)->accessoryView();
    ASSERT_TRUE(swatch);
    EXPECT_FALSE(std::dynamic_pointer_cast<UIImageView>(swatch));
    EXPECT_TRUE(swatch->backgroundColor()->isEqual(*UIColor::whiteColor()));
}

TEST_F(FontPaneTest, LaterOpeningsWriteNothing)
{
    open();
    ino_t created = settingsInode();
    ASSERT_NE(created, 0u);
    PostRecorder::clear();
    ASSERT_TRUE(succeeded(host().goBack()));
    ASSERT_TRUE(succeeded(host().tapRowNamed("Label & Font")));
    EXPECT_EQ(settingsInode(), created);
    EXPECT_EQ(posts(), 0);
}

TEST_F(FontPaneTest, AStoredFamilyIsKeptAndPresentValuesShowUnchanged)
{
    writeSettings({ { "Family", "Courier" }, { "Label", "" }, { "Size", 23.9 }, { "Style", "Helvetica-Bold" } });
    ino_t before = settingsInode();
    open();
    EXPECT_EQ(settingsInode(), before);
    EXPECT_EQ(posts(), 0);
    ASSERT_TRUE(labelField());
    EXPECT_EQ(labelField()->text(), "");
    EXPECT_EQ(detail(1, 1), "Courier");
    EXPECT_EQ(detailFont(1, 1), "Courier");
    EXPECT_EQ(detail(1, 2), "Helvetica-Bold");
    EXPECT_EQ(detailFont(1, 2), "Helvetica-Bold");
    EXPECT_EQ(detail(2, 0), "23");
    EXPECT_FLOAT_EQ(sizeSlider()->value(), 23.9f);
}

TEST_F(FontPaneTest, AnUnreadableFileIsKeptAsideAndAFreshOneHoldsTheFamily)
{
    writeSettingsBytes("this is not a property list");
    open();
    EXPECT_EQ(settings(), (NSDictionary { { "Family", "Helvetica" } }));
    EXPECT_EQ(posts(), 1);
    std::ifstream kept(settingsHostPath() + ".corrupt");
    std::string bytes((std::istreambuf_iterator<char>(kept)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, "this is not a property list");
    EXPECT_EQ(detail(1, 1), "Helvetica");
}

TEST_F(FontPaneTest, AFailedFirstFamilyWriteStillPosts)
{
    // A directory where the writers' lock file goes: the write cannot start.
    std::filesystem::create_directories(settingsHostPath() + ".lock");
    open();
    EXPECT_FALSE(settingsExist());
    EXPECT_EQ(posts(), 1);
}

TEST_F(FontPaneTest, TheColourSwatchShowsTheStoredColourOverTheTiles)
{
    writeSettings({ { "Family", "Helvetica" }, { "TextColor", "default" } });
    open();
    auto plain = cell(1, 0)->accessoryView();
    ASSERT_TRUE(plain);
    EXPECT_FALSE(std::dynamic_pointer_cast<UIImageView>(plain));
    EXPECT_TRUE(plain->backgroundColor()->isEqual(*UIColor::whiteColor()));
    ASSERT_TRUE(succeeded(host().goBack()));

    writeSettings({ { "Family", "Helvetica" }, { "TextColor", "0.000000,1.000000,1.000000,0.500000" } });
    ASSERT_TRUE(succeeded(host().tapRowNamed("Label & Font")));
    auto backdrop = std::dynamic_pointer_cast<UIImageView>(cell(1, 0)->accessoryView());
    ASSERT_TRUE(backdrop);
    EXPECT_EQ(backdrop->frame().size, (CGSize { 80, 30 }));
    EXPECT_TRUE(backdrop->layer()->masksToBounds());
    EXPECT_EQ(backdrop->layer()->cornerRadius(), 6);
    ASSERT_EQ(backdrop->subviews().size(), 1u);
    auto swatch = backdrop->subviews()[0];
    EXPECT_EQ(swatch->frame(), (CGRect { { 0, 0 }, { 80, 30 } }));
    EXPECT_TRUE(swatch->backgroundColor()->isEqual(*UIColor::colorWithHue(0, 1, 1, 0.5)));
    EXPECT_EQ(swatch->layer()->borderWidth(), 0.75);
    EXPECT_EQ(swatch->layer()->cornerRadius(), 6);
}

TEST_F(FontPaneTest, RedisplaysLeaveOneLabelFieldAndOneSlider)
{
    open();
    expectOneOfEachControl();
    for (int round = 0; round < 4; ++round) {
        top()->table()->reloadData();
        top()->table()->layoutIfNeeded();
        expectOneOfEachControl();
    }
    top()->viewWillAppear(false);
    top()->table()->layoutIfNeeded();
    expectOneOfEachControl();
    top()->performSelector("relTable");
    top()->table()->layoutIfNeeded();
    expectOneOfEachControl();
    for (const auto& [section, row] : { std::pair { 0, 0 }, std::pair { 2, 0 } })
        top()->willDisplayCell(top()->table(), cell(section, row), NSIndexPath::indexPathForRow(row, section));
    expectOneOfEachControl();
}

TEST_F(FontPaneTest, ControlsAreWiredToThePane)
{
    open();
    auto pane = std::static_pointer_cast<NSObject>(top());
    auto field = labelField();
    ASSERT_TRUE(field);
    EXPECT_EQ(field->tag(), kLabelFieldTag);
    EXPECT_EQ(field->actionsForTarget(pane, UIControlEventEditingChanged), std::vector<std::string> { "savefield:" });
    EXPECT_EQ(field->actionsForTarget(pane, UIControlEventEditingDidEndOnExit), std::vector<std::string> { "resign:" });
    EXPECT_EQ(field->textAlignment(), UITextAlignmentRight);
    EXPECT_EQ(field->returnKeyType(), UIReturnKeyDone);
    EXPECT_EQ(field->autocorrectionType(), UITextAutocorrectionTypeNo);
    EXPECT_EQ(field->autocapitalizationType(), UITextAutocapitalizationTypeNone);
    EXPECT_EQ(field->font()->fontName(), "Helvetica");

    auto slider = sizeSlider();
    ASSERT_TRUE(slider);
    EXPECT_EQ(slider->actionsForTarget(pane, UIControlEventValueChanged), std::vector<std::string> { "slide:" });
    EXPECT_EQ(slider->actionsForTarget(pane, UIControlEventTouchUpInside), std::vector<std::string> { "post" });
    EXPECT_EQ(slider->actionsForTarget(pane, UIControlEventTouchUpOutside), std::vector<std::string> { "post" });

    for (const char* selector : { "savefield:", "resign:", "slide:", "post", "saveclosing:", "switchHighlight:",
             "save", "def", "dismissColor", "relTable" })
        EXPECT_TRUE(top()->respondsToSelector(selector)) << selector;

    // The lift of the slider announces the size.
    PostRecorder::clear();
    top()->performSelector("post");
    EXPECT_EQ(posts(), 1);
}

TEST_F(FontPaneTest, ControlsSitByTheContentWidthAndFollowARotation)
{
    open();
    auto expectPlacedIn = [&](const char* when) -> CGFloat {
        SCOPED_TRACE(when);
        scrollTo(0, 0);
        auto field = labelField();
        if (!field) {
            ADD_FAILURE() << "no label field";
            return 0;
        }
        CGFloat labelWidth = cell(0, 0)->contentView()->frame().size.width;
        EXPECT_EQ(field->frame(), (CGRect { { labelWidth - 185, 12 }, { 176, 21 } }));
        scrollTo(2, 0);
        auto slider = sizeSlider();
        if (!slider) {
            ADD_FAILURE() << "no slider";
            return 0;
        }
        auto content = cell(2, 0)->contentView();
        CGFloat sizeWidth = content->frame().size.width;
        EXPECT_EQ(slider->frame().size.width, sizeWidth - 45);
        EXPECT_EQ(slider->frame().origin.x, 12);
        EXPECT_EQ(slider->center().y, content->center().y);
        return labelWidth;
    };
    CGFloat portrait = expectPlacedIn("portrait");

    // The Settings app turns: its views take the landscape size, then the pane hears of it.
    CGFloat width = SettingsHost::kScreenHeight;
    CGFloat height = SettingsHost::kScreenWidth;
    host().window()->setFrame({ { 0, 0 }, { width, height } });
    host().navigation()->view()->setFrame({ { 0, 0 }, { width, height } });
    top()->view()->setFrame({ { 0, UINavigationController::kBarHeight }, { width, height - UINavigationController::kBarHeight } });
    host().navigation()->rotateToInterfaceOrientation(UIInterfaceOrientationLandscapeLeft, 0.4);
    top()->table()->layoutIfNeeded();
    advance(0.5);
    top()->table()->layoutIfNeeded();
    CGFloat landscape = expectPlacedIn("landscape");
    EXPECT_GT(landscape, portrait);
}

TEST_F(FontPaneTest, RowTapsOnlyDeselect)
{
    open();
    for (auto [section, row] : { std::pair { 0, 0 }, std::pair { 2, 0 } }) {
        top()->didSelectRowAtIndexPath(top()->table(), NSIndexPath::indexPathForRow(row, section));
        EXPECT_FALSE(top()->table()->indexPathForSelectedRow());
    }
    EXPECT_EQ(settings(), (NSDictionary { { "Family", "Helvetica" } }));
}

} // namespace
