#include "springboard/ShellServices.h"

// Out of line, so that each interface's type information lives once, in this library,
// and casts agree between the shell and the bundles it loads.
namespace springboard {

AppSwitcherModel::~AppSwitcherModel() = default;
IconHolder::~IconHolder() = default;
AppSwitcherController::~AppSwitcherController() = default;
ApplicationIcon::~ApplicationIcon() = default;
IconModel::~IconModel() = default;
IconViewMap::~IconViewMap() = default;
BulletinListController::~BulletinListController() = default;

} // namespace springboard
