#pragma once

// Installing and removing packages on a device as the phone's dpkg does. An install checks the
// whole package first (PackageArchive.h), then its control fields (Package, Version,
// Architecture iphoneos-arm or all), its dependencies among the installed packages, its version
// against the installed one (older only with --downgrade), files that belong to another
// package, and the device (no folder on the way may be a link, no folder where a file goes).
// Only then are the files unpacked into a staging folder inside the device and renamed into
// place, each file a new one so that a host that maps the old copy keeps it; an upgrade then
// removes the files the new version no longer has. Removing deletes exactly the files the
// package's list names (folders only when empty and no other package lists them): what the
// user made, such as the Settings file, stays.

#include <string>
#include <vector>

namespace ruvex {

struct InstallReport {
    std::string package;
    std::string version;
    std::string previous;        // the version replaced, or empty
    bool widgetsChanged = false; // a bundle below /System/Library/WeeAppPlugins changed
    bool settingsChanged = false; // a preference bundle or PreferenceLoader entry changed
    std::vector<std::string> notes;
};

enum class Downgrade { Refuse, Allow };

// Installs a .deb file, or one bundle folder at the phone folder its Info.plist calls for.
InstallReport installPackage(const std::string& root, const std::string& file, Downgrade downgrade);
InstallReport installBundle(const std::string& root, const std::string& folder);
InstallReport uninstallPackage(const std::string& root, const std::string& name);

// Records the phone's own packages that products depend on (preferenceloader, firmware) when
// the device lacks them.
void recordPhonePackages(const std::string& root);
// The product's package that the build made, beside ruvex's folder.
std::string productPackage();

} // namespace ruvex
