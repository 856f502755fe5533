#pragma once

// Writes Debian packages for the tests, sound or hostile, with libarchive: an ar archive of
// debian-binary, control.tar.gz and data.tar.gz whose members are given one by one.

#include <cstdint>
#include <string>
#include <vector>

struct DebMember {
    enum class Kind { Folder, File, Link, HardLink, CharacterDevice, Fifo };
    std::string path; // as it stands in the archive: "./Library/x"
    Kind kind = Kind::File;
    unsigned mode = 0644;
    std::string content;   // files
    uint64_t zeros = 0;    // files: this many zero bytes instead of the content
    std::string target;    // links
};

// Control text "Package: NAME\nVersion: V\nArchitecture: iphoneos-arm\n..." for a test package.
std::string controlFor(const std::string& package, const std::string& version, const std::string& more = {});

// Writes the package; answers false when libarchive fails.
bool writeDeb(const std::string& file, const std::string& control, const std::vector<DebMember>& members);
