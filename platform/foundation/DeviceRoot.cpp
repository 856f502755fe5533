#include "foundation/DeviceRoot.h"

#include <cstdlib>
#include <mutex>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace DeviceRoot {

namespace {

struct State {
    std::mutex lock;
    std::string root;
    bool set = false;
};

State& state()
{
    static State* instance = new State; // used by other libraries' static teardown
    return *instance;
}

std::string homeDirectory()
{
    if (const char* home = getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return "/tmp";
}

} // namespace

std::string defaultRoot()
{
    if (const char* data = getenv("XDG_DATA_HOME"); data && *data == '/')
        return std::string(data) + "/ruvex/devices/default";
    return homeDirectory() + "/.local/share/ruvex/devices/default";
}

std::string root()
{
    State& s = state();
    std::lock_guard guard(s.lock);
    return s.set ? s.root : defaultRoot();
}

void setRoot(std::string hostDirectory)
{
    while (hostDirectory.size() > 1 && hostDirectory.back() == '/')
        hostDirectory.pop_back();
    State& s = state();
    std::lock_guard guard(s.lock);
    s.root = std::move(hostDirectory);
    s.set = true;
}

std::string resolve(std::string_view phonePath)
{
    std::vector<std::string_view> parts;
    while (!phonePath.empty()) {
        size_t slash = phonePath.find('/');
        std::string_view part = phonePath.substr(0, slash);
        phonePath = slash == std::string_view::npos ? std::string_view() : phonePath.substr(slash + 1);
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result = root();
    if (result == "/")
        result.clear();
    for (auto part : parts) {
        result += '/';
        result += part;
    }
    return result.empty() ? "/" : result;
}

} // namespace DeviceRoot
