#include "Device.h"

#include <filesystem>
#include <fstream>

namespace ruvex {

namespace {

const char* kMarker = ".ruvex-device";

const char* kFolders[] = {
    "Applications",
    "System/Library/WeeAppPlugins",
    "System/Library/PreferenceBundles",
    "Library/PreferenceBundles",
    "Library/PreferenceLoader/Preferences",
    "var/mobile/Library/Preferences",
    "tmp",
};

} // namespace

bool createDeviceFolders(const std::string& root, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code failure;
    for (const char* folder : kFolders) {
        fs::create_directories(fs::path(root) / folder, failure);
        if (failure) {
            error = "could not make " + (fs::path(root) / folder).string() + ": " + failure.message();
            return false;
        }
    }
    std::ofstream marker(fs::path(root) / kMarker);
    marker << "A simulated device. Remove it with `ruvex device erase`.\n";
    if (!marker) {
        error = "could not write in " + root;
        return false;
    }
    return true;
}

bool isDeviceRoot(const std::string& root)
{
    return std::filesystem::exists(std::filesystem::path(root) / kMarker);
}

} // namespace ruvex
