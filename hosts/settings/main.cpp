// settings: the Settings app as a process on a device root, driven through its control socket.

#include "OpenedURLLog.h"
#include "SettingsControl.h"
#include "SettingsHost.h"

#include "control/HostProgram.h"
#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/LoadProblems.h"
#include "foundation/NSUserDefaults.h"
#include "ui/UIApplication.h"

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    control::startHost(argc, argv, "settings");
    NSUserDefaults::setStandardDomain("com.apple.Preferences");
    control::stopMainLoopOnSignals();
    UIApplication::sharedApplication()->setOpenedURLHook(
        [](const std::string& address) { opened_urls::append("settings", address); });

    int status = 0;
    {
        SettingsHost host;
        SettingsControl control(host);
        ControlServer server;
        control::serveControl(server, control::kSettings,
            [&control](const control::Words& words) {
            // Whatever did not load is named: all of it in the ping ("problems", which
            // `boot` shows), and what this request met in its own reply ("warnings").
            LoadProblems::Capture capture;
            json::Value reply = control.handle(words);
            control::addWarnings(reply, capture.problems());
            // The shell, which shows this window in the device's screen, asks for it anew
            // after what may have changed it. A finger's phases come from the shell, which
            // knows they changed it: they are told only when they have settled.
            static const char* const reading[] = { "ping", "rows", "dump", "screenshot", "screen" };
            bool reads = std::any_of(std::begin(reading), std::end(reading), [&](const char* verb) { return words[0] == verb; })
                || ((words[0] == "sheet" || words[0] == "alert" || words[0] == "finger") && words.size() == 1);
            if (!reads)
                control::announceScreenChange(control::kSettingsScreenChanged,
                    words[0] == "finger" ? control::Announce::Settled : control::Announce::NowAndSettled);
            if (words[0] == "ping")
                control::addWarnings(reply, LoadProblems::all(), "problems");
            return json::write(reply);
        });
        control::announceScreenChange(control::kSettingsScreenChanged); // a shell may show an earlier host's window
        std::fprintf(stderr, "settings: %zu entr%s, serving %s\n", host.entries().size(),
            host.entries().size() == 1 ? "y" : "ies", server.path().c_str());
        RunLoop::main().run();
        server.close();
        // Leaving the app ends the editing in progress, so that the text typed is stored.
        while (host.navigation()->viewControllers().size() > 1 && host.goBack()) { }
    }
    std::fprintf(stderr, "settings: stopped\n");
    return status;
}
