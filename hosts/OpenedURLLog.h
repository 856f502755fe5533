#pragma once

// The addresses opened on the device by either app, in the order they were opened: each host
// appends a line "APP<tab>ADDRESS" to the device's /var/log/urls.log as it opens one (an
// appended line of this size lands whole), the shell empties it when it starts, and
// `ruvex urls` reads it.

#include "foundation/DeviceRoot.h"

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace opened_urls {

inline constexpr const char* kLogPath = "/var/log/urls.log";

inline void append(const std::string& app, const std::string& address)
{
    std::string line = app + "\t" + address + "\n";
    int fd = open(DeviceRoot::resolve(kLogPath).c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    ssize_t written = write(fd, line.data(), line.size());
    (void)written;
    close(fd);
}

inline void clear()
{
    int fd = open(DeviceRoot::resolve(kLogPath).c_str(), O_WRONLY | O_TRUNC | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0)
        close(fd);
}

// Each opened address with the app that opened it, oldest first.
inline std::vector<std::pair<std::string, std::string>> read()
{
    std::vector<std::pair<std::string, std::string>> opened;
    std::ifstream in(DeviceRoot::resolve(kLogPath));
    std::string line;
    while (std::getline(in, line)) {
        size_t tab = line.find('\t');
        if (tab != std::string::npos)
            opened.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return opened;
}

} // namespace opened_urls
