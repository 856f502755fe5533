#include "InstalledAppReader.h"

#include "foundation/DeviceRoot.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace InstalledAppReader {

namespace {

constexpr std::string_view applicationsFolder = "/Applications";

const std::string* stringFor(const NSDictionary& info, std::string_view key)
{
    const PlistValue* value = info.objectForKey(key);
    return value ? value->string() : nullptr;
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

std::optional<InstalledApp> readApplication(std::string_view appPhonePath)
{
    std::string path(appPhonePath);
    std::optional<NSDictionary> info = NSDictionary::dictionaryWithContentsOfFile(path + "/Info.plist");
    if (!info) {
        std::fprintf(stderr, "springboard: skipping %s: no readable Info.plist\n", path.c_str());
        return std::nullopt;
    }
    const std::string* identifier = stringFor(*info, "CFBundleIdentifier");
    if (!identifier || identifier->empty()) {
        std::fprintf(stderr, "springboard: skipping %s: Info.plist has no CFBundleIdentifier\n", path.c_str());
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

std::vector<InstalledApp> readApplications()
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
    for (const std::string& folder : folders) {
        if (auto app = readApplication(std::string(applicationsFolder) + "/" + folder))
            apps.push_back(std::move(*app));
    }
    return apps;
}

} // namespace InstalledAppReader
