#pragma once

// Reaching the device's host programs: their sockets, one request each, and starting them.

#include "Command.h"

#include "control/ControlClient.h"
#include "control/JsonValue.h"

#include <string>

namespace ruvex {

// Sends the request to a host of the current device; throws ActionError when the host does
// not run ("the device is not booted") or answers with an error.
JsonValue askHost(const std::string& host, const control::Words& words);
// Prints the reply: the whole JSON with --json, else its "text".
int report(const Options& options, const JsonValue& reply);
// The ruvex executable's folder, to find the host programs and the build's bundles.
std::string executableDirectory();
// Whether the host of the current device answers a ping within a few seconds.
bool answers(const std::string& host);
// Starts one host program detached, as boot does (without waiting for it to answer).
void startHost(const std::string& host);
// Starts the hosts that do not run yet and waits until all answer.
void bootHosts();
// Asks every running host to stop and waits until none answers; the number stopped.
int shutdownHosts();

} // namespace ruvex
