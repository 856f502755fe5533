#pragma once

// A temporary device root for a test: made and set on construction, the previous root
// restored and the directory removed on destruction.

#include "foundation/DeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class TestDevice {
public:
    TestDevice()
        : _previous(DeviceRoot::root())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "rvx-device-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary device root");
        _root = pattern;
        DeviceRoot::setRoot(_root);
    }

    ~TestDevice()
    {
        DeviceRoot::setRoot(_previous);
        std::error_code ignored;
        std::filesystem::remove_all(_root, ignored);
    }

    TestDevice(const TestDevice&) = delete;
    TestDevice& operator=(const TestDevice&) = delete;

    const std::string& root() const { return _root; }
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
    std::string _root;
};
