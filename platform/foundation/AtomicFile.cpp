#include "foundation/AtomicFile.h"

#include "foundation/NSString.h"
#include "foundation/Posix.h"

#include <cerrno>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace AtomicFile {

namespace {

std::string directoryOf(const std::string& hostPath)
{
    std::string directory = NSString::stringByDeletingLastPathComponent(hostPath);
    return directory.empty() ? "." : directory;
}

std::string randomSuffix()
{
    unsigned char bytes[6];
    if (getrandom(bytes, sizeof bytes, 0) != ssize_t(sizeof bytes)) {
        // Unlikely; the exclusive create still keeps two writers apart.
        unsigned seed = unsigned(getpid()) ^ unsigned(time(nullptr)) ^ unsigned(reinterpret_cast<uintptr_t>(&bytes));
        for (auto& byte : bytes)
            byte = (unsigned char)rand_r(&seed);
    }
    std::string suffix;
    for (unsigned char byte : bytes)
        suffix += NSString::format("%02x", byte);
    return suffix;
}

void syncDirectory(const std::string& directory)
{
    posix::FileDescriptor folder(open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder)
        fsync(folder.get());
}

} // namespace

std::string temporaryPrefix(const std::string& hostPath)
{
    std::string directory = NSString::stringByDeletingLastPathComponent(hostPath);
    std::string name = "." + NSString::lastPathComponent(hostPath) + ".tmp." + std::to_string(getpid()) + ".";
    return directory.empty() ? name : NSString::stringByAppendingPathComponent(directory, name);
}

Result writeThrough(const std::string& hostPath, const std::string& temporaryPath, std::string_view bytes)
{
    posix::FileDescriptor file(open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file)
        return errno == EEXIST ? Result::Exists : Result::Failed;
    bool ok = true;
    struct stat existing {};
    if (stat(hostPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ok = fchmod(file.get(), existing.st_mode & 07777) == 0;
    ok = ok && posix::writeAll(file.get(), bytes) && fsync(file.get()) == 0;
    ok = file.close() && ok;
    ok = ok && rename(temporaryPath.c_str(), hostPath.c_str()) == 0;
    if (!ok) {
        unlink(temporaryPath.c_str());
        return Result::Failed;
    }
    syncDirectory(directoryOf(hostPath));
    return Result::Written;
}

bool write(const std::string& hostPath, std::string_view bytes)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        Result result = writeThrough(hostPath, temporaryPrefix(hostPath) + randomSuffix(), bytes);
        if (result != Result::Exists)
            return result == Result::Written;
    }
    return false;
}

bool writeInPlace(const std::string& hostPath, std::string_view bytes)
{
    // Never through a link, and never into a FIFO or a device.
    posix::FileDescriptor file(open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666));
    struct stat info {};
    if (!file || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    bool ok = bool(posix::writeAll(file.get(), bytes));
    return file.close() && ok;
}

void removeStaleTemporaryFiles(const std::string& hostPath, int maximumAgeSeconds)
{
    std::string directory = directoryOf(hostPath);
    std::string prefix = "." + NSString::lastPathComponent(hostPath) + ".tmp.";
    DIR* dir = opendir(directory.c_str());
    if (!dir)
        return;
    time_t now = time(nullptr);
    while (dirent* entry = readdir(dir)) {
        std::string_view name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        std::string_view rest = name.substr(prefix.size());
        pid_t writer = pid_t(NSString::intValue(rest));
        bool writerGone = writer > 0 && writer != getpid() && kill(writer, 0) != 0 && errno == ESRCH;
        std::string path = NSString::stringByAppendingPathComponent(directory, name);
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (writerGone || now - info.st_mtime > maximumAgeSeconds)
            unlink(path.c_str());
    }
    closedir(dir);
}

} // namespace AtomicFile
