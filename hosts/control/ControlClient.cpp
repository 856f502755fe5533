#include "ControlClient.h"

#include "foundation/Posix.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace control {

namespace {

Exchange ended(Outcome outcome, std::string error, pid_t peer = 0)
{
    Exchange exchange;
    exchange.outcome = outcome;
    exchange.error = std::move(error);
    exchange.peer = peer;
    return exchange;
}

std::string parentOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    return slash == std::string::npos || slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A private folder of this user: a directory, not a link, owned by the effective user,
// closed to group and others.
Result<SocketPath> checkFolder(const std::string& folder)
{
    struct stat status {};
    if (lstat(folder.c_str(), &status) != 0) {
        if (errno == ENOENT)
            return SocketPath::Missing;
        return Failure { "cannot examine " + folder + ": " + std::strerror(errno) };
    }
    if (S_ISLNK(status.st_mode))
        return Failure { "the control folder " + folder + " is a link; refusing it" };
    if (!S_ISDIR(status.st_mode))
        return Failure { "the control folder " + folder + " is not a directory; refusing it" };
    if (status.st_uid != geteuid())
        return Failure { "the control folder " + folder + " belongs to another user (uid " + std::to_string(status.st_uid)
            + "); refusing it" };
    if (status.st_mode & 077)
        return Failure { "the control folder " + folder + " is open to other users; refusing it" };
    return SocketPath::Present;
}

} // namespace

Result<SocketPath> checkSocketPath(const std::string& path)
{
    std::string folder = parentOf(path);
    for (const std::string& each : { parentOf(folder), folder }) {
        Result<SocketPath> checked = checkFolder(each);
        if (!checked || *checked == SocketPath::Missing)
            return checked;
    }
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
        if (errno != ENOENT)
            return Failure { "cannot examine " + path + ": " + std::strerror(errno) };
        return SocketPath::Missing;
    }
    if (!S_ISSOCK(status.st_mode))
        return Failure { path + " is not a socket; refusing it" };
    if (status.st_uid != geteuid())
        return Failure { "the socket " + path + " belongs to another user; refusing it" };
    return SocketPath::Present;
}

Exchange request(const std::string& path, const Words& words, double timeout)
{
    Result<std::string> encoded = encodeRequest(words);
    if (!encoded)
        return ended(Outcome::Failed, encoded.error());
    const std::string& line = *encoded;
    Result<sockaddr_un> address = posix::unixAddress(path);
    if (!address)
        return ended(Outcome::Failed, address.error());

    Result<SocketPath> checked = checkSocketPath(path);
    if (!checked)
        return ended(Outcome::Refused, checked.error());
    if (*checked == SocketPath::Missing)
        return ended(Outcome::NotRunning, "no socket at " + path);

    // Non-blocking, so that a host whose queue of connections is full cannot hold the client.
    posix::FileDescriptor socketFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!socketFd)
        return ended(Outcome::Failed, std::string("cannot make a socket: ") + std::strerror(errno));
    if (connect(socketFd.get(), reinterpret_cast<sockaddr*>(&*address), sizeof *address) != 0) {
        if (errno == ENOENT || errno == ECONNREFUSED)
            return ended(Outcome::NotRunning, std::strerror(errno));
        if (errno == EAGAIN)
            return ended(Outcome::Busy, "the host's queue of connections is full");
        return ended(Outcome::Failed, "cannot reach " + path + ": " + std::strerror(errno));
    }
    ucred peer {};
    socklen_t size = sizeof peer;
    if (getsockopt(socketFd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0)
        return ended(Outcome::Refused, std::string("cannot tell who listens on ") + path + ": " + std::strerror(errno));
    if (peer.uid != geteuid())
        return ended(Outcome::Refused, "the process listening on " + path + " belongs to another user (uid "
            + std::to_string(peer.uid) + "); refusing it");

    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    auto left = [&] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()).count();
    };
    size_t sent = 0;
    while (sent < line.size()) {
        if (left() <= 0)
            return ended(Outcome::Busy, "the host did not take the request in time", peer.pid);
        pollfd waiting { socketFd.get(), POLLOUT, 0 };
        if (poll(&waiting, 1, int(left())) <= 0)
            continue;
        ssize_t put = send(socketFd.get(), line.data() + sent, line.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        // A host that refuses the connection (too many at once) answers before reading and
        // hangs up: its answer is still to be read.
        if (put < 0 && (errno == EPIPE || errno == ECONNRESET))
            break;
        if (put <= 0)
            return ended(Outcome::Failed, std::string("the host hung up: ") + std::strerror(errno), peer.pid);
        sent += size_t(put);
    }
    Exchange exchange;
    exchange.peer = peer.pid;
    char buffer[8192];
    while (exchange.reply.find('\n') == std::string::npos) {
        if (left() <= 0)
            return ended(Outcome::Busy, "the host did not answer in time", peer.pid);
        pollfd waiting { socketFd.get(), POLLIN, 0 };
        int ready = poll(&waiting, 1, int(left()));
        if (ready <= 0)
            continue;
        ssize_t got = read(socketFd.get(), buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0)
            return ended(Outcome::Failed, "the host closed the connection without a reply", peer.pid);
        exchange.reply.append(buffer, size_t(got));
    }
    exchange.reply.resize(exchange.reply.find('\n'));
    exchange.outcome = Outcome::Replied;
    return exchange;
}

} // namespace control
