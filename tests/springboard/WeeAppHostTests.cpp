// The widget host driving real bundles loaded through dlopen from the device's plugins
// folder. The test widgets record every call they receive, answered or not.

#include "ShellFixture.h"

#include "ShellHooks.h"
#include "springboard/ShellServices.h"
#include "WeeAppHost.h"

#include "foundation/NSURL.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class WeeAppHostTest : public ShellFixture {
protected:
    // Stages NAME.bundle with its Info.plist and the built executable linked in, so that
    // every test loads the one copy the process already has.
    void stageBundle(const std::string& name, const std::string& executable, NSDictionary info)
    {
        std::string folder = "/System/Library/WeeAppPlugins/" + name + ".bundle";
        info.setObject("BNDL", "CFBundlePackageType");
        info.setObject("com.example." + name, "CFBundleIdentifier");
        _device.hostPath(folder + "/Info.plist");
        ASSERT_TRUE(info.writeToFile(folder + "/Info.plist", true));
        if (!executable.empty())
            fs::create_symlink(executable, _device.hostPath(folder + "/" + name));
    }

    void stageTestWidget()
    {
        stageBundle("TestWeeApp", TEST_WEEAPP_EXECUTABLE, { { "NSPrincipalClass", "TestWeeAppController" } });
    }

    static Names calls(const WeeAppHost::Widget& widget)
    {
        Names names;
        auto list = std::dynamic_pointer_cast<PlistObject>(widget.controller->performSelector("calls"));
        if (list && list->value().array()) {
            for (const PlistValue& call : *list->value().array())
                names.push_back(*call.string());
        }
        return names;
    }

    static Names callsSince(const WeeAppHost::Widget& widget, size_t& seen)
    {
        Names all = calls(widget);
        Names fresh(all.begin() + std::min(seen, all.size()), all.end());
        seen = all.size();
        return fresh;
    }
};

TEST_F(WeeAppHostTest, LoadsTheWidgetAndLaysItOutInAnIconContainer)
{
    stageTestWidget();
    WeeAppHost host;
    ASSERT_EQ(host.loadPlugins(), 1u);
    const auto& widget = host.widgets().at(0);

    EXPECT_EQ(calls(widget), (Names { "view", "viewHeight" })); // the views wait for the Center
    host.openCenter();
    EXPECT_EQ(calls(widget), (Names { "view", "viewHeight", "loadPlaceholderView", "loadFullView", "view", "viewHeight",
        "viewWillAppear", "viewDidAppear in SBBulletinListIconContainerView" }));
    EXPECT_NE(widget.container->className().find("Icon"), std::string::npos);
    EXPECT_EQ(widget.container->superview(), host.window());
    EXPECT_EQ(host.window()->frame().size.width, 320);
    CGRect frame = widget.container->frame();
    EXPECT_EQ(frame.size.width, 316);
    EXPECT_EQ(frame.size.height, 44);
    auto view = widget.controller->view();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->superview(), widget.container);
    EXPECT_EQ(view->frame().size.width, 316);
    EXPECT_EQ(view->frame().size.height, 44);
}

TEST_F(WeeAppHostTest, TheCenterOpeningAndClosingReachesTheWidget)
{
    stageTestWidget();
    WeeAppHost host;
    host.loadPlugins();
    const auto& widget = host.widgets().at(0);
    size_t seen = calls(widget).size();

    host.openCenter();
    EXPECT_TRUE(ShellState::shared().listViewIsActive());
    EXPECT_EQ(callsSince(widget, seen), (Names { "loadPlaceholderView", "loadFullView", "view", "viewHeight",
        "viewWillAppear", "viewDidAppear in SBBulletinListIconContainerView" }));
    host.closeCenter();
    callsSince(widget, seen);
    host.openCenter(); // the views are built: only a layout
    EXPECT_EQ(callsSince(widget, seen), (Names { "view", "viewHeight", "viewWillAppear",
        "viewDidAppear in SBBulletinListIconContainerView" }));
    host.openCenter(); // already open: nothing more
    EXPECT_TRUE(callsSince(widget, seen).empty());

    host.closeCenter();
    EXPECT_EQ(callsSince(widget, seen), (Names { "viewWillDisappear", "viewDidDisappear" }));

    // A widget hiding the Center through the shell's services disappears as well.
    host.openCenter();
    callsSince(widget, seen);
    std::dynamic_pointer_cast<springboard::BulletinListController>(
        objc_getClass("SBBulletinListController")->performSelector("sharedInstance"))->hideListViewAnimated(true);
    EXPECT_EQ(callsSince(widget, seen), (Names { "viewWillDisappear", "viewDidDisappear" }));
}

