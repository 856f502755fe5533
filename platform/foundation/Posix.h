#pragma once

// The few POSIX jobs this platform does in several places, each done once: owning a
// descriptor, reading a whole regular file, writing all of a buffer, and a Unix socket's
// address. Each resumes after a signal and never blocks on a FIFO it was not meant to open.

#include "foundation/Result.h"

#include <sys/un.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace posix {

// One open descriptor, closed when the owner goes. Moves, never copies.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd)
        : _fd(fd)
    {
    }
    FileDescriptor(FileDescriptor&& other) noexcept
        : _fd(other.release())
    {
    }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() { reset(); }

    int get() const { return _fd; }
    bool isOpen() const { return _fd >= 0; }
    explicit operator bool() const { return isOpen(); }

    // Gives the descriptor up without closing it.
    int release()
    {
        int fd = _fd;
        _fd = -1;
        return fd;
    }
    // Closes the one held, if any, and holds `fd`.
    void reset(int fd = -1);
    // Closes now, saying whether the close reported an error (a write may surface only here).
    Result<void> close();

private:
    int _fd = -1;
};

// The whole of the regular file at `path`, when it holds at most `maximumBytes`. A FIFO,
// a device, a socket or a directory is refused without being waited on or read; the check is
// made on the open descriptor, so the name cannot be swapped between. A file that grows past
// the bound while it is read is refused too.
Result<std::string> readRegularFile(const std::string& path, size_t maximumBytes);

// All of `bytes` to a blocking descriptor, through short writes and signals.
Result<void> writeAll(int fd, std::string_view bytes);

// The address of the Unix socket at `path`; a failure when the path does not fit.
Result<sockaddr_un> unixAddress(const std::string& path);

} // namespace posix
