#include "SBIconModel.h"

#include "SBApplicationIcon.h"
#include "ShellState.h"

RVX_DEFINE_CLASS(SBIconModel, NSObject,
    cls.addClassMethod("sharedInstance", [](const id&) -> id { return SBIconModel::sharedInstance(); });
    cls.addMethod("applicationIconForDisplayIdentifier:", [](NSObject& self, const id& argument) -> id {
        auto value = std::dynamic_pointer_cast<PlistObject>(argument);
        if (!value || !value->value().string())
            return nullptr;
        return static_cast<SBIconModel&>(self).applicationIconForDisplayIdentifier(*value->value().string());
    }))

std::shared_ptr<SBIconModel> SBIconModel::sharedInstance()
{
    static auto instance = runtime::make<SBIconModel>();
    return instance;
}

id SBIconModel::applicationIconForDisplayIdentifier(std::string_view identifier)
{
    ShellState& shell = ShellState::shared();
    shell.log("SBIconModel applicationIconForDisplayIdentifier: " + std::string(identifier));
    if (!shell.installedApp(identifier))
        return nullptr;
    return runtime::make<SBApplicationIcon>(std::string(identifier));
}
