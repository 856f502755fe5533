// notify post / wait: the settings-changed signal and any other name, across the device's
// processes.

#include "Command.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/DeviceRoot.h"
#include "foundation/Json.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace ruvex {
namespace {

void joinDevice()
{
    if (notifyTransportSetDeviceRoot(DeviceRoot::root().c_str()) != kCFNotificationStatusOK)
        throw ActionError("cannot reach the device's notification transport");
}

int postNotification(const Options&, const Arguments& arguments)
{
    joinDevice();
    CFNotificationStatus status = CFNotificationCenterPostNotificationChecked(
        CFNotificationCenterGetDarwinNotifyCenter(), arguments[0].c_str(), nullptr, nullptr, true);
    if (status == kCFNotificationStatusNoName || status == kCFNotificationStatusNameTooLong)
        throw UsageError(CFNotificationStatusDescription(status));
    if (status != kCFNotificationStatusOK)
        throw ActionError(CFNotificationStatusDescription(status));
    CFNotificationPostReach reach = notifyTransportLastPostReach();
    if (reach.reached == 0)
        std::fprintf(stderr, "ruvex: %s reached no process: %s\n", arguments[0].c_str(), reach.endpoints == 0
            ? "none of the device listens"
            : (std::to_string(reach.endpoints) + " listen, but their queues are full (stopped or hung)").c_str());
    return 0;
}

bool gArrived = false;

void noteArrival(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    gArrived = true;
}

int waitForNotification(const Options& options, const Arguments& arguments)
{
    double timeout = RunLoop::Forever;
    if (arguments.size() == 3) {
        if (arguments[1] != "--timeout")
            throw UsageError("unknown option " + arguments[1]);
        std::optional<double> seconds = parseNumber(arguments[2]);
        if (!seconds || *seconds < 0)
            throw UsageError("--timeout takes a number of seconds");
        timeout = *seconds;
    } else if (arguments.size() == 2) {
        throw UsageError("--timeout takes a number of seconds");
    }
    joinDevice();
    CFNotificationStatus status = CFNotificationCenterAddObserverChecked(CFNotificationCenterGetDarwinNotifyCenter(),
        nullptr, noteArrival, arguments[0].c_str(), nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    if (status == kCFNotificationStatusNoName || status == kCFNotificationStatusNameTooLong)
        throw UsageError(CFNotificationStatusDescription(status));
    if (status != kCFNotificationStatusOK)
        throw ActionError(CFNotificationStatusDescription(status));
    // Ready to hear: a script may post once this line is out.
    std::fprintf(stderr, "waiting for %s\n", arguments[0].c_str());
    bool arrived = RunLoop::main().runUntil([] { return gArrived; }, timeout);
    if (!arrived) {
        std::fprintf(stderr, "ruvex: no %s within %g s\n", arguments[0].c_str(), timeout);
        return 1;
    }
    if (options.json)
        std::printf("%s\n", json::write({ { "name", arguments[0] }, { "arrived", true } }).c_str());
    else
        std::printf("%s\n", arguments[0].c_str());
    return 0;
}

CommandRegistration postVerb({"notify post", "NAME", "post a system-wide notification on the device",
    "The settings-changed notification is com.vastelmark.ruvex.dbxchanged.", 1, 1, postNotification});

CommandRegistration waitVerb({"notify wait", "NAME [--timeout S]",
    "wait until a notification arrives (exit 0), or until S seconds pass (exit 1)", "", 1, 3,
    waitForNotification});

} // namespace
} // namespace ruvex
