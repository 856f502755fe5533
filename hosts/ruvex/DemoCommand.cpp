// demo: the main job, told one step a line.

#include "Command.h"
#include "Device.h"
#include "Json.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/DeviceRoot.h"
#include "foundation/PreferenceFile.h"
#include "shared/RVXSettings.h"

#include <cstdio>

namespace ruvex {
namespace {

int gHeard = 0;

void heard(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    ++gHeard;
}

void step(const char* text)
{
    std::printf("- %s\n", text);
    std::fflush(stdout);
}

int runDemo(const Options&, const Arguments&)
{
    std::string error;
    if (!createDeviceFolders(DeviceRoot::root(), error))
        throw ActionError(error);
    std::printf("Device: %s\n", DeviceRoot::root().c_str());
    notifyTransportSetDeviceRoot(DeviceRoot::root().c_str());

    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    CFNotificationCenterAddObserver(center, nullptr, heard, RVXSettings::notificationName, nullptr,
        CFNotificationSuspensionBehaviorDeliverImmediately);
    step("listening for the settings-changed notification");

    PreferenceFile settings = RVXSettings::file();
    if (!settings.setObject(PlistValue("Tap to close Apps"), RVXSettings::Keys::Label.name))
        throw ActionError("could not write the Settings file");
    step("stored the bar's label \"Tap to close Apps\" in the Settings file");

    CFNotificationCenterPostNotification(center, RVXSettings::notificationName, nullptr, nullptr, true);
    RunLoop::main().runUntil([] { return gHeard > 0; }, 5);
    step(gHeard ? "the notification arrived" : "the notification did not arrive");

    NSDictionary file = RVXSettings::read();
    std::printf("- the Settings file now reads: %s\n", jsonFromPlist(PlistValue(file)).c_str());
    std::printf("Settings file: %s\n", settings.hostPath().c_str());
    return gHeard ? 0 : 1;
}

CommandRegistration demoVerb({"demo", "", "create the default device and show the system at work",
    "Writes the bar's label into the Settings file and announces the change.", 0, 0, runDemo});

} // namespace
} // namespace ruvex
