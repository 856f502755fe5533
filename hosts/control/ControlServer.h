#pragma once

// A host's control socket, served on the main run loop: each connection carries one request
// line, which the handler answers with one JSON reply (see ControlSocket.h).
//
// Every connection is a non-blocking source of the run loop, so that no client can hold the
// host for another:
//   reading   the request line must be whole within `requestSeconds` of the connection;
//             one longer than `maxRequestBytes` is answered "request too long"
//   answering the handler runs on the loop and gives the reply
//   writing   the reply is sent as the client takes it, within `replySeconds`; a client that
//             does not read it in time is dropped
// At most `maxConnections` are open at once; one more is answered "busy" and closed.

#include "ControlSocket.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/Json.h"
#include "foundation/Result.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class ControlServer {
public:
    using Handler = std::function<std::string(const control::Words&)>;

    struct Limits {
        double requestSeconds = 2;
        double replySeconds = 5;
        size_t maxRequestBytes = 64 * 1024;
        size_t maxConnections = 64;
    };

    ControlServer() = default;
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Binds `path` (a socket left behind by a dead host is replaced; one that answers is
    // not) and starts serving on RunLoop::main().
    Result<void> listen(const std::string& path, Handler handler);
    // Stops serving, drops the open connections and removes the socket file.
    void close();
    const std::string& path() const { return _path; }

    void setLimits(const Limits& limits) { _limits = limits; }
    size_t openConnections() const { return _connections.size(); }
    // Connections dropped because their request or the reading of their reply took too long.
    size_t connectionsTimedOut() const { return _timedOut; }

private:
    struct Connection {
        int fd = -1;
        RunLoop::SourceId source = 0;
        RunLoop::TimerId deadline = 0;
        std::string input;
        std::string output;
        size_t sent = 0;
        bool writing = false;
    };
    using ConnectionId = uint64_t;

    void acceptPending();
    void readFrom(ConnectionId id);
    void answer(ConnectionId id, const std::string& reply);
    void writeTo(ConnectionId id);
    void expire(ConnectionId id);
    void drop(ConnectionId id);
    std::string handle(const std::string& line);

    Handler _handler;
    Limits _limits;
    std::string _path;
    int _listener = -1;
    RunLoop::SourceId _source = 0;
    std::map<ConnectionId, std::unique_ptr<Connection>> _connections;
    ConnectionId _nextConnection = 1;
    size_t _timedOut = 0;
};

namespace control {

// The error reply {"ok":false,"error":message}.
json::Value errorReply(const std::string& message);
// The same, marked as bad use of the verb ("usage":true), which the command line reports
// with exit status 2.
json::Value usageReply(const std::string& message);
// Adds a last member `key` listing `warnings` to the reply (nothing when there are none).
void addWarnings(json::Value& reply, const std::vector<std::string>& warnings, const char* key = "warnings");

} // namespace control
