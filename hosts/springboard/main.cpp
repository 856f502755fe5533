// springboard: the simulated home-screen shell and Notification Center as a process on a
// device root, driven through its control socket.

#include "PhoneScreen.h"
#include "ShellHooks.h"
#include "ShellState.h"
#include "SpringboardControl.h"
#include "WeeAppHost.h"

#include "OpenedURLLog.h"

#include "control/ControlClient.h"
#include "foundation/Json.h"
#include "control/HostProgram.h"
#include "control/Screenshot.h"
#include "foundation/DeviceRoot.h"
#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/LoadProblems.h"
#include "foundation/NSUserDefaults.h"
#include "shared/RVXSettings.h"
#include "ui/UIApplication.h"

#include <nlohmann/json.hpp>

#include <cstdio>

namespace {

PhoneScreen* gScreen = nullptr;

void settingsChanged(CFNotificationCenterRef, void* observer, CFStringRef, const void*, CFDictionaryRef)
{
    static_cast<SpringboardControl*>(observer)->noteSettingsChange();
    // The widget restyles on the same post: the Center may look different now.
    control::announceScreenChange();
}

// The settings host's window may have changed: its picture is asked anew, and a window on
// the device's screen told when the Settings app shows.
void settingsScreenChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    gScreen->settingsScreenChanged();
    if (gScreen->showsSettings())
        control::postScreenChange();
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string settingsSocket()
{
    return control::socketPath(DeviceRoot::root(), control::kSettings);
}

// The Settings app's screen, asked of the settings host as raw pixels in a file beside the
// shell's log.
CairoSurfacePtr settingsScreen(double scale)
{
    std::string path = DeviceRoot::resolve("/tmp/springboard-settings-screen.raw");
    control::Exchange exchange = control::request(settingsSocket(), { "screen", path, number(scale) }, 5);
    std::optional<json::Value> reply = exchange.outcome == control::Outcome::Replied ? json::read(exchange.reply)
                                                                                   : std::nullopt;
    if (!reply || !json::flag(json::member(*reply, "ok")))
        return nullptr;
    return control::readRawFrame(path, int(json::numeric(json::member(*reply, "width"))),
        int(json::numeric(json::member(*reply, "height"))));
}

// A finger on the Settings app, given to the settings host phase by phase.
void settingsFinger(PhoneScreen::Phase phase, CGPoint point)
{
    static const char* const names[] = { "began", "moved", "ended", "cancelled" };
    control::Words words { "finger", names[int(phase)] };
    if (phase != PhoneScreen::Phase::Cancelled) {
        words.push_back(number(point.x));
        words.push_back(number(point.y));
    }
    control::request(settingsSocket(), words, 5);
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
    PhoneScreen screen(host, { settingsScreen, settingsFinger });
    gScreen = &screen;
    // Every announcement of a change drops the kept frame first, so that the frame a window
    // asks for after hearing it is drawn anew.
    control::setScreenChangeHook([&screen] { screen.forgetFrame(); });
    SpringboardControl control(host, screen);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &control, settingsChanged,
        RVXSettings::notificationName, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, settingsScreenChanged,
        control::kSettingsScreenChanged, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);

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
    screen.cancelTouch(); // a finger on the Settings app is not left down there
    control::setScreenChangeHook({});
    gScreen = nullptr;
    host.unloadViews();
    ShellHooks::remove();
    std::fprintf(stderr, "springboard: stopped\n");
    return 0;
}
