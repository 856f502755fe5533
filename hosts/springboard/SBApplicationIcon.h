#pragma once

#include "springboard/ShellServices.h"

// The icon of one installed app.
class SBApplicationIcon : public springboard::ApplicationIcon {
    RVX_OBJECT(SBApplicationIcon)
public:
    SBApplicationIcon() = default;
    explicit SBApplicationIcon(std::string bundleIdentifier) : _bundleIdentifier(std::move(bundleIdentifier)) { }

    std::string applicationBundleID() const override { return _bundleIdentifier; }

private:
    std::string _bundleIdentifier;
};
