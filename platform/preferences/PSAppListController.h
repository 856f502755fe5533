#pragma once

// A per-app switch list: one switch per app installed on the device (read from
// /Applications/*.app/Info.plist: "CFBundleIdentifier", "CFBundleDisplayName", else
// "CFBundleName", else the folder's name), sorted by display name without regard to case.
// The list is reached from a link row of any specifier plist:
//
//   <dict>
//     <key>cell</key>                    <string>PSLinkCell</string>
//     <key>label</key>                   <string>Excluded Apps</string>
//     <key>detail</key>                  <string>PSAppListController</string>
//     <key>isController</key>            <true/>
//     <key>ALSettingsPath</key>          <string>/var/mobile/Library/Preferences/com.example.plist</string>
//     <key>ALSettingsKeyPrefix</key>     <string></string>
//     <key>ALSettingsDefaultValue</key>  <false/>
//     <key>ALChangeNotification</key>    <string>com.example.changed</string>
//   </dict>
//
// Each app's key is the prefix followed by its bundle identifier; a switch shows the stored
// boolean (ALSettingsDefaultValue when the key is missing) and a flip stores it in the file at
// ALSettingsPath (else the "defaults" domain's file) with the locked change-one-key write,
// then posts ALChangeNotification (else "PostNotification").

#include "foundation/InstalledApp.h"
#include "preferences/PSListController.h"

class PSAppListController : public PSListController {
    RVX_OBJECT(PSAppListController)
public:
    PSAppListController() = default;

    static std::vector<InstalledApp> installedApps();

    const std::vector<PSSpecifierRef>& specifiers() override;
    std::optional<PlistValue> readPreferenceValue(const PSSpecifierRef& specifier) override;
    bool writePreferenceValue(const PlistValue& value, const PSSpecifierRef& specifier) override;
    void postPreferenceNotification(const PSSpecifierRef& specifier) override;

private:
    std::string settingsPath() const;
    std::string notificationName() const;
};
