#include "RVXPrefsExports.h"

#include "shared/RVXSettings.h"

#include "corefoundation/CFNotificationCenter.h"

std::string titleString;

void post()
{
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
        CFSTR(RVXSettings::notificationName), nullptr, nullptr, true);
}
