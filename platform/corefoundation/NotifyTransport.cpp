#include "corefoundation/NotifyTransport.h"

#include "corefoundation/CFNotificationCenter.h"
#include "foundation/Posix.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

Failure systemError(const std::string& what)
{
    return Failure {what + ": " + std::strerror(errno)};
}

uint64_t fnv1a(std::string_view text)
{
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

// Endpoint files are "<pid>.<nonce>"; anything else in the directory is left alone.
bool isEndpointName(std::string_view name)
{
    auto dot = name.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot + 1 == name.size())
        return false;
    for (size_t i = 0; i < name.size(); ++i) {
        char c = name[i];
        bool digit = c >= '0' && c <= '9';
        bool hex = digit || (c >= 'a' && c <= 'f');
        if (i < dot ? !digit : (i > dot && !hex))
            return false;
    }
    return true;
}

double monotonicNow()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// An endpoint we may send to or remove: a socket of this user, not a link to one.
bool isOwnSocket(int directory, const char* name)
{
    struct stat status;
    return fstatat(directory, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISSOCK(status.st_mode)
        && status.st_uid == geteuid();
}

std::string randomNonce()
{
    std::random_device device;
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(device()));
    return text;
}

} // namespace

bool isValidNotificationName(std::string_view name)
{
    return !name.empty() && name.size() <= kCFNotificationNameMaxLength
        && name.find('\0') == std::string_view::npos;
}

NotifyTransport::~NotifyTransport()
{
    close();
}

std::string NotifyTransport::defaultBase()
{
    return "/tmp/rvx-notify-" + std::to_string(geteuid());
}

std::string NotifyTransport::directoryForDeviceRoot(const std::string& deviceRoot, const std::string& base)
{
    // Two spellings of one root must meet in one directory.
    std::string root = deviceRoot;
    if (char* resolved = realpath(deviceRoot.c_str(), nullptr)) {
        root = resolved;
        std::free(resolved);
    }
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(fnv1a(root)));
    return base + "/" + hash;
}

Result<void> NotifyTransport::makePrivateDirectory(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return systemError("cannot create the notification directory " + path);
    posix::FileDescriptor folder(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder) {
        if (errno == ELOOP || errno == ENOTDIR)
            return Failure {"the notification directory " + path + " is a link or not a directory; refusing it"};
        return systemError("cannot open the notification directory " + path);
    }
    struct stat status;
    if (fstat(folder.get(), &status) != 0)
        return systemError("cannot examine the notification directory " + path);
    if (status.st_uid != geteuid())
        return Failure {"the notification directory " + path + " belongs to another user; refusing it"};
    if ((status.st_mode & 077) && fchmod(folder.get(), 0700) != 0)
        return systemError("cannot make the notification directory " + path + " private");
    return {};
}

Result<void> NotifyTransport::open(const std::string& directory)
{
    if (!posix::unixAddress(directory + "/" + std::to_string(INT_MAX) + ".ffffffff"))
        return Failure {"the notification directory " + directory + " is too long for a socket path"};
    close();
    _directory = directory;
    return {};
}

void NotifyTransport::close()
{
    unbind();
    if (_sender >= 0)
        ::close(_sender);
    _sender = -1;
    _directory.clear();
    _peers.clear();
    _peersValid = false;
}

