#include "ui/UIControl.h"

#include "ui/UITouch.h"

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UIControl, UIView)

void UIControl::addTarget(const id& target, std::string action, uint32_t events)
{
    if (!action.empty() && events)
        _actions.add(target, std::move(action), events);
}

void UIControl::removeTarget(const id& target, std::string_view action, uint32_t events)
{
    _actions.remove(target, action, events);
}

std::vector<std::string> UIControl::actionsForTarget(const id& target, uint32_t event) const
{
    return _actions.actionsForTarget(target, event);
}

void UIControl::sendActionsForControlEvents(uint32_t events)
{
    _actions.send(events, *this);
}

void UIControl::setStateBit(unsigned bit, bool on)
{
    unsigned state = on ? (_state | bit) : (_state & ~bit);
    if (state == _state)
        return;
    _state = state;
    stateDidChange();
}

bool UIControl::isWithinTrackingBounds(const UITouchSet& touches) const
{
    if (touches.empty())
        return false;
    CGRect grown = CGRectInset(bounds(), -kTrackingSlop, -kTrackingSlop);
    return CGRectContainsPoint(grown, touches.front()->locationInView(this));
}

void UIControl::touchesBegan(const UITouchSet& touches, const UIEventRef&)
{
    if (!isEnabled() || touches.empty())
        return;
    id keep = self(); // an action may remove the control from its tree
    _tracking = true;
    _touchInside = true;
    setHighlighted(true);
    uint32_t events = UIControlEventTouchDown;
    if (touches.front()->tapCount() > 1)
        events |= UIControlEventTouchDownRepeat;
    sendActionsForControlEvents(events);
}

void UIControl::touchesMoved(const UITouchSet& touches, const UIEventRef&)
{
    if (!_tracking)
        return;
    id keep = self();
    bool inside = isWithinTrackingBounds(touches);
    bool wasInside = _touchInside;
    _touchInside = inside;
    setHighlighted(inside);
    if (inside != wasInside)
        sendActionsForControlEvents(inside ? UIControlEventTouchDragEnter : UIControlEventTouchDragExit);
    sendActionsForControlEvents(inside ? UIControlEventTouchDragInside : UIControlEventTouchDragOutside);
}

void UIControl::touchesEnded(const UITouchSet& touches, const UIEventRef&)
{
    if (!_tracking)
        return;
    id keep = self();
    bool inside = isWithinTrackingBounds(touches);
    _tracking = false;
    _touchInside = false;
    setHighlighted(false);
    sendActionsForControlEvents(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelled(const UITouchSet&, const UIEventRef&)
{
    if (!_tracking)
        return;
    id keep = self();
    _tracking = false;
    _touchInside = false;
    setHighlighted(false);
    sendActionsForControlEvents(UIControlEventTouchCancel);
}

void UIControl::describe(json::Value& fields) const
{
    UIView::describe(fields);
    fields["enabled"] = isEnabled();
    fields["selected"] = isSelected();
    fields["highlighted"] = isHighlighted();
}
