#pragma once

// Reading a Debian package (.deb): an ar archive of "debian-binary", "control.tar.*" and
// "data.tar.*", read with libarchive. Every member of the data is checked before anything is
// written: its path must stay below the root ("..", absolute paths and the root itself are
// refused), it must be a folder, a regular file or a symbolic link whose target is relative and
// stays below the root (no hard links, device files, FIFOs or sockets), carry no setuid or
// setgid bit, and fit the size bounds; a truncated or malformed archive is refused. Only then
// are the files unpacked, into a staging folder that the installer moves into place.

#include <cstdint>
#include <string>
#include <vector>

#include <sys/types.h>

namespace ruvex {

struct PackageMember {
    enum class Kind { Folder, File, Link };
    std::string path; // below the root, without a leading slash: "System/Library/WeeAppPlugins"
    Kind kind = Kind::File;
    mode_t mode = 0644;      // permission bits only
    std::string linkTarget;  // links
    std::string staged;      // files: the host path of the unpacked copy, once unpacked
    uint64_t size = 0;
};

struct PackageContents {
    std::string control;                // the control file's text
    std::string md5sums;                // the md5sums file's text, when the package has one
    std::vector<std::string> scripts;   // maintainer scripts the package carries (never run here)
    std::vector<PackageMember> members; // in the archive's order, folders before what they hold
};

// Bounds that keep a hostile package from exhausting memory or disk.
inline constexpr uint64_t kMaximumMemberBytes = 32ull << 20;
inline constexpr uint64_t kMaximumPackageBytes = 64ull << 20;
inline constexpr size_t kMaximumMembers = 20000;
inline constexpr uint64_t kMaximumControlBytes = 1ull << 20;

// Reads and checks the package at `file`; with a staging folder, also unpacks its files there.
// Throws ActionError with one line naming the cause.
PackageContents readPackage(const std::string& file, const std::string& stagingFolder = {});

// Checks a link's target as readPackage does: relative, and its leading ".." not climbing
// above the root from the link's folder (a ".." after a name is refused, since that name may
// itself be a link). Empty when sound, else the reason.
std::string checkLinkTarget(const std::string& linkPath, const std::string& target);

} // namespace ruvex
