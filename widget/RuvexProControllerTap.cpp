// A tap from the host becomes a touch that began and ended at its point, delivered to the
// view the window's hit test finds there; that view (a button) decides what the tap means.

#include "RuvexProController.h"

#include "SynthesizeRVXPro.h"

#include "ui/UIWindow.h"

id RuvexProController::launchURLForTapLocation(CGPoint point)
{
    id keep = self();
    if (!_view)
        return nullptr;
    CGPoint inWindow = _view->convertPoint(point, _view->window());
    UITouchRef touch = UITouch_SynthesizeRVXPro::initWithPoint(std::make_shared<UITouch>(), inWindow, _view);
    if (!touch)
        return nullptr;
    // Held across both messages: the action may take the view out of the tree.
    UIViewRef target = touch->view();
    auto began = UIEvent_SynthesizeRVXPro::initWithTouch(std::make_shared<UIEvent>(), touch);
    if (target)
        target->touchesBegan(began->allTouches(), began);
    touch->setPhase(UITouchPhaseEnded);
    auto ended = UIEvent_SynthesizeRVXPro::initWithTouch(std::make_shared<UIEvent>(), touch);
    if (target)
        target->touchesEnded(ended->allTouches(), ended);
    return nullptr;
}
