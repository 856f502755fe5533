// The label field, the size slider, the row taps and the handlers no row sends.

#include "EditFixture.h"

#include "ui/UISwitch.h"

namespace {

// Reads the Settings file and counts the posts at every step of a drag, after the pane's
// own action for that step has run.
class StepProbe : public NSObject {
    RVX_OBJECT(StepProbe)
public:
    void step(UISliderRef slider)
    {
        sizes.push_back(RVXSettings::floatFor(RVXSettings::read(), "Size", -1));
        values.push_back(slider ? slider->value() : -1);
        posts.push_back(PostRecorder::count(RVXSettings::notificationName));
    }
    std::vector<float> sizes;
    std::vector<float> values;
    std::vector<int> posts;
};

} // namespace

RVX_DEFINE_CLASS(StepProbe, NSObject, cls.addMethod("step:", runtime::method(&StepProbe::step)))

namespace {

using LabelFieldTest = EditFixture;

TEST_F(LabelFieldTest, EveryTypedCharacterIsStoredAndAnnounced)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "" } });
    open();
    editLabel();
    int before = posts();

    type("G");
    EXPECT_EQ(stored("Label"), "G");
    EXPECT_EQ(posts(), before + 1);
    type("o");
    EXPECT_EQ(stored("Label"), "Go");
    EXPECT_EQ(posts(), before + 2);

    // Other keys survive each write of the whole file.
    EXPECT_EQ(stored("Family"), "Helvetica");
}

TEST_F(LabelFieldTest, ClearingStoresAnEmptyTextThatTheNextVisitShows)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "Go" } });
    open();
    editLabel();
    ASSERT_TRUE(succeeded(host().deleteBackward(2)));
    EXPECT_EQ(stored("Label"), "");

    ASSERT_TRUE(succeeded(host().goBack()));
    ASSERT_TRUE(succeeded(host().tapRowNamed("Label & Font")));
    ASSERT_TRUE(labelField());
    EXPECT_EQ(labelField()->text(), ""); // not "Tap to close Apps"
}

TEST_F(LabelFieldTest, TheReturnKeyClosesTheKeyboardAndWritesNothing)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "" } });
    open();
    editLabel();
    type("Bye");
    ino_t written = settingsInode();
    int before = posts();

    ASSERT_TRUE(succeeded(host().pressReturn()));
    EXPECT_FALSE(UITextField::currentEditingField());
    EXPECT_EQ(settingsInode(), written);
    EXPECT_EQ(posts(), before);
    EXPECT_EQ(stored("Label"), "Bye");
}

TEST_F(LabelFieldTest, TextBeyondASCIIIsStoredWhole)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "" } });
    open();
    editLabel();
    type("Schließen ✕");
    EXPECT_EQ(stored("Label"), "Schließen ✕");
    // One change per character: eleven characters, eleven posts.
    EXPECT_EQ(posts(), 11);
}

class SizeSliderTest : public EditFixture {
protected:
    std::shared_ptr<StepProbe> probe()
    {
        auto probe = std::make_shared<StepProbe>();
        sizeSlider()->addTarget(probe, "step:", UIControlEventValueChanged);
        return probe;
    }
};

TEST_F(SizeSliderTest, ADragWritesEveryStepAndPostsOnceAtTheLiftInsideOrOutside)
{
    open();
    for (CGFloat liftBelow : { 0.0, 300.0 }) {
        SCOPED_TRACE(liftBelow == 0 ? "lifted inside" : "lifted outside");
        writeSettings({ { "Family", "Helvetica" }, { "Size", 17.0 } });
        ASSERT_TRUE(sizeSlider());
        sizeSlider()->setValue(17);
        auto steps = probe();
        int before = posts();

        sizeSlider()->dragTo(29.73f, 8, liftBelow);

        ASSERT_EQ(steps->sizes.size(), 8u);
        for (size_t i = 0; i < steps->sizes.size(); ++i) {
            EXPECT_EQ(steps->sizes[i], steps->values[i]) << "step " << i;
            EXPECT_EQ(steps->posts[i], before) << "step " << i;
        }
        EXPECT_NEAR(sizeSlider()->value(), 29.73f, 1e-4);
        EXPECT_EQ(RVXSettings::floatFor(settings(), "Size"), sizeSlider()->value()); // not rounded
        EXPECT_EQ(sizeDetail(), "29");
        EXPECT_EQ(posts(), before + 1);
        EXPECT_EQ(stored("Family"), "Helvetica");
    }
}

