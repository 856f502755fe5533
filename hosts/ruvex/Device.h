#pragma once

#include <string>

namespace ruvex {

// The phone's folders that the hosts and bundles expect, made under `root`.
bool createDeviceFolders(const std::string& root, std::string& error);
// Whether `root` holds a device made by createDeviceFolders (its marker file).
bool isDeviceRoot(const std::string& root);

} // namespace ruvex
