#include "PostRecorder.h"

#include "corefoundation/CFNotificationCenter.h"

#include <algorithm>
#include <dlfcn.h>

namespace {

std::vector<std::string>& names()
{
    static std::vector<std::string> list;
    return list;
}

using PostFunction = void (*)(CFNotificationCenterRef, CFStringRef, const void*, CFDictionaryRef, bool);

} // namespace

extern "C" void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name,
    const void* object, CFDictionaryRef userInfo, bool deliverImmediately)
{
    static auto real = reinterpret_cast<PostFunction>(dlsym(RTLD_NEXT, "CFNotificationCenterPostNotification"));
    names().push_back(name ? name : "");
    if (real)
        real(center, name, object, userInfo, deliverImmediately);
}

namespace PostRecorder {

const std::vector<std::string>& posted()
{
    return names();
}

void clear()
{
    names().clear();
}

int count(const std::string& name)
{
    return int(std::count(names().begin(), names().end(), name));
}

} // namespace PostRecorder
