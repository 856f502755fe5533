#include "PlatformScope.h"

#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"

#include <gtest/gtest.h>

namespace {

struct Delegate : UIAlertViewDelegate {
    std::vector<std::pair<int, int>> clicks; // tag, index
    void clickedButtonAtIndex(const UIAlertViewRef& alert, int index) override
    {
        clicks.emplace_back(alert->tag(), index);
    }
};

struct Presenter : UIAlertPresenter {
    std::vector<UIAlertViewRef> presented;
    int dismissed = 0;
    void presentAlert(const UIAlertViewRef& alert) override { presented.push_back(alert); }
    void dismissAlert(const UIAlertViewRef&) override { ++dismissed; }
};

} // namespace

TEST(AlertView, CancelFirstOthersFollowDelegateCalledOnce)
{
    UIAlertView::clearShownAlerts();
    auto delegate = std::make_shared<Delegate>();
    auto alert = UIAlertView::initWithTitle("Developed by @Vastelmark", std::nullopt, delegate, "OK",
        {"Website", "Twitter", "More by this Developer"});
    alert->setTag(2);
    EXPECT_EQ(alert->numberOfButtons(), 4);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(alert->buttonTitleAtIndex(3), "More by this Developer");
    EXPECT_EQ(alert->buttonTitleAtIndex(4), "");
    EXPECT_EQ(alert->cancelButtonIndex(), 0);

    alert->show();
    alert->show();
    ASSERT_EQ(UIAlertView::shownAlerts().size(), 1u);
    EXPECT_TRUE(alert->isVisible());
    alert->dismissWithClickedButtonIndex(2);
    EXPECT_EQ(delegate->clicks, (std::vector<std::pair<int, int>> {{2, 2}}));
    EXPECT_FALSE(alert->isVisible());
    alert->dismissWithClickedButtonIndex(9); // no such button: no call
    EXPECT_EQ(delegate->clicks.size(), 1u);

    auto noCancel = UIAlertView::initWithTitle("T", "M", delegate, std::nullopt, {"A", "B"});
    EXPECT_EQ(noCancel->buttonTitleAtIndex(0), "A");
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    // The delegate is weak: once gone, a click reaches nobody.
    delegate.reset();
    noCancel->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(noCancel->delegate(), nullptr);
}

TEST(AlertView, ShownThroughTheHostPresenter)
{
    UIAlertView::clearShownAlerts();
    Presenter presenter;
    UIAlertView::setPresenter(&presenter);
    auto alert = UIAlertView::initWithTitle("About", "used 3 times", nullptr, "OK");
    alert->show();
    alert->dismissWithClickedButtonIndex(0);
    UIAlertView::setPresenter(nullptr);
    EXPECT_EQ(presenter.presented, (std::vector<UIAlertViewRef> {alert}));
    EXPECT_EQ(presenter.dismissed, 1);
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
}

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
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    EXPECT_TRUE(app->openedURLs().empty());
    EXPECT_FALSE(app->canOpenURL(NSURL::URLWithString("left://behind")));
    EXPECT_NE(dynamic_cast<const SystemClock*>(&RunLoop::main().clock()), nullptr);

    // What an unscoped test left is gone as a scope begins.
    UIAlertView::initWithTitle("Unscoped", "", nullptr, "OK")->show();
    PlatformScope scope(50);
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    EXPECT_NE(DeviceRoot::root(), root);
    EXPECT_EQ(RunLoop::main().now(), 50);
    scope.clock().advance(2);
    EXPECT_EQ(RunLoop::main().now(), 52);
    EXPECT_NE(NSUserDefaults::standardUserDefaults().domain(), "com.example.left");
}
