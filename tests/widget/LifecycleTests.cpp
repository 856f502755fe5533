// The controller's life in the host: first run, height, the Icon gate, the settings-changed
// notification and the controller of record.

#include "WidgetFixture.h"

#include "foundation/NSFileManager.h"

namespace {

using LifecycleTest = HostedWidget;

TEST_F(LifecycleTest, TheBundleAnswersExactlyWhatItImplements)
{
    const Class* cls = objc_getClass("RuvexProController");
    ASSERT_TRUE(cls);
    for (SEL selector : { "loadPlaceholderView", "loadFullView", "viewHeight", "view", "viewDidAppear",
             "viewDidDisappear", "unloadView", "launchURLForTapLocation:", "kill", "info" })
        EXPECT_TRUE(cls->instancesRespondToSelector(selector)) << selector;
    for (SEL selector : { "loadView", "viewWillAppear", "viewWillDisappear", "launchURL", "clearShapshotImage" })
        EXPECT_FALSE(cls->instancesRespondToSelector(selector)) << selector;
    EXPECT_TRUE(objc_getClass("QXFakeIconView"));
}

TEST_F(LifecycleTest, FirstRunWithoutAFileCreatesItFromTheHostsDefaults)
{
    ASSERT_TRUE(NSUserDefaults::standardUserDefaults().setObject(7, "Count"));
    ASSERT_FALSE(NSFileManager::defaultManager().fileExistsAtPath(RVXSettings::path));
    load();

    EXPECT_EQ(root()->frame().size.width, 316);
    EXPECT_EQ(root()->frame().size.height, 35);
    EXPECT_EQ(root()->autoresizingMask(), UIViewAutoresizingFlexibleWidth);
    EXPECT_EQ(viewHeightGlobal(), 35);
    Row controls = row();
    ASSERT_TRUE(controls.background && controls.bar && controls.info);
    EXPECT_EQ(root()->subviews().front(), controls.background);
    EXPECT_EQ(root()->subviews().back(), controls.info); // above the bar
    ASSERT_TRUE(controls.background->image());
    EXPECT_EQ(controls.background->image()->leftCapWidth(), 20);
    EXPECT_EQ(controls.background->image()->topCapHeight(), 17);
    EXPECT_TRUE(CGRectEqualToRect(controls.background->frame(), CGRectMake(2, 0, 312, 35)));
    EXPECT_EQ(controls.bar->titleForState(UIControlStateNormal), "Tap to close all Apps");
    EXPECT_TRUE(controls.bar->showsTouchWhenHighlighted());
    EXPECT_TRUE(CGRectEqualToRect(controls.bar->frame(), CGRectMake(0, 0, 316, 35)));
    EXPECT_TRUE(CGRectEqualToRect(controls.info->frame(), CGRectMake(280, 2.5, 30, 30)));

    EXPECT_EQ(settings(), (NSDictionary { { "Count", 7 } }));

    // A tap then closes all but the app in front and counts on from the stored number.
    runInBackground({ "com.example.mail", "com.example.maps" });
    installApps({ "com.example.notes" });
    shell().launch("com.example.notes");
    tap({ 100, 17 });
    EXPECT_EQ(listed(), (Names { "com.example.notes" }));
    EXPECT_EQ(count(), 8);
}

TEST_F(LifecycleTest, HeightComesFromTheFileAndUnusableHeightsReadAsMissing)
{
    set("Height", 50.0);
    load();
    EXPECT_EQ(controller()->viewHeight(), 50);
    EXPECT_EQ(viewHeightGlobal(), 50);
    EXPECT_TRUE(CGRectEqualToRect(row().bar->frame(), CGRectMake(0, 0, 316, 50)));
    EXPECT_TRUE(CGRectEqualToRect(row().info->frame(), CGRectMake(280, 10, 30, 30)));

    for (PlistValue bad : { PlistValue(0.0), PlistValue(-4.0), PlistValue("inf"), PlistValue("1e39"),
             PlistValue("tall"), PlistValue(NSArray { 50 }), PlistValue(NSDictionary {}) }) {
        set("Height", bad);
        EXPECT_EQ(controller()->viewHeight(), 35);
        EXPECT_EQ(viewHeightGlobal(), 35);
    }
    set("Height", "42.5"); // text is read as the platform reads it
    EXPECT_EQ(controller()->viewHeight(), 42.5f);
}

TEST_F(LifecycleTest, ANotificationRestylesTheRowInPlace)
{
    set("HideAlpha", true);
    load();
    EXPECT_FALSE(row().info);
    host().openCenter(); // registers
    drainRunLoop();

    set("HideAlpha", false);
    set("Height", 50.0);
    set("Label", "Close them");
    post();
    drainRunLoop();

    Row controls = row();
    ASSERT_TRUE(controls.info);
    EXPECT_EQ(controls.info->alpha(), 1);
    EXPECT_EQ(controls.bar->titleForState(UIControlStateNormal), "Close them");
    EXPECT_EQ(root()->frame().size.height, 50);
    EXPECT_EQ(controls.background->frame().size.height, 50);
    EXPECT_TRUE(CGRectEqualToRect(controls.info->frame(), CGRectMake(280, 10, 30, 30)));

    // The new info button works.
    tap({ 290, 25 });
    ASSERT_TRUE(host().alerts().topAlert());
    EXPECT_EQ(host().alerts().topAlert()->title(), "Ruvex Pro");

    // And hiding it again takes it away.
    host().alerts().tapButton(0);
    set("HideAlpha", true);
    post();
    drainRunLoop();
    EXPECT_FALSE(row().info);
}

TEST_F(LifecycleTest, DisappearingClosesAppsOnlyWhenAsked)
{
    set("CloseOnDisappear", false);
    load();
    runInBackground({ "com.example.a", "com.example.b" });
    host().openCenter();
    host().closeCenter();
    EXPECT_EQ(listed().size(), 2u);

    set("CloseOnDisappear", true);
    host().openCenter();
    host().closeCenter();
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(count(), 1);
    host().openCenter();
    host().closeCenter();
    EXPECT_EQ(count(), 2);
}

TEST_F(LifecycleTest, CloseOnAppearRunsOncePerFullBuild)
{
    set("CloseOnAppear", true);
    runInBackground({ "com.example.a" });
    load();
    EXPECT_TRUE(listed().empty());
    EXPECT_EQ(count(), 1);
    host().unloadViews();
    EXPECT_FALSE(root());
    host().reloadViews();
    EXPECT_EQ(count(), 2);
    EXPECT_TRUE(row().bar);
}

// The views are built as the Center is about to appear for the first time, so that a change
// made before then shows from the first opening, with nothing heard of it.
TEST_F(LifecycleTest, AChangeBeforeTheFirstOpeningShowsAtIt)
{
    _host = std::make_unique<WeeAppHost>();
    ASSERT_EQ(_host->loadPlugins(), 1u);
    EXPECT_FALSE(root());
    set("Label", "Set before the Center opened");
    set("Height", 50);
    host().openCenter();
    ASSERT_TRUE(row().bar);
    EXPECT_EQ(row().bar->titleForState(UIControlStateNormal), "Set before the Center opened");
    EXPECT_EQ(root()->frame().size.height, 50);
    host().closeCenter();
    host().openCenter(); // built once only
    EXPECT_EQ(row().bar->titleForState(UIControlStateNormal), "Set before the Center opened");
}

// Driven directly, so that the superview and the order of appearances are the test's.
class RecordTest : public WidgetFixture { };

TEST_F(RecordTest, OnlyTheControllerThatAppearedLastHearsTheNotification)
{
    auto first = makeController();
    auto second = makeController();
    ASSERT_TRUE(first && second);
    for (auto& controller : { first, second }) {
        controller->loadPlaceholderView();
        controller->loadFullView();
    }
    first->viewDidAppear();
    second->viewDidAppear();

    set("Label", "Changed");
    post();
    drainRunLoop();
    EXPECT_EQ(rowOf(second->view()).bar->titleForState(UIControlStateNormal), "Changed");
    EXPECT_EQ(rowOf(first->view()).bar->titleForState(UIControlStateNormal), "Tap to close all Apps");

    // An unloaded controller of record still hears it and changes nothing.
    second->unloadView();
    post();
    drainRunLoop();
    EXPECT_FALSE(second->view());
}

TEST_F(RecordTest, TheIconGateKeepsOtherHostsOut)
{
    auto controller = makeController();
    auto record = makeController();
    record->loadPlaceholderView();
    record->loadFullView();
    record->viewDidAppear();

    controller->loadPlaceholderView();
    controller->loadFullView();
    auto foreign = std::make_shared<UIView>(CGRectMake(0, 0, 316, 35));
    foreign->addSubview(controller->view());
    controller->viewDidAppear(); // "UIView" lacks "Icon": not registered

    set("Label", "Changed");
    post();
    drainRunLoop();
    EXPECT_EQ(rowOf(record->view()).bar->titleForState(UIControlStateNormal), "Changed");
    EXPECT_EQ(rowOf(controller->view()).bar->titleForState(UIControlStateNormal), "Tap to close all Apps");
}

} // namespace
