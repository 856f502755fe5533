#include "ui/Finger.h"

#include "ui/UIEvent.h"
#include "ui/UITouch.h"
#include "ui/UIWindow.h"

Finger::Finger(const UIWindowRef& window, CGPoint pointInWindow)
    : _touch(std::make_shared<UITouch>())
{
    _touch->_tapCount = 1;
    _touch->_locationInWindow = _touch->_previousLocationInWindow = pointInWindow;
    _touch->_window = window;
    if (window)
        _touch->_view = window->hitTest(pointInWindow, nullptr);
}

Finger::Finger(const UIViewRef& view, CGPoint pointInWindow)
    : _touch(std::make_shared<UITouch>())
{
    _touch->_tapCount = 1;
    _touch->_locationInWindow = _touch->_previousLocationInWindow = pointInWindow;
    _touch->_view = view;
    if (view)
        _touch->_window = view->window();
}

const UIViewRef& Finger::view() const
{
    return _touch->_view;
}

void Finger::setTapCount(int count)
{
    _touch->_tapCount = count;
}

void Finger::send(int phase)
{
    // The touch holds its view, so the view stays alive across its own callbacks even if
    // one of them takes it out of the tree.
    UIViewRef view = _touch->_view;
    _touch->setPhase(phase);
    UITouchSet touches {_touch};
    UIEventRef event = UITouchesEvent::_initWithEvent(nullptr, touches);
    switch (phase) {
    case UITouchPhaseBegan:
        view->touchesBegan(touches, event);
        break;
    case UITouchPhaseMoved:
        view->touchesMoved(touches, event);
        break;
    case UITouchPhaseEnded:
        view->touchesEnded(touches, event);
        break;
    default:
        view->touchesCancelled(touches, event);
        break;
    }
}

bool Finger::down()
{
    if (_state != State::Ready || !_touch->_view)
        return false;
    _state = State::Down;
    send(UITouchPhaseBegan);
    return true;
}

void Finger::moveTo(CGPoint pointInWindow)
{
    if (_state != State::Down)
        return;
    _touch->_previousLocationInWindow = _touch->_locationInWindow;
    _touch->_locationInWindow = pointInWindow;
    send(UITouchPhaseMoved);
}

void Finger::moveAlong(CGPoint pointInWindow, int steps)
{
    CGPoint from = _touch->_locationInWindow;
    for (int step = 1; step <= steps; ++step) {
        double along = double(step) / steps;
        moveTo({CGFloat(from.x + (pointInWindow.x - from.x) * along), CGFloat(from.y + (pointInWindow.y - from.y) * along)});
    }
}

void Finger::lift()
{
    if (_state != State::Down)
        return;
    _state = State::Up;
    send(UITouchPhaseEnded);
}

void Finger::liftAt(CGPoint pointInWindow)
{
    if (_state != State::Down)
        return;
    _touch->_previousLocationInWindow = _touch->_locationInWindow;
    _touch->_locationInWindow = pointInWindow;
    lift();
}

void Finger::cancel()
{
    if (_state != State::Down)
        return;
    _state = State::Up;
    send(UITouchPhaseCancelled);
}
