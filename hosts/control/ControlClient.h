#pragma once

// The client side of a host's control socket: one request, one reply.

#include "ControlSocket.h"

#include <string>

namespace control {

enum class Outcome {
    Replied,    // `reply` holds the host's JSON line
    NotRunning, // nothing listens on the socket
    Failed,     // the exchange broke off; `error` says how
};

struct Exchange {
    Outcome outcome = Outcome::Failed;
    std::string reply;
    std::string error;
};

// Sends `words` to the socket at `path` and waits at most `timeout` seconds for the reply.
Exchange request(const std::string& path, const Words& words, double timeout = 30);

} // namespace control
