// springboard: the simulated home-screen shell and Notification Center as a process on a
// device root, driven through its control socket.

#include "ShellHooks.h"
#include "ShellState.h"
#include "SpringboardControl.h"
#include "WeeAppHost.h"

#include "OpenedURLLog.h"

#include "control/HostProgram.h"
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

} // namespace

int main(int argc, char** argv)
{
    control::startHost(argc, argv, "springboard");
    NSUserDefaults::setStandardDomain("com.apple.springboard");
    control::stopMainLoopOnSignals();

    ShellState& shell = ShellState::shared();
    shell.reset();
    size_t apps = shell.loadInstalledApps();
    ShellHooks::install();
    opened_urls::clear();
    UIApplication::sharedApplication()->setOpenedURLHook(
        [](const std::string& address) { opened_urls::append("springboard", address); });

    WeeAppHost host;
    size_t widgets = host.loadPlugins();
    SpringboardControl control(host);
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), &control, settingsChanged,
        RVXSettings::notificationName, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);

    ControlServer server;
    control::serveControl(server, control::kSpringboard,
        [&control](const control::Words& words) {
            // Whatever did not load is named: all of it in the ping ("problems", which
            // `boot` shows), and what this request met in its own reply ("warnings").
            LoadProblems::Capture capture;
            std::string reply = control::withWarnings(control.handle(words), capture.problems());
            return words[0] == "ping" ? control::withWarnings(reply, LoadProblems::all(), "problems") : reply;
        });
    std::fprintf(stderr, "springboard: %zu app(s), %zu widget(s), serving %s\n", apps, widgets, server.path().c_str());

    RunLoop::main().run();
    server.close();
    host.unloadViews();
    ShellHooks::remove();
    std::fprintf(stderr, "springboard: stopped\n");
    return 0;
}