TEST_F(SizeSliderTest, TheNumberFollowsTheSliderAndTheNextVisitShowsTheStoredSize)
{
    open();
    ASSERT_TRUE(succeeded(host().slide(2, 0, 44.5f, 5)));
    EXPECT_EQ(sizeDetail(), "44");
    ASSERT_TRUE(succeeded(host().slide(2, 0, 10, 5)));
    EXPECT_EQ(sizeDetail(), "10");
    EXPECT_EQ(RVXSettings::floatFor(settings(), "Size"), 10);

    ASSERT_TRUE(succeeded(host().goBack()));
    ASSERT_TRUE(succeeded(host().tapRowNamed("Label & Font")));
    EXPECT_EQ(sizeSlider()->value(), 10);
    EXPECT_EQ(sizeDetail(), "10");
}

using RowTapTest = EditFixture;

TEST_F(RowTapTest, EachRowDoesWhatItShows)
{
    open();
    auto navigation = host().navigation();
    size_t depth = navigation->viewControllers().size();

    // The Label and Size rows only deselect.
    for (auto [section, row] : { std::pair { 0, 0 }, std::pair { 2, 0 } }) {
        ASSERT_TRUE(succeeded(host().tapRow(section, row)));
        EXPECT_EQ(navigation->viewControllers().size(), depth);
        EXPECT_FALSE(overlay());
        EXPECT_FALSE(top()->table()->indexPathForSelectedRow());
    }

    ASSERT_TRUE(succeeded(host().tapRowNamed("Font Family")));
    EXPECT_EQ(top()->className(), "RVXFontPicker");
    ASSERT_TRUE(succeeded(host().goBack()));
    EXPECT_FALSE(top()->table()->indexPathForSelectedRow());

    ASSERT_TRUE(succeeded(host().tapRowNamed("Font Style")));
    EXPECT_EQ(top()->className(), "RVXFontStyle");
    ASSERT_TRUE(succeeded(host().goBack()));

    openOverlay();
    EXPECT_TRUE(overlay());
    EXPECT_EQ(navigation->viewControllers().size(), depth);
    EXPECT_FALSE(top()->table()->indexPathForSelectedRow());
}

using GlowTest = EditFixture;

TEST_F(GlowTest, TheHandlersNoRowSendsStoreTheirKeyAndPost)
{
    open();
    auto glow = std::make_shared<UISwitch>(CGRectZero);
    glow->setOn(false);
    ASSERT_TRUE(pane()->respondsToSelector("switchHighlight:"));
    int before = posts();
    pane()->performSelector("switchHighlight:", glow);
    EXPECT_EQ(storedBool("Highlight"), false);
    glow->setOn(true);
    pane()->performSelector("switchHighlight:", glow);
    EXPECT_EQ(storedBool("Highlight"), true);

    auto closing = std::make_shared<UITextField>(CGRectZero);
    closing->setText("Closing...");
    pane()->performSelector("saveclosing:", closing);
    EXPECT_EQ(stored("Closing"), "Closing...");
    EXPECT_EQ(posts(), before + 3);

    // A sender of another kind, or none, changes nothing.
    pane()->performSelector("switchHighlight:", closing);
    pane()->performSelector("saveclosing:", nullptr);
    pane()->performSelector("savefield:", glow);
    pane()->performSelector("slide:", nullptr);
    EXPECT_EQ(posts(), before + 3);
    EXPECT_EQ(storedBool("Highlight"), true);
}

TEST_F(GlowTest, TheExtrasPaneSwitchStoresHighlightAndPosts)
{
    openPane("Extras");
    auto path = host().indexPathOfRowNamed("Glow When Touched");
    ASSERT_TRUE(path) << "no \"Glow When Touched\" row";
    int before = posts();
    ASSERT_TRUE(succeeded(host().flipSwitch(path->section(), path->row())));
    EXPECT_EQ(storedBool("Highlight"), false); // shown on by default
    EXPECT_EQ(posts(), before + 1);
}

} // namespace
