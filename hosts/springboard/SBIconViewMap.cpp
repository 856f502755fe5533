#include "SBIconViewMap.h"

#include "SBIconModel.h"
#include "ShellState.h"

RVX_DEFINE_CLASS(SBIconViewMap, NSObject,
    cls.addClassMethod("homescreenMap", [](const id&) -> id { return SBIconViewMap::homescreenMap(); });
    cls.addMethod("iconModel", [](NSObject& self, const id&) -> id {
        return static_cast<SBIconViewMap&>(self).iconModel();
    }))

RVX_DEFINE_CLASS(SBIconViewMapWithoutModel, NSObject)

id SBIconViewMap::homescreenMap()
{
    static id withModel = runtime::make<SBIconViewMap>();
    static id withoutModel = runtime::make<SBIconViewMapWithoutModel>();
    ShellState& shell = ShellState::shared();
    shell.log("SBIconViewMap homescreenMap");
    return shell.homescreenMapHasIconModel() ? withModel : withoutModel;
}

std::shared_ptr<springboard::IconModel> SBIconViewMap::iconModel()
{
    ShellState::shared().log("SBIconViewMap iconModel");
    return SBIconModel::sharedInstance();
}
