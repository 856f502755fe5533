#include "foundation/DeviceRoot.h"

#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <linux/openat2.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// The components of a phone path, "." and ".." resolved ("/a/./b/../c" is a, c).
std::vector<std::string> componentsOf(std::string_view phonePath)
{
    std::vector<std::string> parts;
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
        parts.emplace_back(part);
    }
    return parts;
}

std::string joined(const std::vector<std::string>& parts, size_t count)
{
    std::string path;
    for (size_t i = 0; i < count; ++i)
        path += (i ? "/" : "") + parts[i];
    return path.empty() ? "." : path;
}

// openat2 beneath `base`; -2 when the kernel does not have the call.
int openBeneath(int base, const std::string& relative, int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC)
{
    static bool unavailable = false;
    if (unavailable)
        return -2;
    open_how how {};
    how.flags = uint64_t(flags);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    long fd = syscall(SYS_openat2, base, relative.c_str(), &how, sizeof how);
    if (fd < 0 && (errno == ENOSYS || errno == EPERM)) {
        unavailable = true; // a kernel without it, or a filter that forbids it
        return -2;
    }
    return int(fd);
}

int openComponentBeneath(int directory, const std::string& name)
{
    return openat(directory, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

int openPartsBeneath(const std::string& rootPath, const std::vector<std::string>& parts, bool create)
{
    int root = open(rootPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (root < 0)
        return -1;
    // The longest part that is there, opened in one call where the kernel can.
    size_t have = parts.size();
    int current = -1;
    for (;;) {
        current = openBeneath(root, joined(parts, have));
        if (current == -2)
            break;
        if (current >= 0 || errno != ENOENT || !create || have == 0)
            break;
        --have;
    }
    if (current == -2) {
        // No openat2: one component at a time, refusing every link.
        current = dup(root);
        have = 0;
        while (current >= 0 && have < parts.size()) {
            int next = openComponentBeneath(current, parts[have]);
            if (next < 0 && errno == ENOENT && create)
                break;
            int saved = errno;
            close(current);
            errno = saved;
            current = next;
            if (current >= 0)
                ++have;
        }
    }
    int saved = errno;
    close(root);
    errno = saved;
    // What is missing is made here, one folder at a time.
    while (current >= 0 && have < parts.size()) {
        if (mkdirat(current, parts[have].c_str(), 0777) != 0 && errno != EEXIST) {
            saved = errno;
            close(current);
            errno = saved;
            return -1;
        }
        int next = openComponentBeneath(current, parts[have]);
        saved = errno;
        close(current);
        errno = saved;
        current = next;
        ++have;
    }
    return current;
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

int openDirectoryBeneath(std::string_view phoneDirectory, bool create)
{
    std::string top = root();
    if (create) {
        // The root itself is the user's choice, and may be a link.
        mkdir(top.c_str(), 0777);
    }
    return openPartsBeneath(top, componentsOf(phoneDirectory), create);
}

int openHostDirectoryBeneath(const std::string& hostDirectory, bool create)
{
    std::string top = root();
    std::string prefix = top == "/" ? "/" : top + "/";
    if (hostDirectory == top)
        return openPartsBeneath(top, {}, create);
    if (hostDirectory.compare(0, prefix.size(), prefix) != 0) {
        errno = EXDEV;
        return -1;
    }
    return openDirectoryBeneath(std::string_view(hostDirectory).substr(prefix.size() - 1), create);
}

int openFileBeneath(const std::string& hostPath)
{
    constexpr const char* kThrough = "/proc/self/fd/";
    std::string base;
    std::string relative;
    std::string top = root();
    if (hostPath.rfind(kThrough, 0) == 0 && hostPath.find('/', std::string(kThrough).size()) != std::string::npos) {
        size_t slash = hostPath.rfind('/');
        base = hostPath.substr(0, slash);
        relative = hostPath.substr(slash + 1);
    } else if (contains(hostPath) && hostPath != top) {
        base = top;
        relative = hostPath.substr(top == "/" ? 1 : top.size() + 1);
    } else {
        return open(hostPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    }
    int folder = open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return -1;
    int fd = openBeneath(folder, relative, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd == -2) {
        // No openat2: one component at a time, refusing every link.
        std::vector<std::string> parts = componentsOf(relative);
        fd = parts.empty() ? -1 : dup(folder);
        for (size_t i = 0; fd >= 0 && i < parts.size(); ++i) {
            bool last = i + 1 == parts.size();
            int next = openat(fd, parts[i].c_str(), (last ? O_RDONLY | O_NONBLOCK : O_RDONLY | O_DIRECTORY) | O_NOFOLLOW | O_CLOEXEC);
            int saved = errno;
            close(fd);
            errno = saved;
            fd = next;
        }
    }
    int saved = errno;
    close(folder);
    errno = saved;
    return fd;
}

bool contains(const std::string& hostPath)
{
    std::string top = root();
    return top == "/" || hostPath == top || hostPath.compare(0, top.size() + 1, top + "/") == 0;
}

std::string pathThrough(int directory, std::string_view name)
{
    return "/proc/self/fd/" + std::to_string(directory) + "/" + std::string(name);
}

std::string resolve(std::string_view phonePath)
{
    std::string result = root();
    if (result == "/")
        result.clear();
    for (const std::string& part : componentsOf(phonePath)) {
        result += '/';
        result += part;
    }
    return result.empty() ? "/" : result;
}

} // namespace DeviceRoot
