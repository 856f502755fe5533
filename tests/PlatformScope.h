#pragma once

// Every process-wide thing of the platform a test may change, reset in one place: a new
// device root (the previous one back afterwards), a virtual clock on the main run loop (the
// system clock back afterwards), the notify center out of any transport, no shown alerts or
// sheets and no presenters for them, the shared application's opened addresses and hooks, and
// the standard defaults' domain. Each is reset as the scope begins and again as it ends, so a
// test neither sees what the one before left nor leaves anything for the next. What a product
// installs on top (the shell's hooks, its state) its own fixture resets.

#include "TestDevice.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/NSUserDefaults.h"
#include "ui/UIActionSheet.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"

#include <cerrno>
#include <memory>

class PlatformScope {
public:
    explicit PlatformScope(double clockStart = 0)
    {
        reset();
        _clock = RunLoop::main().installVirtualClock(clockStart);
    }

    ~PlatformScope()
    {
        RunLoop::main().installSystemClock();
        reset();
    }

    PlatformScope(const PlatformScope&) = delete;
    PlatformScope& operator=(const PlatformScope&) = delete;

    TestDevice& device() { return _device; }
    const TestDevice& device() const { return _device; }
    VirtualClock& clock() { return *_clock; }
    const std::shared_ptr<VirtualClock>& sharedClock() const { return _clock; }

private:
    static void reset()
    {
        notifyTransportSetDeviceRoot(nullptr);
        UIModalView::setPresenter(nullptr);
        UIModalView::dismissAllModals();
        auto application = UIApplication::sharedApplication();
        application->clearOpenedURLs();
        application->setInstalledSchemesHook(nullptr);
        application->setOpenedURLHook(nullptr);
        application->setFrontMostApplicationHook(nullptr);
        NSUserDefaults::setStandardDomain(program_invocation_short_name);
    }

    TestDevice _device;
    std::shared_ptr<VirtualClock> _clock;
};
