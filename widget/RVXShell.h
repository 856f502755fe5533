#pragma once

// The home-screen shell's services the widget calls, found by class name as on the phone.
// Each answers nothing when the shell does not provide the class, and a message to nothing
// does nothing.

#include "springboard/ShellServices.h"

#include <memory>
#include <optional>
#include <string>

namespace RVXShell {

std::shared_ptr<springboard::AppSwitcherModel> switcherModel();
std::shared_ptr<springboard::AppSwitcherController> switcherController();
// The home-screen map's icon model when the map has one, else the shared icon model.
std::shared_ptr<springboard::IconModel> iconModel();
std::shared_ptr<springboard::BulletinListController> bulletinListController();
// The bundle identifier of the app in front; nothing on the home screen.
std::optional<std::string> frontMostApplicationIdentifier();

} // namespace RVXShell
