#pragma once

// The running host's user defaults: the dictionary in the device's
// "/var/mobile/Library/Preferences/<domain>.plist". The host names its domain once at start
// (the shell "com.apple.springboard"); until then it is the program's name. Every read goes
// to the file and every change is written at once under the preference lock, so
// synchronize has nothing left to do.

#include "foundation/PlistValue.h"
#include "foundation/PreferenceFile.h"

#include <optional>
#include <string>
#include <string_view>

class NSUserDefaults {
public:
    static NSUserDefaults& standardUserDefaults();
    static void setStandardDomain(std::string domain);

    explicit NSUserDefaults(std::string domain) : _domain(std::move(domain)) { }
    const std::string& domain() const { return _domain; }

    std::optional<PlistValue> objectForKey(std::string_view key) const;
    long long integerForKey(std::string_view key) const;
    bool boolForKey(std::string_view key) const;
    float floatForKey(std::string_view key) const;
    std::optional<std::string> stringForKey(std::string_view key) const;

    bool setObject(PlistValue value, std::string_view key);
    bool removeObjectForKey(std::string_view key);
    bool synchronize() { return true; }

private:
    PreferenceFile file() const { return PreferenceFile::forDomain(_domain); }
    std::string _domain;
};