Result<void> NotifyTransport::bind()
{
    if (isBound())
        return {};
    if (!isOpen())
        return Failure {"no notification directory"};
    posix::FileDescriptor socketFd(socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socketFd)
        return systemError("cannot create a notification socket");
    std::string name = std::to_string(getpid()) + "." + randomNonce();
    Result<sockaddr_un> where = posix::unixAddress(_directory + "/" + name);
    if (!where)
        return Failure {where.error()};
    sockaddr_un address = *where;
    unlink(address.sun_path);
    int bound = ::bind(socketFd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    if (bound != 0 && errno == ENOENT) {
        // The last endpoint to leave took the directory with it; make it again.
        if (makePrivateDirectory(_directory))
            bound = ::bind(socketFd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    if (bound != 0)
        return systemError(std::string("cannot bind the notification socket ") + address.sun_path);
    // The socket file takes its mode from the umask; others must never be able to send,
    // even if the directory's mode were loosened later.
    if (chmod(address.sun_path, 0600) != 0) {
        Failure failure = systemError(std::string("cannot restrict the notification socket ") + address.sun_path);
        unlink(address.sun_path);
        return failure;
    }
    _endpoint = socketFd.release();
    _endpointName = name;
    _peersValid = false;
    return {};
}

void NotifyTransport::unbind()
{
    if (_endpoint < 0)
        return;
    ::close(_endpoint);
    unlink((_directory + "/" + _endpointName).c_str());
    // Fails, as it should, while other endpoints (or anything else) lie there.
    rmdir(_directory.c_str());
    _endpoint = -1;
    _endpointName.clear();
}

Result<void> NotifyTransport::ensureSender()
{
    if (_sender >= 0)
        return {};
    _sender = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (_sender < 0)
        return systemError("cannot create a notification socket");
    int budget = 0;
    socklen_t size = sizeof budget;
    _senderBudget = getsockopt(_sender, SOL_SOCKET, SO_SNDBUF, &budget, &size) == 0 && budget > 0 ? size_t(budget) : 65536;
    return {};
}

// The bytes of datagrams this socket sent that their receivers have not read yet.
size_t NotifyTransport::senderCharge() const
{
    int charge = 0;
    if (_sender < 0 || ioctl(_sender, SIOCOUTQ, &charge) != 0 || charge < 0)
        return 0;
    return size_t(charge);
}

// The datagrams already sent stay queued at their receivers, charged to the old socket.
Result<void> NotifyTransport::replaceSender()
{
    if (_sender >= 0)
        ::close(_sender);
    _sender = -1;
    return ensureSender();
}

// Reading the directory costs far more than a send, so the list is kept while the
// directory's modification time stands still. File times move in coarse ticks, so a
// directory changed in the last moments is read again at every send.
Result<void> NotifyTransport::refreshPeers()
{
    struct stat status;
    if (stat(_directory.c_str(), &status) != 0) {
        if (errno == ENOENT) {
            // Nobody has bound since the last endpoint left: nobody to reach.
            _peers.clear();
            _peersValid = false;
            return {};
        }
        return systemError("cannot examine the notification directory " + _directory);
    }
    const timespec& stamp = status.st_mtim;
    if (_peersValid && stamp.tv_sec == _peersStamp.tv_sec && stamp.tv_nsec == _peersStamp.tv_nsec)
        return {};

    DIR* directory = opendir(_directory.c_str());
    if (!directory)
        return systemError("cannot read the notification directory " + _directory);
    std::vector<Peer> peers;
    while (dirent* entry = readdir(directory)) {
        std::string_view endpoint = entry->d_name;
        if (!isEndpointName(endpoint) || endpoint == _endpointName || !isOwnSocket(dirfd(directory), entry->d_name))
            continue;
        // A peer known already keeps what was learnt of it.
        auto known = std::find_if(_peers.begin(), _peers.end(), [&](const Peer& peer) { return peer.name == endpoint; });
        if (known != _peers.end())
            peers.push_back(std::move(*known));
        else
            peers.push_back(Peer { std::string(endpoint) });
    }
    closedir(directory);
    _peers = std::move(peers);

    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    double age = double(now.tv_sec - stamp.tv_sec) + double(now.tv_nsec - stamp.tv_nsec) * 1e-9;
    _peersValid = age > 0.05;
    _peersStamp = stamp;
    return {};
}

Result<NotifyTransport::SendReport> NotifyTransport::send(std::string_view name)
{
    if (!isOpen())
        return Failure {"no notification directory"};
    if (Result<void> ready = ensureSender(); !ready)
        return Failure {ready.error()};
    if (Result<void> listed = refreshPeers(); !listed)
        return Failure {listed.error()};
    if (senderCharge() > _senderBudget / 2) {
        if (Result<void> replaced = replaceSender(); !replaced)
            return Failure {replaced.error()};
    }
    SendReport counts;
    double now = monotonicNow();
    counts.peers = _peers.size();
    for (Peer& peer : _peers) {
        if (peer.forgotten) {
            if (now - peer.lastProbe < kProbeIntervalSeconds) {
                ++counts.forgotten;
                continue;
            }
            peer.lastProbe = now;
        }
        Result<sockaddr_un> where = posix::unixAddress(_directory + "/" + peer.name);
        if (!where)
            continue;
        sockaddr_un& address = *where;
        auto sendOnce = [&] {
            return sendto(_sender, name.data(), name.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                reinterpret_cast<sockaddr*>(&address), sizeof address);
        };
        ssize_t sent = sendOnce();
        if (sent < 0 && errno == EAGAIN && senderCharge() + 4096 >= _senderBudget) {
            // Our own socket is what is full: a fresh one tells whether the peer is too.
            if (Result<void> replaced = replaceSender(); !replaced)
                return Failure {replaced.error()};
            sent = sendOnce();
        }
        if (sent >= 0) {
            ++counts.reached;
            peer.refusals = 0;
            peer.forgotten = false;
        } else if (errno == EAGAIN) {
            ++counts.full;
            if (peer.refusals++ == 0)
                peer.fullSince = now;
            if (!peer.forgotten && peer.refusals >= 4 && now - peer.fullSince >= kForgetAfterSeconds) {
                peer.forgotten = true;
                peer.lastProbe = now;
                ++_forgottenPeers;
            }
        } else if (errno == ECONNREFUSED || errno == ENOENT) {
            // Its process is gone; only an endpoint of ours is removed.
            posix::FileDescriptor folder(::open(_directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            if (folder && isOwnSocket(folder.get(), peer.name.c_str()))
                unlinkat(folder.get(), peer.name.c_str(), 0);
            _peersValid = false;
        }
    }
    return counts;
}

std::vector<std::string> NotifyTransport::receive(size_t limit)
{
    std::vector<std::string> names;
    char buffer[kCFNotificationNameMaxLength + 1];
    while (_endpoint >= 0 && names.size() < limit) {
        ssize_t got = recv(_endpoint, buffer, sizeof buffer, MSG_DONTWAIT | MSG_TRUNC);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        // MSG_TRUNC gives the real length: an oversized datagram is refused, not cut short.
        if (static_cast<size_t>(got) > kCFNotificationNameMaxLength)
            continue;
        std::string_view name(buffer, got);
        if (isValidNotificationName(name))
            names.emplace_back(name);
    }
    return names;
}

void NotifyTransport::abandonInheritedState()
{
    if (_endpoint >= 0)
        ::close(_endpoint);
    if (_sender >= 0)
        ::close(_sender);
    _endpoint = _sender = -1;
    _endpointName.clear();
    _peersValid = false;
}
