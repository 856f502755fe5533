#pragma once

// The shared application: opens addresses and answers which app is in front. What the
// shell knows (installed apps' schemes, the front-most app) comes in through hooks it
// installs; every address opened is recorded in order for the host to report.

#include "foundation/NSURL.h"
#include "ui/UIResponder.h"

#include <functional>
#include <string>
#include <vector>

// The foreground app as the shell reports it.
class FrontMostApplication : public NSObject {
    RVX_OBJECT(FrontMostApplication)
public:
    FrontMostApplication() = default;
    explicit FrontMostApplication(std::string bundleIdentifier) : _bundleIdentifier(std::move(bundleIdentifier)) { }
    const std::string& bundleIdentifier() const { return _bundleIdentifier; }

private:
    std::string _bundleIdentifier;
};

class UIApplication : public UIResponder {
    RVX_OBJECT(UIApplication)
public:
    using SchemesHook = std::function<std::vector<std::string>()>;
    using FrontMostHook = std::function<std::shared_ptr<FrontMostApplication>()>;

    static std::shared_ptr<UIApplication> sharedApplication();

    // http and https always open; another scheme opens when an installed app declares it
    // (compared without regard to case).
    bool canOpenURL(const std::shared_ptr<NSURL>& url) const;
    // Opens (records) the address when it can be opened; answers whether it was.
    bool openURL(const std::shared_ptr<NSURL>& url);
    const std::vector<std::string>& openedURLs() const { return _opened; }
    void clearOpenedURLs() { _opened.clear(); }

    std::shared_ptr<FrontMostApplication> _accessibilityFrontMostApplication() const;

    void setInstalledSchemesHook(SchemesHook hook) { _schemes = std::move(hook); }
    // Told of each address as it is opened, so that a host can record it where others see it.
    using OpenedHook = std::function<void(const std::string& address)>;
    void setOpenedURLHook(OpenedHook hook) { _openedHook = std::move(hook); }
    void setFrontMostApplicationHook(FrontMostHook hook) { _frontMost = std::move(hook); }

private:
    SchemesHook _schemes;
    FrontMostHook _frontMost;
    OpenedHook _openedHook;
    std::vector<std::string> _opened;
};
