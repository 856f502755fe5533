#pragma once

// The Darwin notify center: system-wide notifications by name only.
//
// - A notification carries its name and nothing else: object and user information are
//   ignored, and callbacks receive NULL for both.
// - A registration identical in callback, observer, name and object is kept once.
// - Every callback runs on the observing process's main run loop (`RunLoop::main()`),
//   never inside the post call and never on another thread; the posting process's own
//   observers hear its posts.
// - Posts of one name in quick succession may reach an observer as one.
//
// Across processes the center needs no daemon: every process that uses the same device
// root shares one transport directory (see `notifyTransportSetDeviceRoot`). Hosts call
// it with their device root at start; without it, delivery stays inside the process.

#include <cstddef>

struct CFNotificationCenter;
struct CFDictionary;

using CFNotificationCenterRef = CFNotificationCenter*;
using CFStringRef = const char*;
// User information is never carried; the type exists for the callback's shape.
using CFDictionaryRef = const CFDictionary*;

#define CFSTR(text) (text)

using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer, CFStringRef name,
    const void* object, CFDictionaryRef userInfo);

enum CFNotificationSuspensionBehavior {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

enum CFNotificationStatus {
    kCFNotificationStatusOK = 0,
    kCFNotificationStatusNoName,          // NULL or empty name
    kCFNotificationStatusNameTooLong,     // longer than kCFNotificationNameMaxLength bytes
    kCFNotificationStatusInvalidArgument, // no center, no callback, or an empty device root
    kCFNotificationStatusTransportFailed, // delivered here, but other processes could not be reached
};

// Names are at most this many bytes, as on the phone.
constexpr size_t kCFNotificationNameMaxLength = 128;

extern "C" {

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter(void);

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
    CFNotificationCallback callback, CFStringRef name, const void* object,
    CFNotificationSuspensionBehavior suspensionBehavior);

// Removes the observer's registrations for `name` (every name when NULL) and `object`
// (every object when NULL).
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
    CFStringRef name, const void* object);

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name,
    const void* object, CFDictionaryRef userInfo, bool deliverImmediately);

// The plain calls above refuse a bad argument with one line on stderr; these answer why.
CFNotificationStatus CFNotificationCenterAddObserverChecked(CFNotificationCenterRef center,
    const void* observer, CFNotificationCallback callback, CFStringRef name, const void* object,
    CFNotificationSuspensionBehavior suspensionBehavior);
CFNotificationStatus CFNotificationCenterPostNotificationChecked(CFNotificationCenterRef center,
    CFStringRef name, const void* object, CFDictionaryRef userInfo, bool deliverImmediately);

const char* CFNotificationStatusDescription(CFNotificationStatus status);

// Joins the processes of one device root: a post then reaches every observer of that
// name in every process that set the same root. NULL leaves the transport: delivery
// stays inside this process. Answers kCFNotificationStatusTransportFailed, with one line
// on stderr, when the transport directory cannot be made safe. Call it on the main thread
// (it changes the main run loop's sources), typically once at start.
//
// The sockets live in <base>/<16 hex digits of a hash of the device root>/, where the
// base is /tmp/rvx-notify-<uid> unless set otherwise: device roots are often long, and
// a socket path must fit in 108 bytes.
CFNotificationStatus notifyTransportSetDeviceRoot(const char* deviceRoot);
// Sets the base directory for later calls of notifyTransportSetDeviceRoot (NULL: the
// default). Meant for tests.
void notifyTransportSetBaseDirectory(const char* base);
// The transport directory in use, or "" when there is none.
const char* notifyTransportDirectory(void);

// What this process's last post found in the other processes of the device: endpoints
// there, those that took it, those whose queue was full, and those skipped as deaf (their
// queue full for seconds). A post that reached none of several is also told on stderr, at
// most once a second.
struct CFNotificationPostReach {
    size_t endpoints;
    size_t reached;
    size_t full;
    size_t forgotten;
};
CFNotificationPostReach notifyTransportLastPostReach(void);

} // extern "C"
