#pragma once

// A new device with the widget bundle staged at the phone's path, a fresh simulated shell,
// and helpers to drive the widget through the host or directly.

#include "ShellHooks.h"
#include "ShellState.h"
#include "WeeAppHost.h"

#include "PlatformScope.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/NSBundle.h"
#include "foundation/NSUserDefaults.h"
#include "shared/RVXSettings.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"
#include "ui/UIButton.h"
#include "ui/UIImageView.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <filesystem>

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

inline constexpr const char* kBundlePath = "/System/Library/WeeAppPlugins/RuvexPro.bundle";

class WidgetFixture : public ::testing::Test {
protected:
    WidgetFixture()
    {
        ShellState::shared().reset();
        ShellHooks::install();
        NSUserDefaults::setStandardDomain("com.apple.springboard");
        stageBundle();
        auto bundle = NSBundle::bundleWithPath(kBundlePath);
        if (!bundle)
            ADD_FAILURE() << "cannot load the widget: no bundle";
        else if (Result<void> loaded = bundle->load(); !loaded)
            ADD_FAILURE() << "cannot load the widget: " << loaded.error();
    }

    ~WidgetFixture() override
    {
        drainRunLoop();
        ShellHooks::remove();
        ShellState::shared().reset();
    }

    // The resources are copied; the executable is linked, so that every test of the process
    // loads the one copy already loaded rather than a second one with its own statics.
    void stageBundle()
    {
        fs::path target = _device.hostPath(std::string(kBundlePath) + "/Info.plist", true);
        target = target.parent_path();
        for (const auto& entry : fs::directory_iterator(RUVEXPRO_BUNDLE_DIR)) {
            if (entry.path().filename() == "RuvexPro")
                fs::create_symlink(entry.path(), target / "RuvexPro");
            else
                fs::copy(entry.path(), target / entry.path().filename());
        }
    }

    static float viewHeightGlobal()
    {
        auto* height = static_cast<float*>(dlsym(RTLD_DEFAULT, "VIEW_HEIGHT"));
        return height ? *height : -1;
    }

    // A controller made from the principal class, as the host makes it.
    static std::shared_ptr<springboard::BBWeeAppController> makeController()
    {
        const Class* cls = objc_getClass("RuvexProController");
        return cls ? std::dynamic_pointer_cast<springboard::BBWeeAppController>(cls->createInstance()) : nullptr;
    }

    static void set(std::string_view key, PlistValue value) { ASSERT_TRUE(RVXSettings::changeOneKey(key, std::move(value))); }
    static NSDictionary settings() { return RVXSettings::read(); }
    static long long count() { return RVXSettings::longLongFor(settings(), "Count", -1); }

    static void post() { CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), RVXSettings::notificationName, nullptr, nullptr, true); }
    // A few turns of the main run loop: notifications and animation completions run there.
    static void drainRunLoop()
    {
        for (int turn = 0; turn < 4; ++turn)
            RunLoop::main().runOnce(0);
    }

    // The controls of a built row: the background view, the bar and the info button.
    struct Row {
        std::shared_ptr<UIImageView> background;
        UIButtonRef bar;
        UIButtonRef info;
    };
    static Row rowOf(const UIViewRef& root)
    {
        Row row;
        if (!root)
            return row;
        for (const UIViewRef& view : root->subviews()) {
            if (auto image = std::dynamic_pointer_cast<UIImageView>(view))
                row.background = image;
            else if (auto button = std::dynamic_pointer_cast<UIButton>(view))
                (button->buttonType() == UIButtonTypeInfoLight ? row.info : row.bar) = button;
        }
        return row;
    }

    ShellState& shell() { return ShellState::shared(); }

    void installApps(const Names& identifiers)
    {
        for (const std::string& identifier : identifiers)
            shell().install({ identifier, identifier, {} });
    }
    // Launches the apps in order, then goes home: all run and are listed, none in front.
    void runInBackground(const Names& identifiers)
    {
        installApps(identifiers);
        for (const std::string& identifier : identifiers)
            shell().launch(identifier);
        shell().goHome();
    }
    Names listed() const
    {
        Names names;
        for (const PlistValue& entry : ShellState::shared().switcherList())
            names.push_back(entry.string() ? *entry.string() : "(not a string)");
        return names;
    }
    // The shell's log lines that start with `prefix`.
    Names events(std::string_view prefix) const
    {
        Names found;
        for (const std::string& event : ShellState::shared().events()) {
            if (event.starts_with(prefix))
                found.push_back(event);
        }
        return found;
    }

    PlatformScope _platform {1000};
    TestDevice& _device = _platform.device();
    std::shared_ptr<VirtualClock> _clock = _platform.sharedClock();
};

// The widget loaded by the host of the Notification Center.
class HostedWidget : public WidgetFixture {
protected:
    void load()
    {
        _host = std::make_unique<WeeAppHost>();
        ASSERT_EQ(_host->loadPlugins(), 1u) << (_host->messages().empty() ? "" : _host->messages().front());
        _host->reloadViews(); // built now, as the Center's first opening would build them
    }
    WeeAppHost& host() { return *_host; }
    const std::shared_ptr<springboard::BBWeeAppController>& controller() { return _host->widgets().at(0).controller; }
    UIViewRef root() { return controller()->view(); }
    Row row() { return rowOf(root()); }
    id tap(CGPoint point) { return _host->tapWidget(0, point); }

    ~HostedWidget() override { _host.reset(); }

    std::unique_ptr<WeeAppHost> _host;
};
