#include "foundation/Posix.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace posix {

namespace {

Failure failure(std::string what)
{
    return Failure {std::move(what) + ": " + std::strerror(errno)};
}

} // namespace

void FileDescriptor::reset(int fd)
{
    if (_fd >= 0 && _fd != fd)
        ::close(_fd);
    _fd = fd;
}

Result<void> FileDescriptor::close()
{
    int fd = release();
    // Never retried: after EINTR Linux has closed the descriptor already, and closing it
    // again could close another thread's new one.
    if (fd >= 0 && ::close(fd) != 0)
        return failure("close");
    return {};
}

Result<std::string> readRegularFile(const std::string& path, size_t maximumBytes)
{
    // Non-blocking, so that opening a FIFO does not wait for a writer; it is refused below.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file)
        return failure(path);
    struct stat info {};
    if (::fstat(file.get(), &info) != 0)
        return failure(path);
    if (!S_ISREG(info.st_mode))
        return Failure {path + ": not a regular file"};
    if (uintmax_t(info.st_size) > maximumBytes)
        return Failure {path + ": larger than " + std::to_string(maximumBytes) + " bytes"};
    std::string bytes;
    bytes.reserve(size_t(info.st_size));
    char buffer[65536];
    for (;;) {
        ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return failure(path);
        if (count == 0)
            return bytes;
        if (bytes.size() + size_t(count) > maximumBytes)
            return Failure {path + ": grew past " + std::to_string(maximumBytes) + " bytes while read"};
        bytes.append(buffer, size_t(count));
    }
}

Result<void> writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t count = ::write(fd, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return failure("write");
        if (count == 0)
            return Failure {"write: nothing written"};
        bytes.remove_prefix(size_t(count));
    }
    return {};
}

Result<sockaddr_un> unixAddress(const std::string& path)
{
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    // An empty path would name an abstract socket, and a NUL would cut the name short.
    if (path.empty() || path.find('\0') != std::string::npos)
        return Failure {"not a socket path: \"" + path + "\""};
    if (path.size() >= sizeof address.sun_path)
        return Failure {"socket path too long: " + path};
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

} // namespace posix
