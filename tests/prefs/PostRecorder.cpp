#include "PostRecorder.h"

#include "corefoundation/NotifyPostListener.h"

#include <algorithm>
#include <mutex>

namespace {

std::mutex gMutex;

std::vector<std::string>& names()
{
    static std::vector<std::string> list;
    return list;
}

// Listening from the program's start, as the center's library is set up before it.
[[maybe_unused]] const bool gListening = [] {
    notifyCenterSetPostListener([](const std::string& name) {
        std::lock_guard lock(gMutex);
        names().push_back(name);
    });
    return true;
}();

} // namespace

namespace PostRecorder {

std::vector<std::string> posted()
{
    std::lock_guard lock(gMutex);
    return names();
}

void clear()
{
    std::lock_guard lock(gMutex);
    names().clear();
}

int count(const std::string& name)
{
    std::lock_guard lock(gMutex);
    return int(std::count(names().begin(), names().end(), name));
}

} // namespace PostRecorder
