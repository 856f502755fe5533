#include "RuvexProController.h"

#include "RVXExports.h"
#include "WidgetSettings.h"

#include "ui/UIView.h"

float VIEW_HEIGHT = 0;

RVX_DEFINE_CLASS(RuvexProController, springboard::BBWeeAppController,
    springboard::BBWeeAppController::answerSelectors(cls, {
        "loadPlaceholderView", "loadFullView", "viewHeight", "viewDidAppear", "viewDidDisappear",
        "unloadView", "launchURLForTapLocation:" });
    cls.addMethod("view", runtime::method(&RuvexProController::view));
    cls.addMethod("kill", runtime::method(&RuvexProController::kill));
    cls.addMethod("info", runtime::method(&RuvexProController::info)))

namespace {

// Kept for the life of the process, and never destroyed: the controller's views must not
// be torn down while the process exits and the libraries under them go away.
std::shared_ptr<RuvexProController>& record()
{
    static auto* controller = new std::shared_ptr<RuvexProController>();
    return *controller;
}

} // namespace

extern "C" void VEVChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    if (auto controller = record())
        controller->reload();
}

std::shared_ptr<RuvexProController> RuvexProController::controllerOfRecord()
{
    return record();
}

RuvexProController::~RuvexProController()
{
    _info = nullptr;
    but = nullptr;
    _backgroundView = nullptr;
    _view = nullptr;
}

float RuvexProController::viewHeight()
{
    VIEW_HEIGHT = WidgetSettings::height(RVXSettings::read());
    return VIEW_HEIGHT;
}

// The Notification Center places widgets in views whose class names carry "Icon"; any other
// host is not ours to follow. No superview passes.
bool RuvexProController::passesIconGate() const
{
    UIViewRef superview = _view ? _view->superview() : nullptr;
    std::string name = superview ? superview->className() : std::string();
    return superview == nullptr || name.find("Icon") != std::string::npos;
}

void RuvexProController::viewDidAppear()
{
    if (!passesIconGate())
        return;
    record() = selfAs<RuvexProController>();
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, VEVChanged,
        RVXSettings::notificationName, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
}

void RuvexProController::viewDidDisappear()
{
    if (RVXSettings::valueFor(RVXSettings::read(), RVXSettings::Keys::CloseOnDisappear))
        performSelector("kill");
}

void RuvexProController::unloadView()
{
    _view = nullptr;
    _backgroundView = nullptr;
    but = nullptr;
    _info = nullptr;
}
