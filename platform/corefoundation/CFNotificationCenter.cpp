#include "corefoundation/CFNotificationCenter.h"

#include "corefoundation/CFRunLoop.h"
#include "corefoundation/NotifyPostListener.h"
#include "corefoundation/NotifyTransport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include <pthread.h>
#include <unistd.h>

// Pending names are kept once each until the next dispatch: memory stays bounded by the
// number of distinct names however many posts arrive, and a flood reaches an observer as
// one callback per name per turn.
struct CFNotificationCenter {
    struct Registration {
        CFNotificationCallback callback;
        const void* observer;
        std::string name;
        const void* object;

        bool operator==(const Registration&) const = default;
    };

    static CFNotificationCenter& darwin();

    CFNotificationStatus addObserver(const void* observer, CFNotificationCallback callback, std::string name, const void* object);
    void removeObservers(const void* observer, const char* name, const void* object, bool anyName);
    CFNotificationStatus post(const std::string& name);
    CFNotificationStatus useDeviceRoot(const char* deviceRoot);

    std::mutex mutex;
    std::vector<Registration> registrations;
    std::vector<std::string> pending;
    std::unordered_set<std::string> pendingNames;
    bool dispatchQueued = false;

    NotifyTransport transport;
    RunLoop::SourceId source = 0;
    std::string base;
    std::string directoryText;
    std::string lastError;
    NotifyTransport::SendReport lastReach;
    double lastUnheardReport = -1e9;
    size_t unheardSinceReport = 0;
    pid_t pid = getpid();

private:
    bool observes(const std::string& name) const;
    void reportUnheard(const std::string& name);
    void enqueue(const std::string& name);
    void dispatch();
    void receive();
    void requestEndpointSync();
    void syncEndpoint();
    void detachSource();
    void afterFork();
};

namespace {

// Receiving stops after this many datagrams per turn so that a flood cannot starve the loop.
constexpr size_t receiveLimitPerTurn = 4096;

CFNotificationStatus checkName(CFStringRef name)
{
    if (!name || !*name)
        return kCFNotificationStatusNoName;
    if (strnlen(name, kCFNotificationNameMaxLength + 1) > kCFNotificationNameMaxLength)
        return kCFNotificationStatusNameTooLong;
    return kCFNotificationStatusOK;
}

void report(const char* function, CFNotificationStatus status, const std::string& detail = {})
{
    if (status == kCFNotificationStatusOK)
        return;
    if (detail.empty())
        std::fprintf(stderr, "%s: %s\n", function, CFNotificationStatusDescription(status));
    else
        std::fprintf(stderr, "%s: %s (%s)\n", function, CFNotificationStatusDescription(status), detail.c_str());
}

} // namespace

CFNotificationCenter& CFNotificationCenter::darwin()
{
    static CFNotificationCenter* center = [] {
        auto* created = new CFNotificationCenter; // never destroyed: posts may come during static teardown
        pthread_atfork(nullptr, nullptr, [] { CFNotificationCenter::darwin().afterFork(); });
        std::atexit([] {
            auto& center = CFNotificationCenter::darwin();
            if (center.pid == getpid())
                center.transport.unbind();
        });
        return created;
    }();
    return *center;
}

bool CFNotificationCenter::observes(const std::string& name) const
{
    return std::any_of(registrations.begin(), registrations.end(),
        [&](const Registration& registration) { return registration.name == name; });
}

CFNotificationStatus CFNotificationCenter::addObserver(const void* observer, CFNotificationCallback callback,
    std::string name, const void* object)
{
    std::lock_guard lock(mutex);
    Registration registration { callback, observer, std::move(name), object };
    if (std::find(registrations.begin(), registrations.end(), registration) == registrations.end())
        registrations.push_back(std::move(registration));
    // Bound before returning, so that a post made after this call reaches us.
    if (transport.isOpen()) {
        if (Result<void> bound = transport.bind(); !bound) {
            lastError = bound.error();
            std::fprintf(stderr, "CFNotificationCenterAddObserver: other processes cannot reach this observer: %s\n",
                lastError.c_str());
        }
    }
    requestEndpointSync();
    return kCFNotificationStatusOK;
}

void CFNotificationCenter::removeObservers(const void* observer, const char* name, const void* object, bool anyName)
{
    std::lock_guard lock(mutex);
    std::erase_if(registrations, [&](const Registration& registration) {
        return registration.observer == observer && (anyName || registration.name == name)
            && (!object || registration.object == object);
    });
    if (registrations.empty())
        requestEndpointSync();
}

