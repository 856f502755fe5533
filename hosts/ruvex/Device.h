#pragma once

// A device's root on the host: making one, telling one from any other directory, and erasing
// only what ruvex made there.
//
// A device is a directory holding the marker file ".ruvex-device". Beside it lies the manifest
// ".ruvex-manifest": one path a line (relative to the root, "." for the root itself) of every
// folder and file that ruvex made (a folder with a trailing "/" is shared with the user's files
// and goes only when left empty), so that `erase` removes those and the files of the packages
// that the device's dpkg database lists, and nothing else. `create` refuses "/", the home
// directory, every parent of the working directory, anything that is not a directory, and a
// directory that holds something but is not a device: erasing it later would take the user's
// files with it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ruvex {

// Whether `root` holds a device (its marker file).
bool isDeviceRoot(const std::string& root);

// Throws ActionError unless a device may be made at `root` (new, empty, or a device already).
void checkDeviceRoot(const std::string& root);
// Makes the device at `root` (after checkDeviceRoot): its marker, its manifest and the
// phone's folders that the hosts and bundles expect. Keeps what a device there holds.
void createDeviceFolders(const std::string& root);

// Makes the folders of `relative` (a path below the root) that are missing, recording each in
// the manifest; throws ActionError when one is there but is not a folder or is a link.
void makeFolders(const std::string& root, const std::string& relative);
// Adds paths below the root (files ruvex wrote) to the manifest.
void recordMade(const std::string& root, const std::vector<std::string>& relatives);

// Removes what ruvex made at `root`; answers the paths it left (things it did not make).
std::vector<std::string> eraseDevice(const std::string& root);

// A path inside the device taken from a package or a list ("./System/x", "/System/x",
// "System/x/") as "System/x"; nothing when it is empty, names the root, or climbs ("..").
std::optional<std::string> devicePath(std::string_view path);
// Whether every folder above `relative` is a real folder (not a link) or missing, so that a
// write or a removal there stays inside the root.
bool parentsStayInside(const std::string& root, const std::string& relative);

} // namespace ruvex
