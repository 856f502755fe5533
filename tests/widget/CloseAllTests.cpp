// The close-all action against the simulated shell: which apps close, which stay, the
// Newsstand entry, hiding the Center, and the count.

#include "WidgetFixture.h"

#include <algorithm>

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

// The shell's indexed lists at a size where a slip in their bookkeeping shows: every tenth
// app excluded, one in front, an app launched twice, and a damaged entry among them.
TEST_F(CloseAllTest, AThousandAppsCloseAndTheKeptOnesKeepTheirOrder)
{
    Names apps;
    for (int i = 0; i < 1000; ++i)
        apps.push_back("com.example.app" + std::to_string(i));
    runInBackground(apps);
    shell().launch("com.example.app500"); // again: to the front, listed once
    shell().insertSwitcherEntry(PlistValue(7), 3);
    RVXSettings::changeWith([](NSDictionary& settings) {
        for (int i = 0; i < 1000; i += 10)
            settings.setObject(true, "com.example.app" + std::to_string(i));
        return true;
    });
    kill();
    Names kept = listed();
    ASSERT_EQ(kept.size(), 101u); // the 100 excluded (the front one among them) and the damaged entry
    EXPECT_EQ(kept[0], "com.example.app500");
    EXPECT_EQ(kept[1], "(not a string)");
    EXPECT_EQ(kept[2], "com.example.app990"); // then the most recently launched first
    EXPECT_EQ(kept.back(), "com.example.app0");
    EXPECT_EQ(std::count(kept.begin(), kept.end(), "com.example.app500"), 1);
    EXPECT_EQ(shell().runningApps().size(), 100u);
    EXPECT_FALSE(shell().isRunning("com.example.app1"));
    EXPECT_TRUE(shell().isRunning("com.example.app10"));
    EXPECT_FALSE(shell().close("com.example.app1")); // closed already: neither running nor listed
}

} // namespace
