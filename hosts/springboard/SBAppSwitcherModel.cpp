#include "SBAppSwitcherModel.h"

#include "Boxed.h"
#include "ShellState.h"

RVX_DEFINE_CLASS(SBAppSwitcherModel, NSObject,
    cls.addClassMethod("sharedInstance", [](const id&) -> id { return SBAppSwitcherModel::sharedInstance(); });
    cls.addMethod("identifiers", [](NSObject& self, const id&) -> id {
        const PlistValue value(static_cast<SBAppSwitcherModel&>(self).identifiers());
        return boxed(value);
    });
    cls.addMethod("remove:", [](NSObject& self, const id& argument) -> id {
        auto value = std::dynamic_pointer_cast<PlistObject>(argument);
        if (value && value->value().string())
            static_cast<SBAppSwitcherModel&>(self).remove(*value->value().string());
        return nullptr;
    }))

std::shared_ptr<SBAppSwitcherModel> SBAppSwitcherModel::sharedInstance()
{
    static auto instance = runtime::make<SBAppSwitcherModel>();
    return instance;
}

NSArray SBAppSwitcherModel::identifiers()
{
    ShellState& shell = ShellState::shared();
    shell.log("SBAppSwitcherModel identifiers");
    return shell.switcherList();
}

void SBAppSwitcherModel::remove(std::string_view identifier)
{
    ShellState& shell = ShellState::shared();
    shell.log("SBAppSwitcherModel remove: " + std::string(identifier));
    shell.removeFromSwitcher(identifier);
}
