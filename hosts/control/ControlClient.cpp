#include "ControlClient.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace control {

namespace {

struct Descriptor {
    int fd;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

Exchange failed(std::string error)
{
    Exchange exchange;
    exchange.error = std::move(error);
    return exchange;
}

} // namespace

Exchange request(const std::string& path, const Words& words, double timeout)
{
    std::string line;
    if (!encodeRequest(words, line))
        return failed("a word of the request holds a tab or a newline");
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return failed("socket path too long: " + path);
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);

    Descriptor socketFd { socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0) };
    if (socketFd.fd < 0)
        return failed(std::string("cannot make a socket: ") + std::strerror(errno));
    if (connect(socketFd.fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        if (errno == ENOENT || errno == ECONNREFUSED) {
            Exchange exchange;
            exchange.outcome = Outcome::NotRunning;
            exchange.error = std::strerror(errno);
            return exchange;
        }
        return failed("cannot reach " + path + ": " + std::strerror(errno));
    }
    size_t sent = 0;
    while (sent < line.size()) {
        ssize_t put = send(socketFd.fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return failed(std::string("the host hung up: ") + std::strerror(errno));
        sent += size_t(put);
    }

    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeout);
    Exchange exchange;
    char buffer[8192];
    while (exchange.reply.find('\n') == std::string::npos) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return failed("the host did not answer in time");
        pollfd waiting { socketFd.fd, POLLIN, 0 };
        int ready = poll(&waiting, 1, int(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            continue;
        ssize_t got = read(socketFd.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return failed("the host closed the connection without a reply");
        exchange.reply.append(buffer, size_t(got));
    }
    exchange.reply.resize(exchange.reply.find('\n'));
    exchange.outcome = Outcome::Replied;
    return exchange;
}

} // namespace control
