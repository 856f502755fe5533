#include "ControlServer.h"

#include "corefoundation/CFRunLoop.h"
#include "ui/JsonWriter.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace control {

std::string errorReply(const std::string& message)
{
    JsonWriter json;
    json.beginObject().field("ok", false).field("error", message).endObject();
    return json.text();
}

} // namespace control

namespace {

// A request line longer than this is refused rather than read without end.
constexpr size_t kMaxRequest = 64 * 1024;
constexpr int kRequestTimeoutMs = 2000;

bool fillAddress(const std::string& path, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return true;
}

bool someoneAnswers(const sockaddr_un& address)
{
    int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    bool answers = connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(probe);
    return answers;
}

bool readLine(int fd, std::string& line)
{
    char buffer[4096];
    while (line.find('\n') == std::string::npos) {
        pollfd waiting { fd, POLLIN, 0 };
        if (poll(&waiting, 1, kRequestTimeoutMs) <= 0)
            return false;
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return !line.empty();
        line.append(buffer, size_t(got));
        if (line.size() > kMaxRequest)
            return false;
    }
    line.resize(line.find('\n') + 1);
    return true;
}

void writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t put = send(fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return;
        done += size_t(put);
    }
}

} // namespace

ControlServer::~ControlServer()
{
    close();
}

bool ControlServer::listen(const std::string& path, Handler handler, std::string& error)
{
    close();
    sockaddr_un address;
    if (!fillAddress(path, address)) {
        error = "socket path too long: " + path;
        return false;
    }
    if (someoneAnswers(address)) {
        error = "another host already serves " + path;
        return false;
    }
    unlink(path.c_str());
    _listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (_listener < 0 || bind(_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(_listener, 16) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        if (_listener >= 0)
            ::close(_listener);
        _listener = -1;
        return false;
    }
    _path = path;
    _handler = std::move(handler);
    _source = RunLoop::main().addReadSource(_listener, [this] { serveOne(); });
    return true;
}

void ControlServer::close()
{
    if (_listener < 0)
        return;
    RunLoop::main().removeSource(_source);
    ::close(_listener);
    _listener = -1;
    unlink(_path.c_str());
    _path.clear();
}

void ControlServer::serveOne()
{
    int connection = accept4(_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0)
        return;
    std::string line;
    std::string reply;
    if (!readLine(connection, line))
        reply = control::errorReply("no request line");
    else {
        control::Words words = control::decodeRequest(line);
        if (words.empty())
            reply = control::errorReply("empty request");
        else {
            try {
                reply = _handler(words);
            } catch (const std::exception& failure) {
                reply = control::errorReply(failure.what());
            }
        }
    }
    reply += '\n';
    writeAll(connection, reply);
    ::close(connection);
}
