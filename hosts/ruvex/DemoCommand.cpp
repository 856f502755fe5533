// demo: the main job on the device, told one step a line, with a screenshot of each step.

#include "Command.h"
#include "Device.h"
#include "Hosts.h"
#include "Staging.h"

#include "corefoundation/CFNotificationCenter.h"
#include "foundation/DeviceRoot.h"
#include "shared/RVXSettings.h"

#include <cstdio>
#include <unistd.h>
#include <filesystem>

namespace ruvex {
namespace {

void step(const std::string& text)
{
    std::printf("- %s\n", text.c_str());
    std::fflush(stdout);
}

std::string list(const JsonValue& array)
{
    std::string text;
    for (const JsonValue& item : array.items())
        text += (text.empty() ? "" : ", ") + item.asString();
    return text.empty() ? "none" : text;
}

void shoot(const std::string& folder, const std::string& name)
{
    // The widget fades its controls in over a quarter second on the host's clock; a picture
    // taken earlier shows them half drawn.
    usleep(400 * 1000);
    askHost(control::kSpringboard, { "screenshot", folder + "/" + name, "2" });
}

// The Settings file changed as the Settings app's rows change it, and announced.
void changeSetting(std::string_view key, PlistValue value)
{
    PreferenceFile settings = RVXSettings::file();
    if (!settings.setObject(std::move(value), key))
        throw ActionError("could not write the Settings file");
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), RVXSettings::notificationName,
        nullptr, nullptr, true);
}

int runDemo(const Options&, const Arguments&)
{
    if (!isDeviceRoot(DeviceRoot::root())) {
        std::string error;
        if (!createDeviceFolders(DeviceRoot::root(), error))
            throw ActionError(error);
        std::vector<std::string> apps;
        for (const SampleApp& app : sampleApps())
            apps.push_back(app.identifier);
        stageApps(apps);
        for (const std::string& line : stageBundles(executableDirectory() + "/../bundles"))
            std::fprintf(stderr, "ruvex: note: %s\n", line.c_str());
        step("created the device at " + DeviceRoot::root());
    } else {
        stageBundles(executableDirectory() + "/../bundles");
        step("using the device at " + DeviceRoot::root());
    }
    notifyTransportSetDeviceRoot(DeviceRoot::root().c_str());
    std::string shots = DeviceRoot::root() + "/demo";
    std::filesystem::create_directories(shots);

    bootHosts();
    JsonValue ping = askHost(control::kSpringboard, { "ping" });
    step("booted: " + ping["text"].asString());
    if (ping["widgets"].asNumber() < 1)
        throw ActionError("the widget is not installed on the device; build it and run `ruvex device create`");

    changeSetting("com.apple.Music", PlistValue(true));
    step("excluded com.apple.Music from closing");
    for (const char* app : { "com.apple.Music", "com.apple.mobilemail", "com.apple.MobileSMS", "com.apple.newsstand",
             "com.apple.mobilesafari" })
        askHost(control::kSpringboard, { "launch", app });
    step("launched Music, Mail, Messages, Newsstand and Safari (Safari in front): switcher "
        + list(askHost(control::kSpringboard, { "switcher" })["switcher"]));

    askHost(control::kSpringboard, { "nc", "open" });
    shoot(shots, "1-center-open.png");
    step("opened the Notification Center");

    JsonValue tap = askHost(control::kSpringboard, { "nc", "tap", "bar" });
    shoot(shots, "2-after-tap.png");
    step("tapped the bar: closed " + list(tap["closed"]) + "; stayed " + list(tap["stayed"]));

    changeSetting(RVXSettings::Keys::Label.name, PlistValue("Close them all"));
    changeSetting(RVXSettings::Keys::TextColor.name, PlistValue("0.000000,1.000000,1.000000,1.000000"));
    changeSetting(RVXSettings::Keys::Height.name, PlistValue(60.0));
    JsonValue after = askHost(control::kSpringboard, { "ping" });
    step("changed the label to \"Close them all\", the colour to red and the height to 60 ("
        + std::to_string(int(after["settingsChanges"].asNumber())) + " change(s) heard by the shell)");
    shoot(shots, "3-restyled.png");
    step("the widget restyled: see 3-restyled.png");

    shutdownHosts();
    step("shut down; screenshots in " + shots);
    return 0;
}

CommandRegistration demoVerb({ "demo", "", "create the default device if needed and show the widget at work",
    "Boots the device, launches apps, taps the bar, restyles the widget, writes screenshots\n"
    "into the device's demo/ folder and shuts down.", 0, 0, runDemo });

} // namespace
} // namespace ruvex
