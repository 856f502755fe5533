#include "ShellHooks.h"

#include "ShellState.h"

#include "ui/UIApplication.h"

namespace ShellHooks {

void install()
{
    auto application = UIApplication::sharedApplication();
    application->setInstalledSchemesHook([] { return ShellState::shared().installedURLSchemes(); });
    application->setFrontMostApplicationHook([]() -> std::shared_ptr<FrontMostApplication> {
        ShellState& shell = ShellState::shared();
        shell.log("UIApplication _accessibilityFrontMostApplication");
        const auto& front = shell.foregroundApp();
        return front ? std::make_shared<FrontMostApplication>(*front) : nullptr;
    });
}

void remove()
{
    auto application = UIApplication::sharedApplication();
    application->setInstalledSchemesHook(nullptr);
    application->setFrontMostApplicationHook(nullptr);
}

} // namespace ShellHooks
