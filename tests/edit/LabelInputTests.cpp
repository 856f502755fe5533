// What the label field takes from the keyboard, how many stores a long text costs, and a
// store that fails while the pane still shows and announces the text.

#include "EditFixture.h"

#include <filesystem>

namespace {

using LabelInputTest = EditFixture;

TEST_F(LabelInputTest, AControlByteIsRefusedAndTheEditsAroundItAreStored)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "" } });
    open();
    editLabel();
    type("Hello");
    int posts = this->posts();
    for (std::string refused : { std::string("\x01"), std::string("\x7f"), std::string("a\tb"), std::string("\xff") }) {
        EXPECT_FALSE(host().typeText(refused));
        EXPECT_EQ(labelField()->text(), "Hello");
    }
    EXPECT_EQ(this->posts(), posts) << "a refused text stores and posts nothing";
    type("World");
    ASSERT_TRUE(succeeded(host().pressReturn()));
    EXPECT_EQ(stored("Label"), "HelloWorld");
}

TEST_F(LabelInputTest, ALongTextIsOneStoreAndAShortOneAStorePerCharacter)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "" } });
    open();
    editLabel();
    int before = posts();
    std::string shortText(SettingsHost::kLongestTypedText, 's');
    type(shortText);
    EXPECT_EQ(posts(), before + int(SettingsHost::kLongestTypedText)) << "the widget follows a typed text";

    before = posts();
    std::string longText(UITextField::kMaximumLength - SettingsHost::kLongestTypedText, 'l');
    type(longText);
    EXPECT_EQ(posts(), before + 1);
    EXPECT_EQ(stored("Label"), shortText + longText);

    EXPECT_TRUE(failedSaying(host().typeText("x"), "at most 1024")) << "the field is full";

    before = posts();
    ASSERT_TRUE(succeeded(host().clearField()));
    EXPECT_EQ(posts(), before + 1) << "a long text is cleared in one change";
    EXPECT_EQ(stored("Label"), "");
}

TEST_F(LabelInputTest, AStoreThatFailsIsCountedWhileThePaneShowsAndPostsTheText)
{
    writeSettings({ { "Family", "Helvetica" }, { "Label", "Old" } });
    open();
    editLabel();
    unsigned long failed = PreferenceFile::failures().count;
    std::filesystem::remove(RVXSettings::file().lockPath());
    std::filesystem::create_directories(RVXSettings::file().lockPath());
    int before = posts();
    type("!");
    EXPECT_EQ(labelField()->text(), "Old!");
    EXPECT_EQ(posts(), before + 1);
    EXPECT_EQ(PreferenceFile::failures().count, failed + 1);
    EXPECT_EQ(PreferenceFile::failures().path, settingsHostPath());
    EXPECT_EQ(stored("Label"), "Old");

    std::filesystem::remove(RVXSettings::file().lockPath());
    type("?");
    EXPECT_EQ(PreferenceFile::failures().count, failed + 1);
    EXPECT_EQ(stored("Label"), "Old!?");
}

} // namespace
