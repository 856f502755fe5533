#include "PlatformScope.h"

#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"

#include <gtest/gtest.h>

TEST(Application, OpensWebAndDeclaredSchemesAndRecordsThem)
{
    auto app = UIApplication::sharedApplication();
    EXPECT_EQ(app, UIApplication::sharedApplication());
    app->clearOpenedURLs();
    app->setInstalledSchemesHook([] { return std::vector<std::string> {"tweetbot", "Twitterrific"}; });

    EXPECT_FALSE(app->canOpenURL(NSURL::URLWithString("twitter://user?screen_name=Vastelmark")));
    EXPECT_TRUE(app->canOpenURL(NSURL::URLWithString("tweetbot://Vastelmark/timeline")));
    EXPECT_TRUE(app->canOpenURL(NSURL::URLWithString("twitterrific:///profile?screen_name=Vastelmark")));
    EXPECT_TRUE(app->canOpenURL(NSURL::URLWithString("HTTPS://twitter.com/Vastelmark")));
    EXPECT_FALSE(app->canOpenURL(nullptr));

    EXPECT_FALSE(app->openURL(NSURL::URLWithString("twitter://user?screen_name=Vastelmark")));
    EXPECT_TRUE(app->openURL(NSURL::URLWithString("tweetbot://Vastelmark/timeline")));
    EXPECT_TRUE(app->openURL(NSURL::URLWithString("http://example.com/")));
    EXPECT_EQ(app->openedURLs(), (std::vector<std::string> {"tweetbot://Vastelmark/timeline", "http://example.com/"}));

    EXPECT_EQ(app->_accessibilityFrontMostApplication(), nullptr);
    app->setFrontMostApplicationHook([] { return std::make_shared<FrontMostApplication>("com.apple.mobilesafari"); });
    ASSERT_NE(app->_accessibilityFrontMostApplication(), nullptr);
    EXPECT_EQ(app->_accessibilityFrontMostApplication()->bundleIdentifier(), "com.apple.mobilesafari");
    app->setInstalledSchemesHook(nullptr);
    app->setFrontMostApplicationHook(nullptr);
    app->clearOpenedURLs();
}

TEST(PlatformScope, StartsCleanAndLeavesNothingBehind)
{
    std::string root = DeviceRoot::root();
    auto app = UIApplication::sharedApplication();
    {
        PlatformScope earlier;
        app->setInstalledSchemesHook([] { return std::vector<std::string> {"left"}; });
        NSUserDefaults::setStandardDomain("com.example.left");
        UIAlertView::initWithTitle("Left", "", nullptr, "OK")->show();
        EXPECT_TRUE(app->openURL(NSURL::URLWithString("left://behind")));
    }
    EXPECT_EQ(DeviceRoot::root(), root);
    EXPECT_TRUE(UIModalView::visibleModals().empty());
    EXPECT_TRUE(app->openedURLs().empty());
    EXPECT_FALSE(app->canOpenURL(NSURL::URLWithString("left://behind")));
    EXPECT_NE(dynamic_cast<const SystemClock*>(&RunLoop::main().clock()), nullptr);

    // What an unscoped test left is gone as a scope begins.
    UIAlertView::initWithTitle("Unscoped", "", nullptr, "OK")->show();
    PlatformScope scope(50);
    EXPECT_TRUE(UIModalView::visibleModals().empty());
    EXPECT_NE(DeviceRoot::root(), root);
    EXPECT_EQ(RunLoop::main().now(), 50);
    scope.clock().advance(2);
    EXPECT_EQ(RunLoop::main().now(), 52);
    EXPECT_NE(NSUserDefaults::standardUserDefaults().domain(), "com.example.left");
}
