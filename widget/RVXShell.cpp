#include "RVXShell.h"

#include "ui/UIApplication.h"

namespace RVXShell {

namespace {

id classMessage(std::string_view className, SEL selector)
{
    const Class* cls = objc_getClass(className);
    return cls ? cls->performSelector(selector) : nullptr;
}

template<typename T>
std::shared_ptr<T> sharedInstance(std::string_view className)
{
    return std::dynamic_pointer_cast<T>(classMessage(className, "sharedInstance"));
}

} // namespace

std::shared_ptr<springboard::AppSwitcherModel> switcherModel()
{
    return sharedInstance<springboard::AppSwitcherModel>("SBAppSwitcherModel");
}

std::shared_ptr<springboard::AppSwitcherController> switcherController()
{
    return sharedInstance<springboard::AppSwitcherController>("SBAppSwitcherController");
}

std::shared_ptr<springboard::IconModel> iconModel()
{
    id map = classMessage("SBIconViewMap", "homescreenMap");
    if (map && map->respondsToSelector("iconModel"))
        return std::dynamic_pointer_cast<springboard::IconModel>(map->performSelector("iconModel"));
    return sharedInstance<springboard::IconModel>("SBIconModel");
}

std::shared_ptr<springboard::BulletinListController> bulletinListController()
{
    return sharedInstance<springboard::BulletinListController>("SBBulletinListController");
}

std::optional<std::string> frontMostApplicationIdentifier()
{
    auto front = UIApplication::sharedApplication()->_accessibilityFrontMostApplication();
    if (!front)
        return std::nullopt;
    return front->bundleIdentifier();
}

} // namespace RVXShell
