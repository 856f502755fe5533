#pragma once

// A folder of a test's own under the temporary directory: made on construction (a failure
// throws with the reason, so no test runs against a missing folder), removed with all it
// holds on destruction.

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>

class ScratchFolder {
public:
    // `name` starts the folder's name: "/tmp/NAME-XXXXXX".
    explicit ScratchFolder(const std::string& name)
    {
        std::string pattern = (std::filesystem::temp_directory_path() / (name + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot make a folder like " + pattern + ": " + std::strerror(errno));
        _path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& path() const { return _path; }
    // A path inside the folder.
    std::string operator/(const std::string& name) const { return _path + "/" + name; }

private:
    std::string _path;
};
