#include "foundation/PreferenceFile.h"

#include "foundation/AtomicFile.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSFileManager.h"
#include "foundation/NSString.h"
#include "foundation/PropertyList.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::atomic<bool> lockingEnabled { true };

class FileLock {
public:
    explicit FileLock(const std::string& path)
    {
        if (!lockingEnabled) {
            _held = true;
            return;
        }
        _fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (_fd < 0)
            return;
        int result;
        do {
            result = flock(_fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        _held = result == 0;
    }
    ~FileLock()
    {
        if (_fd >= 0)
            close(_fd); // closing releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool held() const { return _held; }

private:
    int _fd = -1;
    bool _held = false;
};

} // namespace

PreferenceFile PreferenceFile::forDomain(std::string_view domain)
{
    return forPhonePath(phonePathForDomain(domain));
}

PreferenceFile PreferenceFile::forPhonePath(std::string_view phonePath)
{
    return PreferenceFile(DeviceRoot::resolve(phonePath));
}

PreferenceFile PreferenceFile::forHostPath(std::string hostPath)
{
    return PreferenceFile(std::move(hostPath));
}

std::string PreferenceFile::phonePathForDomain(std::string_view domain)
{
    return "/var/mobile/Library/Preferences/" + std::string(domain) + ".plist";
}

void PreferenceFile::setLockingEnabled(bool enabled)
{
    lockingEnabled = enabled;
}

std::optional<NSDictionary> PreferenceFile::readIfPresent() const
{
    return NSDictionary::dictionaryBeneathDeviceRoot(_hostPath);
}

// Moves the unreadable file to the first free name of "<file>.corrupt", "<file>.corrupt.1",
// ..., so that an earlier copy kept aside is never replaced.
bool PreferenceFile::keepAside() const
{
    for (int number = 0; number < 1000; ++number) {
        std::string target = corruptPath() + (number ? "." + std::to_string(number) : std::string());
        if (renameat2(AT_FDCWD, _hostPath.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EEXIST)
            return false;
    }
    return false;
}

// Inside the device, the way to the file is taken beneath the root, so that a linked folder
// cannot carry the write (its lock, temporary file or kept-aside copy) out of the device;
// the file itself is replaced by rename, which never follows a link.
PreferenceFile::Outcome PreferenceFile::locked(IfMissing ifMissing, const std::function<bool(NSDictionary&)>& change) const
{
    if (!DeviceRoot::contains(_hostPath))
        return lockedHere(ifMissing, change);
    int folder = DeviceRoot::openHostDirectoryBeneath(NSString::stringByDeletingLastPathComponent(_hostPath), true);
    if (folder < 0) {
        int error = errno;
        std::fprintf(stderr, "%s: not written: %s\n", _hostPath.c_str(),
            error == EXDEV || error == ELOOP ? "a link on the way leads out of the device" : std::strerror(error));
        errno = error; // for the failure's reason
        return Outcome::Failed;
    }
    Outcome outcome = PreferenceFile(DeviceRoot::pathThrough(folder, NSString::lastPathComponent(_hostPath))).lockedHere(ifMissing, change);
    int error = errno;
    close(folder);
    errno = error;
    return outcome;
}

PreferenceFile::Outcome PreferenceFile::lockedHere(IfMissing ifMissing, const std::function<bool(NSDictionary&)>& change) const
{
    std::string directory = NSString::stringByDeletingLastPathComponent(_hostPath);
    if (!directory.empty() && !NSFileManager::createDirectoryAtHostPath(directory))
        return Outcome::Failed;
    FileLock lock(lockPath());
    if (!lock.held())
        return Outcome::Failed;
    AtomicFile::removeStaleTemporaryFiles(_hostPath);

    NSDictionary dictionary;
    struct stat info {};
    if (lstat(_hostPath.c_str(), &info) == 0) {
        if (ifMissing == IfMissing::Skip)
            return Outcome::Unchanged;
        if (auto current = readIfPresent()) {
            dictionary = std::move(*current);
        } else {
            // Keep what cannot be read for the user to inspect, and start afresh.
            if (!S_ISREG(info.st_mode) || !keepAside())
                return Outcome::Failed;
        }
    } else if (errno != ENOENT) {
        return Outcome::Failed;
    }
    if (!change(dictionary))
        return Outcome::Unchanged;
    if (!PropertyList::writeFile(PlistValue(std::move(dictionary)), _hostPath, PropertyList::Atomically::Yes))
        return Outcome::Failed;
    return Outcome::Written;
}

namespace {

thread_local PreferenceFile::Failures failuresOfThread;

} // namespace

const PreferenceFile::Failures& PreferenceFile::failures()
{
    return failuresOfThread;
}

// Called at once after `locked`, whose failing call left errno telling why.
PreferenceFile::Outcome PreferenceFile::noted(Outcome outcome) const
{
    if (outcome != Outcome::Failed)
        return outcome;
    int error = errno;
    ++failuresOfThread.count;
    failuresOfThread.path = _hostPath;
    failuresOfThread.reason = error == EILSEQ ? "a value holds text a property list cannot carry"
        : error != 0                          ? std::string(std::strerror(error))
                                              : "the write failed";
    return outcome;
}

bool PreferenceFile::changeWith(const std::function<bool(NSDictionary&)>& change) const
{
    errno = 0;
    return noted(locked(IfMissing::Start, change)) != Outcome::Failed;
}

bool PreferenceFile::setObject(PlistValue value, std::string_view key) const
{
    return changeWith([&](NSDictionary& dictionary) {
        dictionary.setObject(std::move(value), key);
        return true;
    });
}

bool PreferenceFile::removeObjectForKey(std::string_view key) const
{
    return changeWith([&](NSDictionary& dictionary) {
        if (!dictionary.objectForKey(key))
            return false;
        dictionary.removeObjectForKey(key);
        return true;
    });
}

bool PreferenceFile::createIfMissing(std::string_view key, PlistValue value) const
{
    errno = 0;
    return noted(locked(IfMissing::Skip, [&](NSDictionary& dictionary) {
        dictionary.setObject(std::move(value), key);
        return true;
    })) == Outcome::Written;
}
