#pragma once

// The device root: the host directory that stands for the phone's "/". The rule of this
// platform: every Foundation call that takes a file path (NSDictionary, NSFileManager,
// NSBundle, NSUserDefaults, PreferenceFile::forPhonePath) takes a phone path and resolves it
// here; the low-level functions of PropertyList and AtomicFile take host paths.

#include <string>
#include <string_view>

namespace DeviceRoot {

// $XDG_DATA_HOME/ruvex/devices/default, else ~/.local/share/ruvex/devices/default.
std::string defaultRoot();

// The process-wide root; defaultRoot() until a host or a test sets one.
std::string root();
void setRoot(std::string hostDirectory);

// Maps an absolute phone path to the host path under the root. The path is normalised
// first ("." and ".." resolved, repeated slashes dropped) so that it cannot climb above the
// root; a relative path is taken from the phone's "/".
std::string resolve(std::string_view phonePath);

} // namespace DeviceRoot
