// The About dialog, the Developer dialog and the maker's links.

#include "WidgetFixture.h"

#include "shared/RVXLinks.h"

namespace {

class AboutTest : public HostedWidget {
protected:
    UIAlertViewRef top() { return host().alerts().topAlert(); }
    // Opens the Developer dialog through the info button and the About dialog.
    void openDeveloper()
    {
        tap({ 295, 17 });
        ASSERT_TRUE(top());
        ASSERT_TRUE(host().alerts().tapButton(1));
        ASSERT_TRUE(top());
        ASSERT_EQ(top()->tag(), 2);
    }
    const std::vector<std::string>& opened() { return UIApplication::sharedApplication()->openedURLs(); }
    void installClient(const std::string& identifier, const std::string& scheme) { shell().install({ identifier, identifier, { scheme } }); }
};

TEST_F(AboutTest, TheAboutDialogCountsTheRuns)
{
    set("Count", 0);
    load();
    for (int run = 0; run < 3; ++run)
        controller()->performSelector("kill");
    tap({ 295, 17 });
    ASSERT_TRUE(top());
    EXPECT_EQ(top()->tag(), 1);
    EXPECT_EQ(top()->title(), "Ruvex Pro");
    EXPECT_EQ(top()->message(), "Closes all background apps with one tap.\nUsed 3 times.");
    ASSERT_EQ(top()->numberOfButtons(), 2);
    EXPECT_EQ(top()->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(top()->cancelButtonIndex(), 0);
    EXPECT_EQ(top()->buttonTitleAtIndex(1), "About");

    host().alerts().tapButton(0); // OK: closes, opens nothing
    EXPECT_FALSE(top());
    EXPECT_TRUE(opened().empty());
}

TEST_F(AboutTest, WithoutAFileTheCountIsZero)
{
    load();
    ASSERT_TRUE(fs::remove(_device.hostPath(RVXSettings::path)));
    tap({ 295, 17 });
    ASSERT_TRUE(top());
    EXPECT_EQ(top()->message(), "Closes all background apps with one tap.\nUsed 0 times.");
}

TEST_F(AboutTest, ACountPastTheThirtyTwoBitRangeIsShownInFull)
{
    load();
    for (long long stored : { 2147483647LL, 2147483648LL, 1099511627776LL, 9223372036854775806LL }) {
        set("Count", PlistValue(stored));
        controller()->performSelector("kill");
        tap({ 295, 17 });
        ASSERT_TRUE(top());
        EXPECT_EQ(top()->message(), "Closes all background apps with one tap.\nUsed " + std::to_string(stored + 1) + " times.");
        host().alerts().tapButton(0);
    }
    controller()->performSelector("kill"); // the count stays at the largest one
    tap({ 295, 17 });
    ASSERT_TRUE(top());
    EXPECT_EQ(top()->message(), "Closes all background apps with one tap.\nUsed 9223372036854775807 times.");
}

TEST_F(AboutTest, TheDeveloperDialogOpensTheMakersPages)
{
    load();
    openDeveloper();
    EXPECT_EQ(top()->title(), "Developed by @Vastelmark");
    EXPECT_FALSE(top()->message());
    ASSERT_EQ(top()->numberOfButtons(), 4);
    EXPECT_EQ(top()->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(top()->buttonTitleAtIndex(1), "Website");
    EXPECT_EQ(top()->buttonTitleAtIndex(2), "Twitter");
    EXPECT_EQ(top()->buttonTitleAtIndex(3), "More by this Developer");

    host().alerts().tapButton(1);
    openDeveloper();
    host().alerts().tapButton(3);
    openDeveloper();
    host().alerts().tapButton(0);
    EXPECT_EQ(opened(), (std::vector<std::string> { RVXLinks::website, RVXLinks::moreApps }));
    EXPECT_FALSE(top());
}

TEST_F(AboutTest, TheProfileOpensInTheFirstInstalledClient)
{
    load();
    auto twitter = [&] {
        UIApplication::sharedApplication()->clearOpenedURLs();
        openDeveloper();
        host().alerts().tapButton(2);
        return opened();
    };
    using Opened = std::vector<std::string>;
    EXPECT_EQ(twitter(), (Opened { "https://twitter.com/Vastelmark" }));
    installClient("com.iconfactory.Twitterrific", "twitterrific");
    EXPECT_EQ(twitter(), (Opened { "twitterrific:///profile?screen_name=Vastelmark" }));
    installClient("com.tapbots.Tweetbot", "tweetbot");
    EXPECT_EQ(twitter(), (Opened { "tweetbot://Vastelmark/timeline" }));
    installClient("com.atebits.Tweetie2", "twitter");
    EXPECT_EQ(twitter(), (Opened { "twitter://user?screen_name=Vastelmark" }));
}

} // namespace
