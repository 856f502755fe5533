#pragma once

// A fresh device with the shell and the Settings app brought up in one process, on a
// virtual clock: what the gallery's screens are reached on. The build's bundles are staged
// at the phone's paths (their executables linked, so that every stage of a process loads
// the one image already loaded), a few sample apps are installed, the widget loads in the
// Notification Center's host and the Settings app shows its list.
//
// Every step that cannot be done throws StepError with one line saying what failed.

#include "SettingsHost.h"
#include "WeeAppHost.h"

#include "foundation/PlistValue.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class VirtualClock;

namespace gallery {

struct StepError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Which program's window a screen shows.
enum class Host { Center, Settings };

class Stage {
public:
    // `root` is made if missing and becomes the process's device root; `bundlesFolder` is
    // the build's bundles folder, with the PreferenceLoader entry in ../PreferenceLoader.
    Stage(const std::string& root, const std::string& bundlesFolder);
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    WeeAppHost& center() { return *_center; }
    SettingsHost& settings() { return *_settings; }
    const UIWindowRef& window(Host host) const;

    // Runs the clock on by `seconds` in small steps, so that every animation started on the
    // way has finished and every posted callback has run.
    void settle(double seconds = 1);

    // Keys written into the Settings file under its lock, then the settings-changed
    // notification posted and delivered, as the panes do.
    void changeSettings(const std::vector<std::pair<std::string, PlistValue>>& values);
    // A PNG of `size` points (drawn at scale 1) written at `phonePath`: a frame in two
    // colours with a stripe through its middle, so that a stretch shows.
    void writeSampleImage(std::string_view phonePath, CGSize size);

    // Opening the Center or the Settings app brings that program to the front: the modals
    // shown from then on are drawn by its own presenter over its own window, as that
    // program's process draws them.

    // The Notification Center opened, its widget faded in.
    void openCenter();
    // A tap on the widget's info button; an alert is on top afterwards.
    void tapInfo();
    // A tap on a button of the alert shown last, whichever program shows it.
    void tapAlertButton(std::string_view title);

    // Settings: the product's entry opened, then rows tapped by title in turn.
    void openSettings(const std::vector<std::string>& rows = {});
    void tapRow(std::string_view title);
    // A selector sent to the pane on top with one property-list argument, as a row's
    // action is sent.
    void sendToPane(const std::string& selector, const PlistValue& argument);

    // The view tree a screen shows, and its picture at `scale` pixels per point.
    CairoSurfacePtr render(Host host, double scale) const;

private:
    void stageBundles(const std::string& bundlesFolder);
    void stageApps();

    std::string _root;
    std::shared_ptr<VirtualClock> _clock;
    std::unique_ptr<WeeAppHost> _center;
    std::unique_ptr<SettingsHost> _settings;
};

// Makes the process see only the fonts that the project's setup installs (DejaVu, URW
// base 35, Liberation), whatever else the machine has, so that pictures and font lists
// are the same on every machine set up alike. Takes effect once, before any font is used.
void useFixedFonts();
// The folders those fonts lie in.
const std::vector<std::string>& fixedFontFolders();

} // namespace gallery
