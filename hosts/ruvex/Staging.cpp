#include "Staging.h"

#include "Command.h"
#include "Device.h"
#include "PackageInstall.h"

#include "foundation/DeviceRoot.h"
#include "foundation/PlistValue.h"

#include <algorithm>
#include <filesystem>

namespace ruvex {

const std::vector<SampleApp>& sampleApps()
{
    static const std::vector<SampleApp> apps {
        { "com.apple.mobilesafari", "Safari", nullptr },
        { "com.apple.mobilemail", "Mail", "mailto" },
        { "com.apple.MobileSMS", "Messages", "sms" },
        { "com.apple.Music", "Music", nullptr },
        { "com.apple.newsstand", "Newsstand", nullptr },
        { "com.apple.mobileslideshow", "Photos", nullptr },
        { "com.atebits.Tweetie2", "Twitter", "twitter" },
        { "com.tapbots.Tweetbot", "Tweetbot", "tweetbot" },
        { "com.iconfactory.Twitterrific", "Twitterrific", "twitterrific" },
    };
    return apps;
}

namespace {

const SampleApp* sampleApp(const std::string& identifier)
{
    for (const SampleApp& app : sampleApps())
        if (identifier == app.identifier)
            return &app;
    return nullptr;
}

} // namespace

std::vector<std::string> installProduct()
{
    recordPhonePackages(DeviceRoot::root());
    std::string package = productPackage();
    std::error_code failure;
    if (!std::filesystem::is_regular_file(package, failure))
        return { "the product's package is not built (looked for " + package + "): run scripts/build" };
    InstallReport report = installPackage(DeviceRoot::root(), package, Downgrade::Allow);
    return report.notes;
}

std::vector<std::string> sampleAppList(const std::string& list)
{
    std::vector<std::string> apps;
    size_t start = 0;
    while (start <= list.size()) {
        size_t comma = list.find(',', start);
        std::string name = list.substr(start, comma - start);
        if (!name.empty() && !sampleApp(name))
            throw UsageError("no sample app '" + name + "' (ruvex device create --help lists them)");
        if (!name.empty() && std::find(apps.begin(), apps.end(), name) == apps.end())
            apps.push_back(name);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (apps.empty())
        throw UsageError("--apps needs at least one sample app");
    return apps;
}

std::vector<std::string> allSampleApps()
{
    std::vector<std::string> apps;
    for (const SampleApp& app : sampleApps())
        apps.push_back(app.identifier);
    return apps;
}

void stageApps(const std::vector<std::string>& identifiers)
{
    for (const std::string& identifier : identifiers) {
        const SampleApp* found = sampleApp(identifier);
        if (!found)
            throw UsageError("no sample app '" + identifier + "' (ruvex device create --help lists them)");
        NSDictionary info { { "CFBundleIdentifier", found->identifier }, { "CFBundleDisplayName", found->name } };
        if (found->scheme)
            info.setObject(NSArray { NSDictionary { { "CFBundleURLSchemes", NSArray { found->scheme } } } }, "CFBundleURLTypes");
        std::string folder = "Applications/" + std::string(found->name) + ".app";
        makeFolders(DeviceRoot::root(), folder);
        std::string phonePath = "/" + folder + "/Info.plist";
        if (!info.writeToFile(phonePath, true))
            throw ActionError("could not write " + DeviceRoot::resolve(phonePath));
        recordMade(DeviceRoot::root(), { folder + "/Info.plist" });
    }
}

} // namespace ruvex
