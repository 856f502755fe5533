#include "ShellFixture.h"

#include <fstream>

using Names = std::vector<std::string>;

class ShellStateTest : public ShellFixture { };

TEST_F(ShellStateTest, ReadsInstalledAppsFromTheirInfoPlists)
{
    writeInfo("Safari", { { "CFBundleIdentifier", "com.apple.mobilesafari" }, { "CFBundleDisplayName", "Safari" },
        { "CFBundleURLTypes", NSArray { NSDictionary { { "CFBundleURLSchemes", NSArray { "HTTP", 5, "x-web" } } }, "junk" } } });
    writeInfo("Notes", { { "CFBundleIdentifier", "com.apple.mobilenotes" }, { "CFBundleName", "Notes app" } });
    writeInfo("Bare", { { "CFBundleIdentifier", "com.example.bare" } });
    writeInfo("Nameless", { { "CFBundleDisplayName", "No identifier" } });
    writeInfo("Twin", { { "CFBundleIdentifier", "com.example.bare" } });
    std::ofstream(_device.hostPath("/Applications/Broken.app/Info.plist")) << "<plist><dict><key>";
    std::ofstream(_device.hostPath("/Applications/NotAnApp/Info.plist")) << "";

    EXPECT_EQ(shell().loadInstalledApps(), 3u);

    const InstalledApp* safari = shell().installedApp("com.apple.mobilesafari");
    ASSERT_TRUE(safari);
    EXPECT_EQ(safari->displayName, "Safari");
    EXPECT_EQ(safari->urlSchemes, (Names { "http", "x-web" }));
    EXPECT_EQ(shell().installedApp("com.apple.mobilenotes")->displayName, "Notes app");
    EXPECT_EQ(shell().installedApp("com.example.bare")->displayName, "Bare");
    EXPECT_EQ(shell().installedURLSchemes(), (Names { "http", "x-web" }));
}

TEST_F(ShellStateTest, NoApplicationsFolderInstallsNothing)
{
    EXPECT_EQ(shell().loadInstalledApps(), 0u);
    EXPECT_FALSE(shell().launch("com.apple.mobilesafari"));
}

TEST_F(ShellStateTest, LaunchBringsTheAppToTheFrontOfTheSwitcher)
{
    installApp("com.a");
    installApp("com.b");
    shell().loadInstalledApps();

    EXPECT_TRUE(shell().launch("com.a"));
    EXPECT_TRUE(shell().launch("com.b"));
    EXPECT_EQ(listed(), (Names { "com.b", "com.a" }));
    EXPECT_EQ(shell().foregroundApp(), "com.b");

    EXPECT_TRUE(shell().launch("com.a"));
    EXPECT_EQ(listed(), (Names { "com.a", "com.b" }));
    EXPECT_EQ(shell().runningApps(), (Names { "com.a", "com.b" }));

    EXPECT_FALSE(shell().launch("com.not.installed"));
    EXPECT_EQ(shell().foregroundApp(), "com.a");
    EXPECT_EQ(listed(), (Names { "com.a", "com.b" }));
}

TEST_F(ShellStateTest, GoingHomeKeepsTheAppsRunningAndListed)
{
    installApp("com.a");
    shell().loadInstalledApps();
    shell().launch("com.a");
    shell().goHome();

    EXPECT_FALSE(shell().foregroundApp());
    EXPECT_TRUE(shell().isRunning("com.a"));
    EXPECT_EQ(listed(), (Names { "com.a" }));
}

TEST_F(ShellStateTest, CloseStopsTheAppAndRemoveOnlyUnlistsIt)
{
    installApp("com.a");
    installApp("com.b");
    installApp("com.c");
    shell().loadInstalledApps();
    for (const char* app : { "com.a", "com.b", "com.c" })
        shell().launch(app);

    EXPECT_TRUE(shell().removeFromSwitcher("com.a"));
    EXPECT_TRUE(shell().isRunning("com.a"));
    EXPECT_FALSE(shell().removeFromSwitcher("com.a"));

    EXPECT_TRUE(shell().close("com.b"));
    EXPECT_FALSE(shell().isRunning("com.b"));
    EXPECT_EQ(listed(), (Names { "com.c" }));
    EXPECT_EQ(shell().foregroundApp(), "com.c");

    // Closing the app in front leaves the home screen, not a front app that has stopped.
    EXPECT_TRUE(shell().close("com.c"));
    EXPECT_FALSE(shell().foregroundApp());
    EXPECT_FALSE(shell().close("com.c"));
}

TEST_F(ShellStateTest, ForeignSwitcherEntriesStayUntilRemoved)
{
    installApp("com.a");
    shell().loadInstalledApps();
    shell().launch("com.a");
    shell().insertSwitcherEntry(PlistValue(42), 0);
    shell().insertSwitcherEntry("com.apple.newsstand", 99);

    EXPECT_EQ(listed(), (Names { "(not a string)", "com.a", "com.apple.newsstand" }));
    shell().launch("com.a");
    EXPECT_EQ(listed(), (Names { "com.a", "(not a string)", "com.apple.newsstand" }));
    EXPECT_TRUE(shell().removeFromSwitcher("com.apple.newsstand"));
    EXPECT_EQ(listed(), (Names { "com.a", "(not a string)" }));
}

TEST_F(ShellStateTest, CenterObserversHearEachChangeOnce)
{
    std::vector<bool> heard;
    int token = 0;
    token = shell().addCenterObserver([&](bool active) {
        heard.push_back(active);
        shell().removeCenterObserver(token); // an observer may leave while it is told
    });
    std::vector<bool> second;
    shell().addCenterObserver([&](bool active) { second.push_back(active); });

    shell().setListViewActive(true);
    shell().setListViewActive(true);
    shell().setListViewActive(false);

    EXPECT_EQ(heard, (std::vector<bool> { true }));
    EXPECT_EQ(second, (std::vector<bool> { true, false }));
    EXPECT_FALSE(shell().listViewIsActive());
}

TEST_F(ShellStateTest, TheEventLogKeepsTheLatestEventsWithinItsBound)
{
    shell().clearEvents();
    // 2,000 taps' worth of events: the oldest fall out, the latest stay in order.
    for (size_t i = 0; i < 2 * ShellState::kEventBound; ++i)
        shell().log("event " + std::to_string(i));
    auto events = shell().events();
    ASSERT_EQ(events.size(), ShellState::kEventBound);
    EXPECT_EQ(events.front(), "event " + std::to_string(ShellState::kEventBound));
    EXPECT_EQ(events.back(), "event " + std::to_string(2 * ShellState::kEventBound - 1));
    EXPECT_EQ(shell().eventsDropped(), ShellState::kEventBound);

    // One huge event is cut, not kept whole, and never inside a UTF-8 sequence.
    shell().log(std::string(ShellState::kEventBytes - 1, 'a') + "\xC3\xA9" + std::string(100000, 'b'));
    std::string last = shell().events().back();
    EXPECT_EQ(last, std::string(ShellState::kEventBytes - 1, 'a') + "...");
    shell().clearEvents();
    EXPECT_TRUE(shell().events().empty());
    EXPECT_EQ(shell().eventsDropped(), 0u);
}
