#include "foundation/NSUserDefaults.h"

#include <errno.h>
#include <mutex>

namespace {

std::mutex& domainLock()
{
    static std::mutex lock;
    return lock;
}

NSUserDefaults& shared()
{
    static NSUserDefaults* defaults = new NSUserDefaults(program_invocation_short_name);
    return *defaults;
}

} // namespace

NSUserDefaults& NSUserDefaults::standardUserDefaults()
{
    std::lock_guard guard(domainLock());
    return shared();
}

void NSUserDefaults::setStandardDomain(std::string domain)
{
    std::lock_guard guard(domainLock());
    shared()._domain = std::move(domain);
}

std::optional<PlistValue> NSUserDefaults::objectForKey(std::string_view key) const
{
    NSDictionary dictionary = file().read();
    if (auto* value = dictionary.objectForKey(key))
        return *value;
    return std::nullopt;
}

long long NSUserDefaults::integerForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value ? value->longLongValue().value_or(0) : 0;
}

bool NSUserDefaults::boolForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value ? value->boolValue().value_or(false) : false;
}

float NSUserDefaults::floatForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    return value ? value->floatValue().value_or(0) : 0;
}

std::optional<std::string> NSUserDefaults::stringForKey(std::string_view key) const
{
    auto value = objectForKey(key);
    if (value && value->string())
        return *value->string();
    return std::nullopt;
}

bool NSUserDefaults::setObject(PlistValue value, std::string_view key)
{
    return file().setObject(std::move(value), key);
}

bool NSUserDefaults::removeObjectForKey(std::string_view key)
{
    return file().removeObjectForKey(key);
}
