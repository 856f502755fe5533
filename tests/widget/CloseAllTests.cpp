// The close-all action against the simulated shell: which apps close, which stay, the
// Newsstand entry, hiding the Center, and the count.

#include "WidgetFixture.h"

namespace {

class CloseAllTest : public WidgetFixture {
protected:
    CloseAllTest()
    {
        _controller = makeController();
        _controller->loadPlaceholderView();
        _controller->loadFullView();
        shell().clearEvents();
    }
    void kill() { _controller->performSelector("kill"); }

    std::shared_ptr<springboard::BBWeeAppController> _controller;
};

TEST_F(CloseAllTest, ClosesEveryListedAppButTheExcludedAndTheFrontOne)
{
    runInBackground({ "com.example.kept", "com.example.closed", "com.example.front", "com.example.other" });
    shell().launch("com.example.front");
    set("com.example.kept", true);
    set("com.example.closed", false);
    shell().insertSwitcherEntry(PlistValue(42), 1); // a damaged entry is skipped

    kill();

    EXPECT_EQ(listed(), (Names { "com.example.front", "(not a string)", "com.example.kept" }));
    EXPECT_TRUE(shell().isRunning("com.example.front"));
    EXPECT_TRUE(shell().isRunning("com.example.kept"));
    EXPECT_FALSE(shell().isRunning("com.example.closed"));
    EXPECT_EQ(events("SBAppSwitcherController"), (Names {
        "SBAppSwitcherController iconCloseBoxTapped: com.example.other",
        "SBAppSwitcherController iconCloseBoxTapped: com.example.closed" }));
    EXPECT_EQ(shell().foregroundApp(), "com.example.front");
}

TEST_F(CloseAllTest, NewsstandIsTakenOffTheListWithoutTheCloseBox)
{
    runInBackground({ "com.apple.newsstand", "com.example.mail" });
    kill();
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(events("SBAppSwitcherModel remove:"), (Names { "SBAppSwitcherModel remove: com.apple.newsstand" }));
    EXPECT_EQ(events("SBAppSwitcherController"), (Names { "SBAppSwitcherController iconCloseBoxTapped: com.example.mail" }));

    // Excluded, it is left alone, not removed.
    runInBackground({ "com.apple.newsstand" });
    set("com.apple.newsstand", true);
    shell().clearEvents();
    kill();
    EXPECT_EQ(listed(), (Names { "com.apple.newsstand" }));
    EXPECT_TRUE(events("SBAppSwitcherModel remove:").empty());
}

TEST_F(CloseAllTest, TheIconModelComesFromTheHomeScreenMapWhenItHasOne)
{
    runInBackground({ "com.example.mail" });
    kill();
    EXPECT_EQ(events("SBIconViewMap iconModel").size(), 1u);

    runInBackground({ "com.example.mail" });
    shell().setHomescreenMapHasIconModel(false);
    shell().clearEvents();
    kill();
    EXPECT_TRUE(events("SBIconViewMap iconModel").empty());
    EXPECT_FALSE(shell().isRunning("com.example.mail"));
}

TEST_F(CloseAllTest, DismissHidesTheCenterOnlyWhileItIsOpen)
{
    set("Dismiss", true);
    kill(); // closed Center: nothing to hide
    EXPECT_TRUE(events("SBBulletinListController hide").empty());

    shell().setListViewActive(true);
    kill(); // an empty list still hides it
    EXPECT_EQ(events("SBBulletinListController hide"), (Names { "SBBulletinListController hideListViewAnimated: YES" }));
    EXPECT_FALSE(shell().listViewIsActive());

    set("Dismiss", false);
    shell().setListViewActive(true);
    shell().clearEvents();
    kill();
    EXPECT_TRUE(events("SBBulletinListController hide").empty());
    EXPECT_TRUE(shell().listViewIsActive());
}

TEST_F(CloseAllTest, EveryRunIsCountedAndAMissingFileIsCreated)
{
    // The full build made the file; take it away to see the count survive.
    ASSERT_TRUE(fs::remove(_device.hostPath(RVXSettings::path)));
    kill();
    EXPECT_EQ(settings(), (NSDictionary { { "Count", 1 } }));
    set("Label", "Kept");
    kill();
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(RVXSettings::stringFor(settings(), "Label"), "Kept");
}

} // namespace
