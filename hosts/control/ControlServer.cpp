#include "ControlServer.h"

#include "foundation/Posix.h"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace control {

json::Value errorReply(const std::string& message)
{
    json::Value reply = json::Value::object();
    reply["ok"] = false;
    reply["error"] = message;
    return reply;
}

json::Value usageReply(const std::string& message)
{
    json::Value reply = json::Value::object();
    reply["ok"] = false;
    reply["usage"] = true;
    reply["error"] = message;
    return reply;
}

void addWarnings(json::Value& reply, const std::vector<std::string>& warnings, const char* key)
{
    if (warnings.empty() || !reply.is_object())
        return;
    reply[key] = warnings;
}

} // namespace control

namespace {

bool someoneAnswers(const sockaddr_un& address)
{
    posix::FileDescriptor probe(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return probe && connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

// Sends what the socket takes now; false when the peer is gone.
bool sendSome(int fd, const std::string& text, size_t& sent)
{
    while (sent < text.size()) {
        ssize_t put = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        if (put <= 0)
            return false;
        sent += size_t(put);
    }
    return true;
}

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

ControlServer::~ControlServer()
{
    close();
}

Result<void> ControlServer::listen(const std::string& path, Handler handler)
{
    close();
    Result<sockaddr_un> address = posix::unixAddress(path);
    if (!address)
        return Failure { address.error() };
    if (someoneAnswers(*address))
        return Failure { "another host already serves " + path };
    // Only a socket is replaced; anything else at the path is someone's file.
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0 && !S_ISSOCK(existing.st_mode))
        return Failure { path + " is not a socket; leaving it alone" };
    unlink(path.c_str());
    _listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (_listener < 0 || bind(_listener, reinterpret_cast<sockaddr*>(&*address), sizeof *address) != 0
        || chmod(path.c_str(), 0600) != 0 || ::listen(_listener, 64) != 0) {
        Failure failure { "cannot listen on " + path + ": " + std::strerror(errno) };
        if (_listener >= 0)
            ::close(_listener);
        _listener = -1;
        return failure;
    }
    _path = path;
    _handler = std::move(handler);
    _source = RunLoop::main().addReadSource(_listener, [this] { acceptPending(); });
    return {};
}

void ControlServer::close()
{
    while (!_connections.empty())
        drop(_connections.begin()->first);
    if (_listener < 0)
        return;
    RunLoop::main().removeSource(_source);
    ::close(_listener);
    _listener = -1;
    unlink(_path.c_str());
    // The last host of a device to stop takes the device's socket folder with it; a folder
    // still holding the other host's socket stays.
    std::string folder = _path.substr(0, _path.rfind('/'));
    if (!folder.empty())
        rmdir(folder.c_str());
    _path.clear();
}

void ControlServer::acceptPending()
{
    for (;;) {
        int fd = accept4(_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: none left; EMFILE and the like: try at the next turn
        }
        if (_connections.size() >= _limits.maxConnections) {
            std::string reply = json::write(control::errorReply("the host is busy: too many connections are open")) + "\n";
            size_t sent = 0;
            sendSome(fd, reply, sent);
            ::close(fd);
            continue;
        }
        ConnectionId id = _nextConnection++;
        auto connection = std::make_unique<Connection>();
        connection->fd = fd;
        connection->source = RunLoop::main().addReadSource(fd, [this, id] { readFrom(id); });
        connection->deadline = RunLoop::main().addTimer(_limits.requestSeconds, [this, id] { expire(id); });
        _connections.emplace(id, std::move(connection));
    }
}

void ControlServer::readFrom(ConnectionId id)
{
    auto it = _connections.find(id);
    if (it == _connections.end())
        return;
    Connection& connection = *it->second;
    char buffer[4096];
    for (;;) {
        ssize_t got = read(connection.fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        if (got < 0) {
            drop(id);
            return;
        }
        if (got == 0) {
            // A line without its newline still counts once the client has finished sending;
            // a connection that sent nothing (a probe) gets nothing.
            if (connection.input.empty())
                drop(id);
            else
                answer(id, handle(connection.input));
            return;
        }
        connection.input.append(buffer, size_t(got));
        size_t end = connection.input.find('\n');
        if (end != std::string::npos) {
            answer(id, handle(connection.input.substr(0, end)));
            return;
        }
        if (connection.input.size() > _limits.maxRequestBytes) {
            answer(id, json::write(control::usageReply("request too long: more than "
                + std::to_string(_limits.maxRequestBytes) + " bytes without a line end")));
            return;
        }
    }
}

std::string ControlServer::handle(const std::string& line)
{
    if (line.size() > _limits.maxRequestBytes)
        return json::write(control::usageReply("request too long: more than " + std::to_string(_limits.maxRequestBytes) + " bytes"));
    control::Words words = control::decodeRequest(line);
    if (words.empty())
        return json::write(control::usageReply("empty request"));
    try {
        return _handler(words);
    } catch (const std::exception& failure) {
        return json::write(control::errorReply(failure.what()));
    }
}

void ControlServer::answer(ConnectionId id, const std::string& reply)
{
    // The handler may have stopped the server.
    auto it = _connections.find(id);
    if (it == _connections.end())
        return;
    Connection& connection = *it->second;
    RunLoop::main().removeSource(connection.source);
    RunLoop::main().cancelTimer(connection.deadline);
    connection.source = 0;
    connection.writing = true;
    connection.input.clear();
    connection.output = reply + "\n";
    connection.deadline = RunLoop::main().addTimer(_limits.replySeconds, [this, id] { expire(id); });
    writeTo(id);
}

void ControlServer::writeTo(ConnectionId id)
{
    auto it = _connections.find(id);
    if (it == _connections.end())
        return;
    Connection& connection = *it->second;
    if (!sendSome(connection.fd, connection.output, connection.sent) || connection.sent == connection.output.size()) {
        drop(id);
        return;
    }
    if (!connection.source)
        connection.source = RunLoop::main().addWriteSource(connection.fd, [this, id] { writeTo(id); });
}

void ControlServer::expire(ConnectionId id)
{
    auto it = _connections.find(id);
    if (it == _connections.end())
        return;
    Connection& connection = *it->second;
    connection.deadline = 0;
    ++_timedOut;
    if (!connection.writing) {
        // Said once, without waiting: a client that sends this slowly may not read either.
        std::string reply = json::write(control::usageReply("no whole request line within " + seconds(_limits.requestSeconds) + " s")) + "\n";
        size_t sent = 0;
        sendSome(connection.fd, reply, sent);
    }
    drop(id);
}

void ControlServer::drop(ConnectionId id)
{
    auto it = _connections.find(id);
    if (it == _connections.end())
        return;
    Connection& connection = *it->second;
    if (connection.source)
        RunLoop::main().removeSource(connection.source);
    if (connection.deadline)
        RunLoop::main().cancelTimer(connection.deadline);
    ::close(connection.fd);
    _connections.erase(it);
}
