#pragma once

// A host's control socket, served on the main run loop: each connection carries one request
// line, which the handler answers with one JSON reply (see ControlSocket.h).

#include "ControlSocket.h"

#include <cstdint>
#include <functional>
#include <string>

class ControlServer {
public:
    using Handler = std::function<std::string(const control::Words&)>;

    ControlServer() = default;
    ~ControlServer();
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Binds `path` (a socket left behind by a dead host is replaced; one that answers is
    // not) and starts serving on RunLoop::main().
    bool listen(const std::string& path, Handler handler, std::string& error);
    // Stops serving and removes the socket file.
    void close();
    const std::string& path() const { return _path; }

private:
    void serveOne();

    Handler _handler;
    std::string _path;
    int _listener = -1;
    uint64_t _source = 0;
};

namespace control {
// The error reply {"ok":false,"error":message}.
std::string errorReply(const std::string& message);
} // namespace control