namespace {

std::mutex gPostListenerMutex;
NotifyPostListener gPostListener;

void tellPostListener(const std::string& name)
{
    NotifyPostListener listener;
    {
        std::lock_guard lock(gPostListenerMutex);
        listener = gPostListener;
    }
    if (listener)
        listener(name);
}

} // namespace

void notifyCenterSetPostListener(NotifyPostListener listener)
{
    std::lock_guard lock(gPostListenerMutex);
    gPostListener = std::move(listener);
}

CFNotificationStatus CFNotificationCenter::post(const std::string& name)
{
    tellPostListener(name);
    std::lock_guard lock(mutex);
    if (observes(name))
        enqueue(name);
    lastReach = NotifyTransport::SendReport();
    if (transport.isOpen()) {
        Result<NotifyTransport::SendReport> sent = transport.send(name);
        if (!sent) {
            lastError = sent.error();
            return kCFNotificationStatusTransportFailed;
        }
        lastReach = *sent;
    }
    if (lastReach.peers > 0 && lastReach.reached == 0)
        reportUnheard(name);
    else if (lastReach.reached > 0)
        lastUnheardReport = -1e9; // the next unheard post starts a new run, told at once
    return kCFNotificationStatusOK;
}

// A flood against deaf peers would otherwise write a line per post.
void CFNotificationCenter::reportUnheard(const std::string& name)
{
    ++unheardSinceReport;
    double now = SystemClock().now(); // the loop's clock may be a test's, standing still
    if (now - lastUnheardReport < 1)
        return;
    std::fprintf(stderr, "CFNotificationCenterPostNotification: %s reached no other process: %zu endpoint(s), %zu full, %zu deaf%s\n",
        name.c_str(), lastReach.peers, lastReach.full, lastReach.forgotten,
        unheardSinceReport > 1 ? (" (" + std::to_string(unheardSinceReport) + " such posts since the last line)").c_str() : "");
    lastUnheardReport = now;
    unheardSinceReport = 0;
}

void CFNotificationCenter::enqueue(const std::string& name)
{
    if (pendingNames.insert(name).second)
        pending.push_back(name);
    if (!dispatchQueued) {
        dispatchQueued = true;
        RunLoop::main().post([this] { dispatch(); });
    }
}

void CFNotificationCenter::dispatch()
{
    std::vector<std::string> names;
    std::vector<Registration> snapshot;
    {
        std::lock_guard lock(mutex);
        names.swap(pending);
        pendingNames.clear();
        dispatchQueued = false;
        snapshot = registrations;
    }
    for (const auto& name : names) {
        for (const auto& registration : snapshot) {
            if (registration.name != name)
                continue;
            {
                // An earlier callback may have removed this registration.
                std::lock_guard lock(mutex);
                if (std::find(registrations.begin(), registrations.end(), registration) == registrations.end())
                    continue;
            }
            registration.callback(this, const_cast<void*>(registration.observer), name.c_str(), nullptr, nullptr);
        }
    }
}

void CFNotificationCenter::receive()
{
    std::lock_guard lock(mutex);
    for (const auto& name : transport.receive(receiveLimitPerTurn)) {
        if (observes(name))
            enqueue(name);
    }
}

// The loop's sources may only be touched from the main thread; observers may come and
// go on any thread.
void CFNotificationCenter::requestEndpointSync()
{
    if (RunLoop::main().isCurrent())
        syncEndpoint();
    else
        RunLoop::main().post([this] {
            std::lock_guard lock(mutex);
            syncEndpoint();
        });
}

void CFNotificationCenter::syncEndpoint()
{
    bool wanted = transport.isOpen() && !registrations.empty();
    if (!wanted) {
        detachSource();
        transport.unbind();
        return;
    }
    if (!transport.isBound()) {
        if (Result<void> bound = transport.bind(); !bound) {
            lastError = bound.error();
            std::fprintf(stderr, "CFNotificationCenter: other processes cannot reach this process: %s\n", lastError.c_str());
            return;
        }
    }
    if (!source)
        source = RunLoop::main().addReadSource(transport.endpointDescriptor(), [this] { receive(); });
}

void CFNotificationCenter::detachSource()
{
    if (source)
        RunLoop::main().removeSource(source);
    source = 0;
}

