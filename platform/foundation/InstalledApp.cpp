#include "foundation/InstalledApp.h"

#include "foundation/DeviceRoot.h"
#include "foundation/PlistValue.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace InstalledApps {

namespace {

constexpr std::string_view applicationsFolder = "/Applications";

const std::string* stringFor(const NSDictionary& info, std::string_view key)
{
    const PlistValue* value = info.objectForKey(key);
    return value && value->string() && !value->string()->empty() ? value->string() : nullptr;
}

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::vector<std::string> urlSchemes(const NSDictionary& info)
{
    std::vector<std::string> schemes;
    const PlistValue* types = info.objectForKey("CFBundleURLTypes");
    if (!types || !types->array())
        return schemes;
    for (const PlistValue& type : *types->array()) {
        const PlistValue* list = type.dictionary() ? type.dictionary()->objectForKey("CFBundleURLSchemes") : nullptr;
        if (!list || !list->array())
            continue;
        for (const PlistValue& scheme : *list->array()) {
            if (scheme.string() && !scheme.string()->empty())
                schemes.push_back(lowercase(*scheme.string()));
        }
    }
    return schemes;
}

} // namespace

std::optional<InstalledApp> readOne(std::string_view appPhonePath, std::string* reason)
{
    std::string path(appPhonePath);
    std::optional<NSDictionary> info = NSDictionary::dictionaryWithContentsOfFile(path + "/Info.plist");
    if (!info) {
        if (reason)
            *reason = "no readable Info.plist";
        return std::nullopt;
    }
    const std::string* identifier = stringFor(*info, "CFBundleIdentifier");
    if (!identifier) {
        if (reason)
            *reason = "Info.plist has no CFBundleIdentifier";
        return std::nullopt;
    }
    InstalledApp app;
    app.bundleIdentifier = *identifier;
    if (const std::string* name = stringFor(*info, "CFBundleDisplayName"))
        app.displayName = *name;
    else if (const std::string* bundleName = stringFor(*info, "CFBundleName"))
        app.displayName = *bundleName;
    else
        app.displayName = fs::path(path).stem().string();
    app.urlSchemes = urlSchemes(*info);
    return app;
}

std::vector<InstalledApp> read(std::vector<Skipped>* skipped)
{
    std::vector<std::string> folders;
    std::error_code error;
    fs::directory_iterator it(DeviceRoot::resolve(applicationsFolder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        fs::path name = it->path().filename();
        std::error_code ignored;
        if (name.extension() == ".app" && it->is_directory(ignored))
            folders.push_back(name.string());
    }
    std::sort(folders.begin(), folders.end());

    std::vector<InstalledApp> apps;
    std::set<std::string> identifiers;
    for (const std::string& folder : folders) {
        std::string path = std::string(applicationsFolder) + "/" + folder;
        std::string reason;
        std::optional<InstalledApp> app = readOne(path, &reason);
        if (app && !identifiers.insert(app->bundleIdentifier).second) {
            reason = app->bundleIdentifier + " is installed by an earlier folder too";
            app.reset();
        }
        if (app)
            apps.push_back(std::move(*app));
        else if (skipped)
            skipped->push_back({ path, reason });
    }
    return apps;
}

void sortByDisplayName(std::vector<InstalledApp>& apps)
{
    std::sort(apps.begin(), apps.end(), [](const InstalledApp& a, const InstalledApp& b) {
        std::string left = lowercase(a.displayName), right = lowercase(b.displayName);
        return left != right ? left < right : a.bundleIdentifier < b.bundleIdentifier;
    });
}

} // namespace InstalledApps