TEST_F(WeeAppHostTest, TapsArriveInTheWidgetsCoordinates)
{
    stageTestWidget();
    WeeAppHost host;
    host.loadPlugins();
    const auto& widget = host.widgets().at(0);
    size_t seen = calls(widget).size();

    EXPECT_FALSE(host.tapWidget(0, CGPointMake(100, 20)));
    // The widget's container lies at (2, 20) in the window.
    EXPECT_FALSE(host.tapCenter(CGPointMake(152, 30)));
    EXPECT_FALSE(host.tapCenter(CGPointMake(152, 10))); // above every widget
    EXPECT_FALSE(host.tapWidget(5, CGPointMake(1, 1))); // no such widget
    EXPECT_EQ(callsSince(widget, seen), (Names { "launchURLForTapLocation: 100,20", "launchURLForTapLocation: 150,10" }));

    // An address the widget answers is opened for it.
    UIApplication::sharedApplication()->clearOpenedURLs();
    ShellFixture::installApp("com.example.tester", NSArray { "test" });
    shell().loadInstalledApps();
    ShellHooks::install();
    auto url = std::dynamic_pointer_cast<NSURL>(host.tapWidget(0, CGPointMake(0, 5)));
    ShellHooks::remove();
    ASSERT_TRUE(url);
    EXPECT_EQ(UIApplication::sharedApplication()->openedURLs(), (Names { "test://left-edge" }));
}

TEST_F(WeeAppHostTest, AWidgetThatAnswersNoOptionalSelectorGetsOnlyItsView)
{
    stageBundle("MinimalWeeApp", MINIMAL_WEEAPP_EXECUTABLE, { { "NSPrincipalClass", "MinimalWeeAppController" } });
    WeeAppHost host;
    ASSERT_EQ(host.loadPlugins(), 1u);
    const auto& widget = host.widgets().at(0);

    host.openCenter();
    host.tapWidget(0, CGPointMake(10, 10));
    host.closeCenter();
    host.unloadViews();
    for (const std::string& call : calls(widget))
        EXPECT_EQ(call, "view");
    // Without a height of its own, the widget has none: it never built a view.
    EXPECT_EQ(widget.container->frame().size.height, 0);
}

TEST_F(WeeAppHostTest, UnloadingDropsTheViewsAndReloadingBuildsThemAgain)
{
    stageTestWidget();
    WeeAppHost host;
    host.loadPlugins();
    host.reloadViews();
    const auto& widget = host.widgets().at(0);
    size_t seen = calls(widget).size();

    host.unloadViews();
    host.unloadViews();
    EXPECT_TRUE(widget.container->subviews().empty());
    EXPECT_EQ(callsSince(widget, seen), (Names { "unloadView" }));

    host.reloadViews();
    EXPECT_EQ(callsSince(widget, seen), (Names { "loadPlaceholderView", "loadFullView", "view", "viewHeight" }));
    EXPECT_EQ(widget.container->subviews().size(), 1u);
    host.reloadViews(); // the views are there: only a layout
    EXPECT_EQ(callsSince(widget, seen), (Names { "view", "viewHeight" }));
}

