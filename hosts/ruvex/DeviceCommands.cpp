// device create / erase / path: the device root's lifecycle.

#include "Command.h"
#include "Device.h"
#include "Json.h"
#include "Hosts.h"
#include "Staging.h"

#include "foundation/DeviceRoot.h"

#include <cstdio>
#include <filesystem>

namespace ruvex {
namespace {

int createDevice(const Options& options, const Arguments& arguments)
{
    std::vector<std::string> apps;
    if (arguments.size() == 2 && arguments[0] == "--apps") {
        std::string list = arguments[1];
        size_t start = 0;
        while (start <= list.size()) {
            size_t comma = list.find(',', start);
            std::string name = list.substr(start, comma - start);
            if (!name.empty())
                apps.push_back(name);
            if (comma == std::string::npos)
                break;
            start = comma + 1;
        }
    } else if (!arguments.empty()) {
        throw UsageError("device create takes only --apps ID,...");
    } else {
        for (const SampleApp& app : sampleApps())
            apps.push_back(app.identifier);
    }
    std::string error;
    if (!createDeviceFolders(DeviceRoot::root(), error))
        throw ActionError(error);
    stageApps(apps);
    std::vector<std::string> missing = stageBundles(executableDirectory() + "/../bundles");
    for (const std::string& line : missing)
        std::fprintf(stderr, "ruvex: note: %s\n", line.c_str());
    if (options.json) {
        std::printf("{\"device\":%s,\"apps\":[", jsonQuoted(DeviceRoot::root()).c_str());
        for (size_t i = 0; i < apps.size(); ++i)
            std::printf("%s%s", i ? "," : "", jsonQuoted(apps[i]).c_str());
        std::printf("],\"missing\":%zu}\n", missing.size());
    } else
        std::printf("device ready at %s with %zu app(s)\n", DeviceRoot::root().c_str(), apps.size());
    return 0;
}

int eraseDevice(const Options&, const Arguments&)
{
    std::string root = DeviceRoot::root();
    if (!isDeviceRoot(root))
        throw ActionError(root + " is not a device made by ruvex; nothing erased");
    std::error_code failure;
    std::filesystem::remove_all(root, failure);
    if (failure)
        throw ActionError("could not erase " + root + ": " + failure.message());
    std::printf("erased %s\n", root.c_str());
    return 0;
}

int printDevicePath(const Options& options, const Arguments&)
{
    if (options.json)
        std::printf("{\"device\":%s,\"exists\":%s}\n", jsonQuoted(DeviceRoot::root()).c_str(),
            isDeviceRoot(DeviceRoot::root()) ? "true" : "false");
    else
        std::printf("%s\n", DeviceRoot::root().c_str());
    return 0;
}

CommandRegistration createVerb({"device create", "[--apps ID,...]",
    "make the device root, stage the bundles and install sample apps",
    "Creating a device that exists keeps what it holds and stages the bundles again.\n"
    "Sample apps: com.apple.mobilesafari com.apple.mobilemail com.apple.MobileSMS com.apple.Music\n"
    "com.apple.newsstand com.apple.mobileslideshow com.atebits.Tweetie2 com.tapbots.Tweetbot\n"
    "com.iconfactory.Twitterrific (all by default).", 0, 2, createDevice});
CommandRegistration eraseVerb({"device erase", "", "remove the device root and everything in it", "", 0, 0,
    eraseDevice});
CommandRegistration pathVerb({"device path", "", "print the device root", "", 0, 0, printDevicePath});

} // namespace
} // namespace ruvex
