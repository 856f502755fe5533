#pragma once

// File existence and directories at phone paths (resolved under the device root).

#include <string>
#include <string_view>

class NSFileManager {
public:
    static NSFileManager& defaultManager();

    bool fileExistsAtPath(std::string_view phonePath) const;
    bool fileExistsAtPath(std::string_view phonePath, bool& isDirectory) const;
    // Succeeds when the directory is there afterwards; with intermediates, makes its parents.
    bool createDirectoryAtPath(std::string_view phonePath, bool withIntermediateDirectories) const;
    bool removeItemAtPath(std::string_view phonePath) const;

    // The same at a host path, parents included.
    static bool createDirectoryAtHostPath(const std::string& hostPath);
};
