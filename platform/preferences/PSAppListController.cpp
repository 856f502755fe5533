#include "preferences/PSAppListController.h"

#include "corefoundation/CFNotificationCenter.h"
#include "foundation/PreferenceFile.h"

RVX_DEFINE_CLASS(PSAppListController, PSListController)

std::vector<InstalledApp> PSAppListController::installedApps()
{
    std::vector<InstalledApp> apps = InstalledApps::read();
    InstalledApps::sortByDisplayName(apps);
    return apps;
}

const std::vector<PSSpecifierRef>& PSAppListController::specifiers()
{
    if (!_specifiers.empty())
        return _specifiers;
    std::string prefix = specifier() ? specifier()->stringProperty("ALSettingsKeyPrefix") : std::string();
    const PlistValue* fallback = specifier() ? specifier()->propertyForKey("ALSettingsDefaultValue") : nullptr;
    _specifiers.push_back(PSSpecifier::groupSpecifierWithName("Applications"));
    for (const InstalledApp& app : installedApps()) {
        auto row = PSSpecifier::preferenceSpecifierNamed(app.displayName, self(), {}, {}, nullptr, PSSwitchCell, nullptr);
        row->setProperty(prefix + app.bundleIdentifier, "key");
        row->setProperty(app.bundleIdentifier, "id");
        row->setProperty(fallback ? *fallback : PlistValue(false), "default");
        _specifiers.push_back(row);
    }
    return _specifiers;
}

std::string PSAppListController::settingsPath() const
{
    if (!specifier())
        return {};
    std::string path = specifier()->stringProperty("ALSettingsPath");
    if (path.empty() && !specifier()->defaults().empty())
        path = PreferenceFile::phonePathForDomain(specifier()->defaults());
    return path;
}

std::string PSAppListController::notificationName() const
{
    if (!specifier())
        return {};
    std::string name = specifier()->stringProperty("ALChangeNotification");
    return name.empty() ? specifier()->postNotification() : name;
}

std::optional<PlistValue> PSAppListController::readPreferenceValue(const PSSpecifierRef& row)
{
    std::string path = settingsPath();
    if (!row || path.empty())
        return std::nullopt;
    if (std::optional<NSDictionary> stored = PreferenceFile::forPhonePath(path).readIfPresent()) {
        if (const PlistValue* value = stored->objectForKey(row->key()))
            return *value;
    }
    const PlistValue* fallback = row->defaultValue();
    return fallback ? std::optional(*fallback) : std::nullopt;
}

bool PSAppListController::writePreferenceValue(const PlistValue& value, const PSSpecifierRef& row)
{
    std::string path = settingsPath();
    if (!row || path.empty() || row->key().empty())
        return false;
    return PreferenceFile::forPhonePath(path).setObject(value, row->key());
}

void PSAppListController::postPreferenceNotification(const PSSpecifierRef&)
{
    std::string name = notificationName();
    if (!name.empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name.c_str(), nullptr,
            nullptr, true);
}
