#pragma once

// The specifier plist as tweak developers write it:
//
//   <dict>
//     <key>title</key> <string>Pane title</string>
//     <key>items</key>
//     <array>
//       <dict> <key>cell</key><string>PSGroupCell</string> <key>label</key><string>Group</string>
//              <key>footerText</key><string>...</string> </dict>
//       <dict> <key>cell</key><string>PSSwitchCell</string> <key>label</key><string>Dismiss</string>
//              <key>key</key><string>Dismiss</string> <key>defaults</key><string>com.example.prefs</string>
//              <key>default</key><false/> <key>PostNotification</key><string>com.example.changed</string> </dict>
//       <dict> <key>cell</key><string>PSLinkCell</string> <key>label</key><string>More</string>
//              <key>detail</key><string>SomeListController</string> <key>isController</key><true/> </dict>
//       ...
//     </array>
//   </dict>
//
// Every key of a row is kept in the specifier's properties; "label" becomes the name, "cell"
// the cell type (an unknown or missing cell is a plain list-item row), "detail" the detail
// pane class when a class of that name is registered (the name stays in the properties,
// so a bundle loaded later can still supply it). Rows that are not dictionaries are skipped.

#include "preferences/PSSpecifier.h"

#include <vector>

struct SpecifierPlist {
    std::string title;
    std::vector<PSSpecifierRef> specifiers;
};

namespace specifier_plist {

PSSpecifierRef specifierFromRow(const NSDictionary& row, const id& target);
std::vector<PSSpecifierRef> specifiersFromItems(const NSArray& items, const id& target);
// Nothing when the dictionary has no "items" array.
std::optional<SpecifierPlist> fromDictionary(const NSDictionary& plist, const id& target);
// Reads a phone path; nothing for a missing or unreadable file or one without "items".
std::optional<SpecifierPlist> load(std::string_view phonePath, const id& target);

} // namespace specifier_plist
