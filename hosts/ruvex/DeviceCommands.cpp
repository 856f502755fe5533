// device create / erase / path: the device root's lifecycle.

#include "Command.h"
#include "Device.h"
#include "Json.h"

#include "foundation/DeviceRoot.h"

#include <cstdio>
#include <filesystem>

namespace ruvex {
namespace {

int createDevice(const Options& options, const Arguments&)
{
    std::string error;
    if (!createDeviceFolders(DeviceRoot::root(), error))
        throw ActionError(error);
    if (options.json)
        std::printf("{\"device\":%s}\n", jsonQuoted(DeviceRoot::root()).c_str());
    else
        std::printf("device ready at %s\n", DeviceRoot::root().c_str());
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

CommandRegistration createVerb({"device create", "", "make the device root and the phone's folders in it",
    "Creating a device that exists keeps what it holds.", 0, 0, createDevice});
CommandRegistration eraseVerb({"device erase", "", "remove the device root and everything in it", "", 0, 0,
    eraseDevice});
CommandRegistration pathVerb({"device path", "", "print the device root", "", 0, 0, printDevicePath});

} // namespace
} // namespace ruvex
