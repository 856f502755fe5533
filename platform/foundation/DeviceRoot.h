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

// Opens the folder at a phone path (O_DIRECTORY, close-on-exec) so that nothing on the way
// leads out of the root: with openat2's RESOLVE_BENEATH where the kernel has it (links that
// stay inside the root are followed), else one component at a time with O_NOFOLLOW (no link
// at all). With `create`, missing folders are made (mode 0777 & ~umask) one by one, never
// through a link. -1 with errno set (EXDEV or ELOOP for a link leading out) on failure.
int openDirectoryBeneath(std::string_view phoneDirectory, bool create);
// The same for a host path that lies under the root; -1 with errno EXDEV for one that
// does not.
int openHostDirectoryBeneath(const std::string& hostDirectory, bool create);
// Opens a file for reading (O_NONBLOCK, close-on-exec) so that no link on the way, the file's
// own included, leads out of the root: for a host path under the root, beneath the root; for
// a path made by pathThrough, beneath that folder; any other host path as it is. -1 with
// errno set (EXDEV or ELOOP for a link leading out) on failure.
int openFileBeneath(const std::string& hostPath);

// Whether a host path lies under the root, by its letters.
bool contains(const std::string& hostPath);
// A host path naming `name` in a folder opened above, "/proc/self/fd/N/name": every later
// use of it reaches that very folder, whatever is renamed or linked meanwhile.
std::string pathThrough(int directory, std::string_view name);

} // namespace DeviceRoot
