// demo: the main job on the device, told one step a line, with a screenshot of each step.

#include "Command.h"
#include "Device.h"
#include "Hosts.h"
#include "Staging.h"

#include "foundation/DeviceRoot.h"

#include <algorithm>
#include <chrono>
#include <cmath>
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

std::string list(const json::Value& array)
{
    std::string text;
    for (const json::Value& item : json::items(array))
        text += (text.empty() ? "" : ", ") + json::text(item);
    return text.empty() ? "none" : text;
}

void shoot(const std::string& folder, const std::string& name)
{
    // The widget fades its controls in over a quarter second on the host's clock; a picture
    // taken earlier shows them half drawn.
    usleep(400 * 1000);
    askHost(control::kSpringboard, { "screenshot", folder + "/" + name, "2" });
}

int settingsChanges()
{
    return int(json::numeric(json::member(askHost(control::kSpringboard, { "ping" }), "settingsChanges")));
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

// The top pane's first row titled so, or untitled under a header so titled.
std::optional<json::Value> rowTitled(const std::string& title)
{
    json::Value rows = askHost(control::kSettings, { "rows" });
    for (const json::Value& section : json::items(json::member(rows, "sections")))
        for (const json::Value& row : json::items(json::member(section, "rows")))
            if (json::text(json::member(row, "title")) == title
                || (json::text(json::member(row, "title")).empty() && json::text(json::member(section, "header")) == title))
                return row;
    return std::nullopt;
}

// The pane of `paneClass` opened from the product's root pane, or the root pane itself.
void openPane(const std::string& paneClass = {})
{
    if (paneClass.empty())
        askHost(control::kSettings, { "open" });
    else
        askHost(control::kSettings, { "open", paneClass });
}

json::Value requireRow(const std::string& title)
{
    std::optional<json::Value> row = rowTitled(title);
    if (!row)
        throw ActionError("the Settings pane shows no row \"" + title + "\"");
    return *row;
}

// "S:R" of a row.
std::string place(const json::Value& row)
{
    return control::rowName({ int(json::numeric(json::member(row, "section"))), int(json::numeric(json::member(row, "row"))) });
}

// Music's switch turned on in the Excluded Apps list.
void excludeMusic()
{
    int before = settingsChanges();
    openPane();
    askHost(control::kSettings, { "tap", "Excluded Apps" });
    json::Value flipped = askHost(control::kSettings, { "switch", place(requireRow("Music")), "on" });
    if (json::flag(json::member(flipped, "changed")))
        awaitShell(before, "the excluded apps");
}

void typeLabel(const std::string& label)
{
    int before = settingsChanges();
    openPane("RVXFontController");
    askHost(control::kSettings, { "tap", place(requireRow("Label")) });
    askHost(control::kSettings, { "clear" });
    askHost(control::kSettings, { "type", label });
    askHost(control::kSettings, { "return" });
    askHost(control::kSettings, { "back" });
    awaitShell(before, "the label");
}

// The colour overlay opened from the label pane, a finger dragged across the hue and
// saturation map to its red corner, a picture of the picker, and Save.
void pickRed(const std::string& shots)
{
    int before = settingsChanges();
    openPane("RVXFontController");
    askHost(control::kSettings, { "tap", "Font Color" });
    usleep(500 * 1000); // the overlay slides in over 0.3 s
    // Hue 0 at the map's left edge, full saturation on the line at y 120 of the picker.
    askHost(control::kSettings, { "drag", "160", "250", "11", "120", "10", "ColorPickerView" });
    usleep(400 * 1000); // the crosshair glides to the finger over 0.25 s
    askHost(control::kSettings, { "screenshot", shots + "/3-settings-colour.png", "2" });
    askHost(control::kSettings, { "bar", "right" });
    awaitShell(before, "the colour");
    usleep(500 * 1000); // the overlay slides out
}

// The height the slider was dragged to.
std::string dragHeight(const std::string& shots)
{
    int before = settingsChanges();
    openPane("RVXExtrasController");
    json::Value row = requireRow("Widget Height");
    // A drag that ends where it began changes nothing, so an earlier run's 60 goes to 50.
    const char* target = std::abs(json::numeric(json::member(row, "value")) - 60) < 0.5 ? "50" : "60";
    askHost(control::kSettings, { "slide", place(row), target, "10" });
    awaitShell(before, "the height");
    askHost(control::kSettings, { "screenshot", shots + "/4-settings-extras.png", "2" });
    return target;
}

void restyle(const std::string& shots)
{
    const std::string label = "Close them all";
    typeLabel(label);
    step("typed the label \"" + label + "\" into the Settings app's label field");
    pickRed(shots);
    step("dragged the colour picker's crosshair to red and tapped Save");
    std::string height = dragHeight(shots);
    step("dragged the Height slider to " + height + ": " + std::to_string(settingsChanges())
        + " change(s) heard by the shell so far");
}

// The pictures a run writes into the device's demo/ folder; nothing else there is the demo's.
const char* kPictures[] = { "1-center-open.png", "2-after-tap.png", "3-settings-colour.png", "4-settings-extras.png",
    "5-restyled.png" };

int runDemo(const Options&, const Arguments&)
{
    const std::string root = DeviceRoot::root();
    if (!isDeviceRoot(root)) {
        createDeviceFolders(root); // refuses a directory that is not a device
        stageApps(allSampleApps());
        for (const std::string& line : installProduct())
            std::fprintf(stderr, "ruvex: note: %s\n", line.c_str());
        step("created the device at " + root);
    } else {
        for (const std::string& line : installProduct())
            std::fprintf(stderr, "ruvex: note: %s\n", line.c_str());
        step("using the device at " + root);
    }
    // The user may keep pictures of their own there: only the demo's go at an erase.
    std::string shots = root + "/demo";
    std::filesystem::create_directory(shots);
    std::vector<std::string> made { "demo/" };
    for (const char* picture : kPictures)
        made.push_back(std::string("demo/") + picture);
    recordMade(root, made);
    // The folder holds one run's pictures: those of an earlier run go first.
    for (const char* picture : kPictures) {
        std::error_code ignored;
        std::filesystem::remove(shots + "/" + picture, ignored);
    }

    bootHosts();
    json::Value ping = askHost(control::kSpringboard, { "ping" });
    step("booted: " + json::text(json::member(ping, "text")));
    if (json::numeric(json::member(ping, "widgets")) < 1)
        throw ActionError("the widget is not installed on the device; build it and run `ruvex device create`");

    excludeMusic();
    step("turned on Music in the Settings app's Excluded Apps list");
    for (const char* app : { "com.apple.Music", "com.apple.mobilemail", "com.apple.MobileSMS", "com.apple.newsstand",
             "com.apple.mobilesafari" })
        askHost(control::kSpringboard, { "launch", app });
    step("launched Music, Mail, Messages, Newsstand and Safari (Safari in front): switcher "
        + list(json::member(askHost(control::kSpringboard, { "switcher" }), "switcher")));

    askHost(control::kSpringboard, { "nc", "open" });
    shoot(shots, "1-center-open.png");
    step("opened the Notification Center");

    json::Value tap = askHost(control::kSpringboard, { "nc", "tap", "bar" });
    shoot(shots, "2-after-tap.png");
    step("tapped the bar: closed " + list(json::member(tap, "closed")) + "; stayed " + list(json::member(tap, "stayed")));

    restyle(shots);
    shoot(shots, "5-restyled.png");
    step("the widget restyled: see 5-restyled.png");

    shutdownHosts();
    step("to try the phone by hand: ruvex boot && ruvex window (the mouse is a finger, Escape is Home)");
    step("shut down; the screenshots:");
    for (const char* picture : kPictures)
        if (std::filesystem::exists(shots + "/" + picture))
            std::printf("  %s/%s\n", shots.c_str(), picture);
    return 0;
}

CommandRegistration demoVerb({ "demo", "", "create the default device if needed and show the widget at work",
    "Boots the device, launches apps, taps the bar, restyles the widget through the Settings\n"
    "app (label, colour and height), writes screenshots\n"
    "into the device's demo/ folder (replacing an earlier run's, and only those) and shuts down.\n"
    "Refuses a directory that holds something but is not a device.", 0, 0, runDemo });

} // namespace
} // namespace ruvex
