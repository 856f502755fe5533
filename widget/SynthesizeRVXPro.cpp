#include "SynthesizeRVXPro.h"

#include "SCEventProxy.h"

#include "foundation/PlistValue.h"
#include "ui/UIWindow.h"

namespace UITouch_SynthesizeRVXPro {

UITouchRef initWithPoint(UITouchRef touch, CGPoint point, const UIViewRef& view)
{
    if (!touch)
        return nullptr;
    touch->_tapCount = 1;
    touch->_locationInWindow = point;
    touch->_previousLocationInWindow = point;
    UIWindowRef window = view ? view->window() : nullptr;
    touch->_view = window ? window->hitTest(point, nullptr) : nullptr;
    touch->_window = window;
    touch->_phase = UITouchPhaseBegan;
    touch->_touchFlags.firstByte |= 0x03;
    touch->_timestamp = NSDate::date().timeIntervalSinceReferenceDate();
    return touch;
}

void changeToPhase(const UITouchRef& touch, int phase)
{
    if (!touch)
        return;
    touch->_phase = phase;
    touch->_timestamp = NSDate::date().timeIntervalSinceReferenceDate();
}

} // namespace UITouch_SynthesizeRVXPro

namespace UIEvent_SynthesizeRVXPro {

std::shared_ptr<UITouchesEvent> initWithTouch(UIEventRef event, const UITouchRef& touch)
{
    event.reset();
    if (!touch)
        return UITouchesEvent::_initWithEvent(nullptr, {});
    CGPoint location = touch->locationInView(touch->window());
    auto record = std::make_unique<SCEventProxy>();
    *record = SCEventProxy {};
    record->flags = touch->phase() == UITouchPhaseEnded ? SCEventProxy::kFlagsEnded : SCEventProxy::kFlagsOther;
    record->type = SCEventProxy::kTouchType;
    record->x1 = record->x2 = record->x3 = float(location.x);
    record->y1 = record->y2 = record->y3 = float(location.y);
    record->sizeX = record->sizeY = 1.0f;
    return UITouchesEvent::_initWithEvent(record.get(), { touch });
}

} // namespace UIEvent_SynthesizeRVXPro
