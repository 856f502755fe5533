#include "PrefsFixture.h"

#include <dlfcn.h>

namespace {

// Out of line: GCC 12 misreads the variant's move inside make_shared when inlined here.
[[gnu::noinline]] std::shared_ptr<PlistObject> boxed(const PlistValue& value)
{
    return std::make_shared<PlistObject>(value);
}

// Every object answers the quick alert messages once the bundle has loaded.
class QuickAlertTest : public PrefsFixture {
protected:
    void SetUp() override
    {
        openRuvex();
        _title = static_cast<std::string*>(dlsym(RTLD_DEFAULT, "titleString"));
        ASSERT_TRUE(_title);
        _title->clear();
    }

    void setTitle(const std::shared_ptr<PlistObject>& title) { _object->performSelector("setQuickQlertTitle:", title); }
    void alert(const std::shared_ptr<PlistObject>& message) { _object->performSelector("quickAlert:", message); }
    static std::shared_ptr<PlistObject> text(const char* value) { return boxed(std::string(value)); }
    UIAlertViewRef lastAlert() { return host().modals().topAlert(); }

    std::shared_ptr<NSObject> _object = std::make_shared<NSObject>();
    std::string* _title = nullptr;
};

TEST_F(QuickAlertTest, EveryObjectAnswersTheMessages)
{
    for (const char* selector : { "setQuickQlertTitle:", "quickAlert:", "quickAlertWithObject:withObject:" }) {
        EXPECT_TRUE(_object->respondsToSelector(selector)) << selector;
        EXPECT_TRUE(top()->respondsToSelector(selector)) << selector;
    }
}

TEST_F(QuickAlertTest, AnAlertWithoutATitleSetHasNone)
{
    alert(text("Saved"));
    auto shown = lastAlert();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->title(), "");
    EXPECT_EQ(shown->message(), "Saved");
    EXPECT_TRUE(shown->isVisible());
    ASSERT_EQ(shown->numberOfButtons(), 1);
    EXPECT_EQ(shown->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(shown->cancelButtonIndex(), 0);
    EXPECT_FALSE(shown->delegate());
}

TEST_F(QuickAlertTest, ATitleServesOnlyTheNextAlert)
{
    setTitle(text("Ruvex Pro"));
    EXPECT_EQ(*_title, "Ruvex Pro");
    alert(text("first"));
    EXPECT_EQ(lastAlert()->title(), "Ruvex Pro");
    EXPECT_EQ(*_title, "");
    alert(text("second"));
    EXPECT_EQ(lastAlert()->title(), "");
}

TEST_F(QuickAlertTest, TheLastTitleSetWins)
{
    setTitle(text("one"));
    setTitle(boxed(2));
    alert(boxed(3.5));
    EXPECT_EQ(lastAlert()->title(), "2");
    EXPECT_EQ(lastAlert()->message(), "3.5");
}

TEST_F(QuickAlertTest, TwoObjectsShowOnTwoLines)
{
    _object->performSelector("quickAlertWithObject:withObject:", boxed(NSArray { "Label", 17 }));
    EXPECT_EQ(lastAlert()->message(), "Label\n17");
    _object->performSelector("quickAlert:", nullptr);
    EXPECT_EQ(lastAlert()->message(), "(null)");
}

} // namespace