CFNotificationStatus CFNotificationCenter::useDeviceRoot(const char* deviceRoot)
{
    std::lock_guard lock(mutex);
    if (!deviceRoot) {
        detachSource();
        transport.close();
        return kCFNotificationStatusOK;
    }
    if (!*deviceRoot) {
        lastError = "the device root is empty";
        return kCFNotificationStatusInvalidArgument;
    }
    std::string top = base.empty() ? NotifyTransport::defaultBase() : base;
    std::string directory = NotifyTransport::directoryForDeviceRoot(deviceRoot, top);
    for (const std::string& folder : {top, directory}) {
        if (Result<void> made = NotifyTransport::makePrivateDirectory(folder); !made) {
            lastError = made.error();
            return kCFNotificationStatusTransportFailed;
        }
    }
    if (transport.directory() == directory)
        return kCFNotificationStatusOK;
    detachSource();
    lastUnheardReport = -1e9;
    if (Result<void> opened = transport.open(directory); !opened) {
        lastError = opened.error();
        return kCFNotificationStatusTransportFailed;
    }
    syncEndpoint();
    return kCFNotificationStatusOK;
}

// The child must neither read the parent's socket nor remove its file; it keeps the
// registrations it inherited and gets an endpoint of its own.
void CFNotificationCenter::afterFork()
{
    pid = getpid();
    detachSource();
    transport.abandonInheritedState();
    syncEndpoint();
}

extern "C" {

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter(void)
{
    return &CFNotificationCenter::darwin();
}

CFNotificationStatus CFNotificationCenterAddObserverChecked(CFNotificationCenterRef center, const void* observer,
    CFNotificationCallback callback, CFStringRef name, const void* object, CFNotificationSuspensionBehavior)
{
    if (center != &CFNotificationCenter::darwin() || !callback)
        return kCFNotificationStatusInvalidArgument;
    if (auto status = checkName(name); status != kCFNotificationStatusOK)
        return status;
    return center->addObserver(observer, callback, name, object);
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
    CFNotificationCallback callback, CFStringRef name, const void* object,
    CFNotificationSuspensionBehavior suspensionBehavior)
{
    report("CFNotificationCenterAddObserver",
        CFNotificationCenterAddObserverChecked(center, observer, callback, name, object, suspensionBehavior));
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer, CFStringRef name,
    const void* object)
{
    if (center == &CFNotificationCenter::darwin())
        center->removeObservers(observer, name, object, !name);
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer)
{
    if (center == &CFNotificationCenter::darwin())
        center->removeObservers(observer, nullptr, nullptr, true);
}

CFNotificationStatus CFNotificationCenterPostNotificationChecked(CFNotificationCenterRef center, CFStringRef name,
    const void*, CFDictionaryRef, bool)
{
    if (center != &CFNotificationCenter::darwin())
        return kCFNotificationStatusInvalidArgument;
    if (auto status = checkName(name); status != kCFNotificationStatusOK)
        return status;
    return center->post(name);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name, const void* object,
    CFDictionaryRef userInfo, bool deliverImmediately)
{
    auto status = CFNotificationCenterPostNotificationChecked(center, name, object, userInfo, deliverImmediately);
    report("CFNotificationCenterPostNotification", status,
        status == kCFNotificationStatusTransportFailed ? CFNotificationCenter::darwin().lastError : std::string());
}

const char* CFNotificationStatusDescription(CFNotificationStatus status)
{
    switch (status) {
    case kCFNotificationStatusOK:
        return "success";
    case kCFNotificationStatusNoName:
        return "the notification name is missing or empty; nothing done";
    case kCFNotificationStatusNameTooLong:
        return "the notification name is longer than 128 bytes; nothing done";
    case kCFNotificationStatusInvalidArgument:
        return "an argument is missing or invalid (center, callback or device root); nothing done";
    case kCFNotificationStatusTransportFailed:
        return "delivered in this process only: other processes could not be reached";
    }
    return "unknown status";
}

CFNotificationStatus notifyTransportSetDeviceRoot(const char* deviceRoot)
{
    auto& center = CFNotificationCenter::darwin();
    auto status = center.useDeviceRoot(deviceRoot);
    report("notifyTransportSetDeviceRoot", status, center.lastError);
    return status;
}

void notifyTransportSetBaseDirectory(const char* base)
{
    auto& center = CFNotificationCenter::darwin();
    std::lock_guard lock(center.mutex);
    center.base = base ? base : "";
}

CFNotificationPostReach notifyTransportLastPostReach(void)
{
    auto& center = CFNotificationCenter::darwin();
    std::lock_guard lock(center.mutex);
    const auto& reach = center.lastReach;
    return CFNotificationPostReach { reach.peers, reach.reached, reach.full, reach.forgotten };
}

const char* notifyTransportDirectory(void)
{
    auto& center = CFNotificationCenter::darwin();
    std::lock_guard lock(center.mutex);
    center.directoryText = center.transport.directory();
    return center.directoryText.c_str();
}

} // extern "C"
