#pragma once

// The apps installed on the device, read from /Applications/NAME.app/Info.plist: the one
// type and the one reader for the shell and the Settings app alike.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct InstalledApp {
    std::string bundleIdentifier;
    // CFBundleDisplayName, else CFBundleName, else the folder's name without ".app".
    std::string displayName;
    std::vector<std::string> urlSchemes; // CFBundleURLTypes' schemes, lower case
};

namespace InstalledApps {

// An app folder that was left out, and why.
struct Skipped {
    std::string path; // phone path of the .app folder
    std::string reason;
};

// Every /Applications/NAME.app of the device root, sorted by folder name. A folder whose
// Info.plist is missing, unreadable or has no CFBundleIdentifier, or whose identifier an
// earlier folder already has, is left out (and listed in `skipped` when one is given).
std::vector<InstalledApp> read(std::vector<Skipped>* skipped = nullptr);

// One app from its folder (a phone path); nothing, with the reason, when it has no readable
// Info.plist or no CFBundleIdentifier.
std::optional<InstalledApp> readOne(std::string_view appPhonePath, std::string* reason = nullptr);

// Sorted by display name without regard to case, then by identifier.
void sortByDisplayName(std::vector<InstalledApp>& apps);

} // namespace InstalledApps
