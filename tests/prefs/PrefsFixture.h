#pragma once

// A device with RuvexProprefs.bundle and its PreferenceLoader entry installed and the Settings
// host on it, in a fresh platform scope (a virtual clock; alerts, sheets and the shared
// application reset).

#include "PlatformScope.h"
#include "PostRecorder.h"
#include "SettingsHost.h"
#include "support/Succeeded.h"

#include "shared/RVXSettings.h"

#include "corefoundation/CFRunLoop.h"
#include "ui/UIActionSheet.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

class PrefsFixture : public ::testing::Test {
protected:
    PrefsFixture()
    {
        installBundle();
        UIApplication::sharedApplication()->setInstalledSchemesHook([this] { return _schemes; });
        PostRecorder::clear();
        _host = std::make_unique<SettingsHost>();
    }

    ~PrefsFixture() override
    {
        _host.reset();
        drain();
    }

    SettingsHost& host() { return *_host; }
    PSListControllerRef top() { return _host->topPane(); }

    void openRuvex() { ASSERT_TRUE(succeeded(_host->openEntry("Ruvex Pro"))); }
    void openPane(std::string_view rowName)
    {
        openRuvex();
        ASSERT_TRUE(succeeded(_host->tapRowNamed(rowName)));
    }

    UITableViewCellRef cell(int section, int row)
    {
        return top()->table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(row, section));
    }

    // Timers due now (delayed performs, animation completions), then the posted callbacks.
    void drain()
    {
        _clock->advance(0);
        while (RunLoop::main().runOnce(0)) { }
    }
    void advance(double seconds)
    {
        _clock->advance(seconds);
        drain();
    }

    int posts() const { return PostRecorder::count(RVXSettings::notificationName); }
    NSDictionary settings() const { return RVXSettings::read(); }
    std::string settingsHostPath() const { return _device.hostPath(RVXSettings::path); }
    void writeSettings(const NSDictionary& settings)
    {
        _device.hostPath(RVXSettings::path);
        ASSERT_TRUE(settings.writeToFile(RVXSettings::path, true));
    }
    void writeSettingsBytes(const std::string& bytes) { std::ofstream(settingsHostPath(), std::ios::binary) << bytes; }
    bool settingsExist() const { return std::filesystem::exists(_device.hostPath(RVXSettings::path, false)); }

    const std::vector<std::string>& opened() const { return UIApplication::sharedApplication()->openedURLs(); }

    PlatformScope _platform;
    TestDevice& _device = _platform.device();
    std::vector<std::string> _schemes;

private:
    // The executable is linked rather than copied, so that every test's device loads the one
    // image this process already holds: classes register once per process, as on the phone.
    void installBundle()
    {
        namespace fs = std::filesystem;
        fs::path bundle = _device.hostPath("/Library/PreferenceBundles/RuvexProprefs.bundle/Info.plist");
        bundle = bundle.parent_path();
        fs::copy(PREFS_BUNDLE_DIR, bundle, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::remove(bundle / "RuvexProprefs");
        fs::create_symlink(fs::path(PREFS_BUNDLE_DIR) / "RuvexProprefs", bundle / "RuvexProprefs");
        fs::path entry = _device.hostPath("/Library/PreferenceLoader/Preferences/RuvexPro.plist");
        fs::copy_file(fs::path(PREFERENCE_LOADER_DIR) / "RuvexPro.plist", entry, fs::copy_options::overwrite_existing);
    }

    std::shared_ptr<VirtualClock> _clock = _platform.sharedClock();
    std::unique_ptr<SettingsHost> _host;
};
