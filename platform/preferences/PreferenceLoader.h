#pragma once

// The Settings app's list of third-party entries: every plist under
// /Library/PreferenceLoader/Preferences/ (searched recursively) whose "entry" dictionary
// names a pane. An entry with "bundle" loads /Library/PreferenceBundles/NAME.bundle (else
// /System/Library/PreferenceBundles/NAME.bundle) and creates its "detail" class (else the
// bundle's principal class) by name; an entry without "bundle" shows the file's own
// "title" and "items" as a plain pane.

#include "foundation/Result.h"
#include "preferences/PSListController.h"

#include <string>
#include <vector>

struct PreferenceLoaderEntry {
    std::string label;
    std::string bundle;      // empty for a pane described by the file itself
    std::string cell;
    std::string detail;
    bool isController = false;
    std::string icon;
    std::string plistPath;   // the entry file's phone path
    NSDictionary plist;      // the whole entry file
};

namespace PreferenceLoader {

inline constexpr const char* kEntriesDirectory = "/Library/PreferenceLoader/Preferences";

// The entries, sorted by label without regard to case (then by file path, so that the order
// is stable). Files that are not dictionaries or have no "entry" dictionary are skipped.
std::vector<PreferenceLoaderEntry> entries();
// The phone path of the entry's bundle directory, or nothing when neither place has it.
std::optional<std::string> bundlePathForEntry(const PreferenceLoaderEntry& entry);
// The entry's root pane, its bundle set; the reason when the bundle is missing, does not
// load or has no such pane class.
Result<PSListControllerRef> createRootPane(const PreferenceLoaderEntry& entry);

} // namespace PreferenceLoader