TEST_F(WeeAppHostTest, BrokenBundlesAreSkippedWithAMessage)
{
    stageBundle("AMissingExecutable", "", { { "NSPrincipalClass", "TestWeeAppController" } });
    stageBundle("BNoPrincipal", TEST_WEEAPP_EXECUTABLE, {});
    stageBundle("CNotAWidget", TEST_WEEAPP_EXECUTABLE, { { "NSPrincipalClass", "SBIconModel" } });
    stageBundle("DUnknownClass", TEST_WEEAPP_EXECUTABLE, { { "NSPrincipalClass", "NoSuchController" } });
    stageTestWidget();
    fs::create_directories(_device.hostPath("/System/Library/WeeAppPlugins/NotABundle/x"));

    WeeAppHost host;
    EXPECT_EQ(host.loadPlugins(), 1u);
    ASSERT_EQ(host.messages().size(), 4u);
    EXPECT_NE(host.messages()[0].find("AMissingExecutable.bundle"), std::string::npos);
    EXPECT_NE(host.messages()[2].find("not a widget controller"), std::string::npos);
    for (const std::string& message : host.messages())
        EXPECT_EQ(message.find('\n'), std::string::npos);
}

namespace {

class RecordingDelegate : public UIAlertViewDelegate {
public:
    void clickedButtonAtIndex(const UIAlertViewRef& alert, int index) override
    {
        clicks.push_back(alert->title() + " " + std::to_string(index));
    }
    Names clicks;
};

} // namespace

TEST_F(WeeAppHostTest, AlertsShowOverTheCenterAndTheirButtonsCanBeTapped)
{
    WeeAppHost host;
    auto delegate = std::make_shared<RecordingDelegate>();
    auto first = UIAlertView::initWithTitle("First", "message", delegate, "Cancel", { "More" });
    auto second = UIAlertView::initWithTitle("Second", std::nullopt, delegate, "OK");
    first->show();
    second->show();
    EXPECT_EQ(host.alerts().shownModals(), (std::vector<UIModalViewRef> { first, second }));
    EXPECT_EQ(host.window()->subviews().size(), 2u);

    EXPECT_FALSE(host.alerts().tapButton(3));
    EXPECT_TRUE(host.alerts().tapButton(0));
    EXPECT_EQ(host.alerts().topAlert(), first);
    EXPECT_TRUE(host.alerts().tapButton(1));
    EXPECT_FALSE(host.alerts().topAlert());
    EXPECT_FALSE(host.alerts().tapButton(0));
    EXPECT_EQ(delegate->clicks, (Names { "Second 0", "First 1" }));
    EXPECT_TRUE(host.window()->subviews().empty());
}

TEST_F(WeeAppHostTest, TheCenterRendersToPNG)
{
    stageTestWidget();
    WeeAppHost host;
    host.loadPlugins();
    std::string path = _device.root() + "/center.png";
    ASSERT_TRUE(host.writePNG(path, 1));
    std::ifstream file(path, std::ios::binary);
    char signature[8] = {};
    file.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");

    // The Center's dark backdrop shows, and an alert dims it further.
    auto blue = [&](int x, int y) {
        auto image = host.window()->renderImage(1);
        cairo_surface_flush(image.get());
        const unsigned char* row = cairo_image_surface_get_data(image.get()) + y * cairo_image_surface_get_stride(image.get());
        return int(row[x * 4]); // ARGB32 little endian: blue first
    };
    int backdrop = blue(1, 470);
    EXPECT_NEAR(backdrop, 31, 2);
    UIAlertView::initWithTitle("Shown", std::nullopt, nullptr, "OK")->show();
    EXPECT_LT(blue(1, 470), backdrop);
    EXPECT_TRUE(host.alerts().tapButton(0));
    EXPECT_EQ(blue(1, 470), backdrop);
}

TEST_F(ShellFixture, FrontMostAppAndOpenableSchemesComeFromTheShell)
{
    installApp("com.example.tweets", NSArray { "Tweetbot" });
    installApp("com.example.other");
    shell().loadInstalledApps();
    ShellHooks::install();
    auto application = UIApplication::sharedApplication();

    EXPECT_FALSE(application->_accessibilityFrontMostApplication());
    shell().launch("com.example.other");
    auto front = application->_accessibilityFrontMostApplication();
    ASSERT_TRUE(front);
    EXPECT_EQ(front->bundleIdentifier(), "com.example.other");
    shell().goHome();
    EXPECT_FALSE(application->_accessibilityFrontMostApplication());

    EXPECT_TRUE(application->canOpenURL(NSURL::URLWithString("tweetbot:///user_profile/x")));
    EXPECT_FALSE(application->canOpenURL(NSURL::URLWithString("twitter://user?screen_name=x")));
    ShellHooks::remove();
}
