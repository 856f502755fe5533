#pragma once

// The client side of a host's control socket: one request, one reply.
//
// Before it connects, the client makes the checks the hosts make of their folders: the
// socket's folder and the folder above it are real directories (not links) of this user
// that no one else may enter, and the socket is a socket of this user. After connecting it
// asks the kernel who listens (SO_PEERCRED) and talks only to a process of this user.

#include "ControlSocket.h"

#include <string>

#include <sys/types.h>

namespace control {

enum class Outcome {
    Replied,    // `reply` holds the host's JSON line
    NotRunning, // nothing listens on the socket
    Busy,       // a host took the connection but gave no reply in time
    Refused,    // the socket or its folders are not safely this user's; `error` says why
    Failed,     // the exchange broke off; `error` says how
};

struct Exchange {
    Outcome outcome = Outcome::Failed;
    std::string reply;
    std::string error;
    pid_t peer = 0; // the listening process, once connected
};

// Sends `words` to the socket at `path` and waits at most `timeout` seconds for the reply.
Exchange request(const std::string& path, const Words& words, double timeout = 30);

enum class SocketPath {
    Present, // the socket and its folders are this user's alone
    Missing, // the socket or a folder is not there
};
// Whether the socket at `path` and its two folders may be trusted; the reason when not.
// A missing socket or folder is no reason to refuse.
Result<SocketPath> checkSocketPath(const std::string& path);

} // namespace control
