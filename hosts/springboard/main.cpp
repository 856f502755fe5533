// springboard: the simulated home-screen shell and Notification Center as a process on a
// device root, driven through its control socket.

#include "PhoneScreen.h"
#include "ShellHooks.h"
#include "ShellState.h"
#include "SpringboardControl.h"
#include "WeeAppHost.h"

#include "OpenedURLLog.h"

#include "control/ControlClient.h"
#include "control/HostProgram.h"
#include "control/Screenshot.h"
#include "foundation/DeviceRoot.h"
#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/LoadProblems.h"
#include "foundation/NSUserDefaults.h"
#include "shared/RVXSettings.h"
#include "ui/UIApplication.h"

#include <cstdio>

namespace {

void settingsChanged(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef)
{
    static_cast<SpringboardControl*>(observer)->noteSettingsChange();
}

// The Settings app's screen, asked of the settings host as a picture beside the shell's log.
CairoSurfacePtr settingsScreen(double scale)
{
    std::string path = DeviceRoot::resolve("/tmp/springboard-settings-screen.png");
    char scaleText[32];
    std::snprintf(scaleText, sizeof scaleText, "%g", scale);
    control::Exchange exchange = control::request(control::socketPath(DeviceRoot::root(), control::kSettings),
        { "screenshot", path, scaleText }, 5);
    if (exchange.outcome != control::Outcome::Replied || exchange.reply.find("\"ok\":true") == std::string::npos)
        return nullptr;
    CairoSurfacePtr picture(cairo_image_surface_create_from_png(path.c_str()));
    std::remove(path.c_str());
    if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return picture;
}

// A finger on the Settings app, given to the settings host's own touch path.
void touchSettings(CGPoint from, CGPoint to, int steps)
{
    auto number = [](CGFloat value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", double(value));
        return std::string(text);
    };
    control::Words words = steps == 0 ? control::Words { "touch", number(from.x), number(from.y) }
        : control::Words { "drag", number(from.x), number(from.y), number(to.x), number(to.y), std::to_string(steps) };
    control::request(control::socketPath(DeviceRoot::root(), control::kSettings), words, 5);
}

} // namespace

int main(int argc, char** argv)
{
    control::startHost(argc, argv, "springboard");
    NSUserDefaults::setStandardDomain("com.apple.springboard");
    control::stopMainLoopOnSignals();

    ShellState& shell = ShellState::shared();
    shell.reset();
    size_t apps = shell.loadInstalledApps();
    // The settings host is the Settings app: installed on every device, as on the phone.
    if (!shell.installedApp(PhoneScreen::kSettingsApp) && shell.install({ PhoneScreen::kSettingsApp, "Settings", {} }))
        ++apps;
    ShellHooks::install();
    opened_urls::clear();
    UIApplication::sharedApplication()->setOpenedURLHook(
        [](const std::string& address) { opened_urls::append("springboard", address); });

    WeeAppHost host;
    size_t widgets = host.loadPlugins();
    PhoneScreen screen(host, { settingsScreen, touchSettings });
    SpringboardControl control(host, screen);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &control, settingsChanged,
        RVXSettings::notificationName, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);

    ControlServer server;
    control::serveControl(server, control::kSpringboard,
        [&control](const control::Words& words) {
            // Whatever did not load is named: all of it in the ping ("problems", which
            // `boot` shows), and what this request met in its own reply ("warnings").
            LoadProblems::Capture capture;
            json::Value reply = control.handle(words);
            control::addWarnings(reply, capture.problems());
            if (SpringboardControl::changesScreen(words))
                control::announceScreenChange();
            if (words[0] == "ping")
                control::addWarnings(reply, LoadProblems::all(), "problems");
            return json::write(reply);
        });
    std::fprintf(stderr, "springboard: %zu app(s), %zu widget(s), serving %s\n", apps, widgets, server.path().c_str());

    RunLoop::main().run();
    server.close();
    host.unloadViews();
    ShellHooks::remove();
    std::fprintf(stderr, "springboard: stopped\n");
    return 0;
}
