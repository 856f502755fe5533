// demo: the main job on the device, told one step a line, with a screenshot of each step.

#include "Command.h"
#include "Device.h"
#include "Hosts.h"
#include "Staging.h"

#include "corefoundation/CFNotificationCenter.h"
#include "foundation/DeviceRoot.h"
#include "shared/RVXSettings.h"

#include <chrono>
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

// The Settings file changed as a row would change it, and announced: for what no pane can
// be driven to change from here.
void writeSetting(std::string_view key, PlistValue value)
{
    PreferenceFile settings = RVXSettings::file();
    if (!settings.setObject(std::move(value), key))
        throw ActionError("could not write the Settings file");
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), RVXSettings::notificationName,
        nullptr, nullptr, true);
}

int settingsChanges()
{
    return int(askHost(control::kSpringboard, { "ping" })["settingsChanges"].asNumber());
}

// Waits until the shell has heard a settings change since `before`.
void awaitShell(int before, const std::string& what)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (settingsChanges() <= before) {
        if (std::chrono::steady_clock::now() > deadline)
            throw ActionError("the shell did not take the change of " + what + " within 10 s");
        usleep(20 * 1000);
    }
}

std::string rowTitled(const std::string& title)
{
    JsonValue rows = askHost(control::kSettings, { "rows" });
    for (const JsonValue& section : rows["sections"].items())
        for (const JsonValue& row : section["rows"].items())
            if (row["title"].asString() == title
                || (row["title"].asString().empty() && section["header"].asString() == title))
                return std::to_string(int(row["section"].asNumber())) + ":" + std::to_string(int(row["row"].asNumber()));
    return {};
}

// The label typed into the label pane's field; false when the pane offers no field to edit.
bool typeLabel(const std::string& label)
{
    askHost(control::kSettings, { "open", "RVXFontController" });
    std::string row = rowTitled("Label");
    if (row.empty())
        return false;
    askHost(control::kSettings, { "tap", row });
    askHost(control::kSettings, { "clear" });
    askHost(control::kSettings, { "type", label });
    askHost(control::kSettings, { "return" });
    askHost(control::kSettings, { "back" });
    return RVXSettings::stringFor(RVXSettings::read(), RVXSettings::Keys::Label.name, "") == label;
}

void restyle(const std::string& shots)
{
    const std::string label = "Close them all";
    int before = settingsChanges();
    bool typed = false;
    try {
        typed = typeLabel(label);
    } catch (const ActionError& error) {
        step(std::string("the label pane could not be edited here (") + error.what() + ")");
    }
    if (!typed) {
        writeSetting(RVXSettings::Keys::Label.name, PlistValue(label));
        step("wrote the label \"" + label + "\" into the Settings file directly");
    } else {
        step("typed the label \"" + label + "\" into the Settings app's label field");
    }
    awaitShell(before, "the label");

    // The colour overlay's picker takes touches that no verb drives yet, so the colour is
    // written as its Save would store it.
    before = settingsChanges();
    writeSetting(RVXSettings::Keys::TextColor.name, PlistValue("0.000000,1.000000,1.000000,1.000000"));
    step("wrote the colour red into the Settings file directly (the colour picker is not driven from here)");
    awaitShell(before, "the colour");

    before = settingsChanges();
    askHost(control::kSettings, { "open", "RVXExtrasController" });
    std::string height = rowTitled("Widget Height");
    if (height.empty())
        throw ActionError("the Extras pane shows no Height row");
    askHost(control::kSettings, { "slide", height, "60", "10" });
    awaitShell(before, "the height");
    askHost(control::kSettings, { "screenshot", shots + "/3-settings-extras.png", "2" });
    step("dragged the Height slider to 60 in the Settings app: " + std::to_string(settingsChanges())
        + " change(s) heard by the shell so far");
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

    writeSetting("com.apple.Music", PlistValue(true));
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

    restyle(shots);
    shoot(shots, "4-restyled.png");
    step("the widget restyled: see 4-restyled.png");

    shutdownHosts();
    step("shut down; screenshots in " + shots);
    return 0;
}

CommandRegistration demoVerb({ "demo", "", "create the default device if needed and show the widget at work",
    "Boots the device, launches apps, taps the bar, restyles the widget through the Settings\n"
    "app (label and height; the colour is written directly), writes screenshots\n"
    "into the device's demo/ folder and shuts down.", 0, 0, runDemo });

} // namespace
} // namespace ruvex
