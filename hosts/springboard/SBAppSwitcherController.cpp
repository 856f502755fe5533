#include "SBAppSwitcherController.h"

#include "ShellState.h"
#include "ui/UIView.h"

RVX_DEFINE_CLASS(SBAppSwitcherController, NSObject,
    cls.addClassMethod("sharedInstance", [](const id&) -> id { return SBAppSwitcherController::sharedInstance(); });
    cls.addMethod("iconCloseBoxTapped:", runtime::method(&SBAppSwitcherController::iconCloseBoxTapped)))

namespace {

std::shared_ptr<springboard::ApplicationIcon> iconOf(const std::shared_ptr<UIView>& view)
{
    auto* holder = dynamic_cast<springboard::IconHolder*>(view.get());
    return holder ? std::dynamic_pointer_cast<springboard::ApplicationIcon>(holder->icon()) : nullptr;
}

} // namespace

std::shared_ptr<SBAppSwitcherController> SBAppSwitcherController::sharedInstance()
{
    static auto instance = runtime::make<SBAppSwitcherController>();
    return instance;
}

void SBAppSwitcherController::iconCloseBoxTapped(std::shared_ptr<UIView> iconView)
{
    ShellState& shell = ShellState::shared();
    auto icon = iconOf(iconView);
    if (!icon) {
        shell.log("SBAppSwitcherController iconCloseBoxTapped: (no icon)");
        return;
    }
    std::string identifier = icon->applicationBundleID();
    shell.log("SBAppSwitcherController iconCloseBoxTapped: " + identifier);
    shell.close(identifier);
}
