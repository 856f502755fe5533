#pragma once

// What both host programs do at start: take `--device DIR`, make the device root the
// process's, join the device's notify transport, and stop the main run loop cleanly on
// SIGTERM or SIGINT.

#include "ControlServer.h"

#include <string>

namespace control {

// Parses `PROGRAM --device DIR`; prints usage and exits 2 on bad use, exits 1 when the
// directory is not there or the transport cannot be joined.
std::string startHost(int argc, char** argv, const char* program);
// Installs the signal handlers; the loop's stop is carried through a pipe, since the
// run loop's own calls are not safe inside a handler.
void stopMainLoopOnSignals();
// Serves `handler` on the host's socket of the current device root, or exits 1.
void serveControl(ControlServer& server, const char* host, ControlServer::Handler handler);

} // namespace control
