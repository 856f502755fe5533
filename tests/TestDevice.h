#pragma once

// A temporary device root for a test: made and set on construction, the previous root
// restored and the directory removed on destruction.

#include "foundation/DeviceRoot.h"
#include "support/ScratchFolder.h"

#include <filesystem>
#include <string>

class TestDevice {
public:
    TestDevice()
        : _previous(DeviceRoot::root())
    {
        DeviceRoot::setRoot(_folder.path());
    }

    ~TestDevice() { DeviceRoot::setRoot(_previous); }

    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    const std::string& root() const { return _folder.path(); }
    // The host path of a phone path on this device, its parent directories made.
    std::string hostPath(const std::string& phonePath, bool makeParents = true) const
    {
        std::string path = DeviceRoot::resolve(phonePath);
        if (makeParents)
            std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        return path;
    }

private:
    std::string _previous;
    ScratchFolder _folder { "rvx-device" };
};
