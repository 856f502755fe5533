// device create / erase / path: the device root's lifecycle.

#include "Command.h"
#include "Device.h"
#include "Json.h"
#include "Hosts.h"
#include "Staging.h"

#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>

namespace ruvex {
namespace {

int createDevice(const Options& options, const Arguments& arguments)
{
    // Every word is checked before anything is made.
    std::vector<std::string> apps;
    if (arguments.size() == 2 && arguments[0] == "--apps")
        apps = sampleAppList(arguments[1]);
    else if (!arguments.empty())
        throw UsageError("device create takes only --apps ID,...");
    else
        apps = allSampleApps();
    createDeviceFolders(DeviceRoot::root());
    stageApps(apps);
    std::vector<std::string> missing = installProduct();
    for (const std::string& line : missing)
        std::fprintf(stderr, "ruvex: note: %s\n", line.c_str());
    if (options.json) {
        json::Value out = json::Value::object();
        out["device"] = DeviceRoot::root();
        out["apps"] = apps;
        out["missing"] = missing.size();
        std::printf("%s\n", json::write(out).c_str());
    } else
        std::printf("device ready at %s with %zu app(s)\n", DeviceRoot::root().c_str(), apps.size());
    return 0;
}

int eraseDevice(const Options& options, const Arguments&)
{
    std::string root = DeviceRoot::root();
    if (isDeviceRoot(root) && (answers(control::kSpringboard) || answers(control::kSettings))) {
        shutdownHosts();
        std::fprintf(stderr, "ruvex: note: the device was booted; shut it down before erasing\n");
    }
    std::string real = std::filesystem::weakly_canonical(std::filesystem::absolute(root)).string();
    std::vector<std::string> kept = ruvex::eraseDevice(root);
    std::string named = real == root ? root : real + " (named by " + root + ")";
    if (options.json) {
        json::Value out = json::Value::object();
        out["erased"] = real;
        out["kept"] = kept;
        std::printf("%s\n", json::write(out).c_str());
    } else if (kept.empty())
        std::printf("erased %s\n", named.c_str());
    else
        std::printf("erased %s; kept %zu thing(s) that ruvex did not make there\n", named.c_str(), kept.size());
    return 0;
}

int printDevicePath(const Options& options, const Arguments&)
{
    if (options.json)
        std::printf("%s\n", json::write({ { "device", DeviceRoot::root() }, { "exists", isDeviceRoot(DeviceRoot::root()) } }).c_str());
    else
        std::printf("%s\n", DeviceRoot::root().c_str());
    return 0;
}

CommandRegistration createVerb({"device create", "[--apps ID,...]",
    "make the device root, install the product from its package and sample apps",
    "The product comes from the package the build made (build/default/packages), installed as\n"
    "`ruvex install` does. Creating a device that exists keeps what it holds and installs the\n"
    "package again. A directory\n"
    "that holds something but is not a device is refused, and so are /, the home directory and\n"
    "every parent of the working directory.\n"
    "Sample apps: com.apple.mobilesafari com.apple.mobilemail com.apple.MobileSMS com.apple.Music\n"
    "com.apple.newsstand com.apple.mobileslideshow com.atebits.Tweetie2 com.tapbots.Tweetbot\n"
    "com.iconfactory.Twitterrific (all by default).", 0, 2, createDevice});
CommandRegistration eraseVerb({"device erase", "", "remove what ruvex made on the device",
    "Removes the folders and files that `device create` and the hosts made, and the files of the\n"
    "installed packages; anything else there stays, and so does the root when it holds such a\n"
    "thing. A booted device is shut down first. Refuses a directory that is not a device.", 0, 0,
    eraseDevice});
CommandRegistration pathVerb({"device path", "", "print the device root", "", 0, 0, printDevicePath});

} // namespace
} // namespace ruvex
