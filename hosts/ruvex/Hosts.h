#pragma once

// Reaching the device's host programs: their sockets, one request each, and starting them.

#include "Command.h"

#include "control/ControlClient.h"
#include "foundation/Json.h"

#include <nlohmann/json.hpp>

#include <string>

#include <sys/types.h>

namespace ruvex {

// Sends the request to a host of the current device; throws ActionError when the host does
// not run ("the device is not booted") or answers with an error.
json::Value askHost(const std::string& host, const control::Words& words);
// Prints the reply: the whole JSON with --json, else its "text".
int report(const Options& options, const json::Value& reply);
// The ruvex executable's folder, to find the host programs and the build's bundles.
std::string executableDirectory();
// Prints the reply's "warnings" (bundles that did not load, files that did not read) as
// "warning: ..." lines on stderr.
void printWarnings(const json::Value& reply);

enum class HostState {
    Running,    // answers a ping
    Busy,       // takes the connection but does not answer within a few seconds
    NotRunning, // nothing listens
    Refused,    // its socket or folders are not safely this user's
};
// The state of a host of the current device; the listening process and the reason of a
// refusal when asked.
HostState hostState(const std::string& host, pid_t* pid = nullptr, std::string* reason = nullptr);
// Whether the host of the current device answers a ping within a few seconds.
bool answers(const std::string& host);
// Starts one host program detached, as boot does (without waiting for it to answer).
void startHost(const std::string& host);
// Starts the hosts that do not run yet and waits until all answer.
void bootHosts();
// Asks every running host to stop and waits until none answers; the number stopped.
int shutdownHosts();

} // namespace ruvex
