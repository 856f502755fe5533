#pragma once

// Scripted touches for the UI tests: a touch at a window point, bound to the view it hit.

#include "ui/UIEvent.h"
#include "ui/UITouch.h"
#include "ui/UIWindow.h"

#include <memory>

inline UITouchRef touchAt(const UIWindowRef& window, CGPoint point)
{
    auto touch = std::make_shared<UITouch>();
    touch->_tapCount = 1;
    touch->_locationInWindow = touch->_previousLocationInWindow = point;
    touch->_window = window;
    touch->_view = window->hitTest(point, nullptr);
    return touch;
}

inline UIEventRef eventFor(const UITouchRef& touch)
{
    return UITouchesEvent::_initWithEvent(nullptr, {touch});
}

// Moves the touch and delivers the phase to the view it is bound to.
inline void moveTo(const UITouchRef& touch, CGPoint point)
{
    touch->_previousLocationInWindow = touch->_locationInWindow;
    touch->_locationInWindow = point;
    touch->setPhase(UITouchPhaseMoved);
    if (touch->_view)
        touch->_view->touchesMoved({touch}, eventFor(touch));
}

inline void press(const UITouchRef& touch)
{
    if (touch->_view)
        touch->_view->touchesBegan({touch}, eventFor(touch));
}

inline void release(const UITouchRef& touch)
{
    touch->setPhase(UITouchPhaseEnded);
    if (touch->_view)
        touch->_view->touchesEnded({touch}, eventFor(touch));
}
