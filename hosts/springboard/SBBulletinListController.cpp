#include "SBBulletinListController.h"

#include "Boxed.h"
#include "ShellState.h"

RVX_DEFINE_CLASS(SBBulletinListController, NSObject,
    cls.addClassMethod("sharedInstance", [](const id&) -> id { return SBBulletinListController::sharedInstance(); });
    cls.addMethod("listViewIsActive", [](NSObject& self, const id&) -> id {
        const PlistValue value(static_cast<SBBulletinListController&>(self).listViewIsActive());
        return boxed(value);
    });
    cls.addMethod("hideListViewAnimated:", [](NSObject& self, const id& argument) -> id {
        auto value = std::dynamic_pointer_cast<PlistObject>(argument);
        bool animated = value && value->value().boolValue().value_or(false);
        static_cast<SBBulletinListController&>(self).hideListViewAnimated(animated);
        return nullptr;
    }))

std::shared_ptr<SBBulletinListController> SBBulletinListController::sharedInstance()
{
    static auto instance = runtime::make<SBBulletinListController>();
    return instance;
}

bool SBBulletinListController::listViewIsActive()
{
    ShellState& shell = ShellState::shared();
    shell.log("SBBulletinListController listViewIsActive");
    return shell.listViewIsActive();
}

void SBBulletinListController::hideListViewAnimated(bool animated)
{
    ShellState& shell = ShellState::shared();
    shell.log(std::string("SBBulletinListController hideListViewAnimated: ") + (animated ? "YES" : "NO"));
    shell.setListViewActive(false);
}
