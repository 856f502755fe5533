#pragma once

// Reads the apps installed on the device from their Info.plist files.

#include "ShellState.h"

#include <optional>
#include <string_view>
#include <vector>

namespace InstalledAppReader {

// Every /Applications/NAME.app/Info.plist of the device root, sorted by folder name. An
// app whose Info.plist is missing, unreadable or has no CFBundleIdentifier is skipped with a
// one-line message on stderr.
std::vector<InstalledApp> readApplications();

// One app from its Info.plist (a phone path); the display name falls back to
// CFBundleName, then to the folder's name.
std::optional<InstalledApp> readApplication(std::string_view appPhonePath);

} // namespace InstalledAppReader
