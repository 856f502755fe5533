#include "ui/UISwitch.h"

#include "ui/UIGraphics.h"
#include "ui/UITouch.h"

RVX_DEFINE_CLASS(UISwitch, UIControl)

UISwitch::UISwitch(CGRect frame)
    : UIControl(CGRectMake(frame.origin.x, frame.origin.y, kWidth, kHeight))
{
}

void UISwitch::setOn(bool on, bool)
{
    if (on == _on)
        return;
    _on = on;
    setNeedsDisplay();
}

void UISwitch::touchesEnded(const UITouchSet& touches, const UIEventRef& event)
{
    id keep = self();
    bool tracked = isTracking();
    bool inside = tracked && !touches.empty()
        && CGRectContainsPoint(CGRectInset(bounds(), -kTrackingSlop, -kTrackingSlop), touches.front()->locationInView(this));
    if (inside) {
        setOn(!_on, true);
        sendActionsForControlEvents(UIControlEventValueChanged);
    }
    UIControl::touchesEnded(touches, event);
}

void UISwitch::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    Painter& painter = context->painter();
    CGRect box = bounds();
    CGFloat radius = box.size.height / 2;
    painter.fillRoundedRect(box, radius, _on ? RGBA {0.0f, 0.5f, 0.92f, 1} : RGBA {0.93f, 0.93f, 0.93f, 1});
    painter.strokeInside(box, radius, 1, {0.6f, 0.6f, 0.6f, 1});
    CGFloat knob = box.size.height;
    CGRect thumb = CGRectMake(_on ? box.size.width - knob : 0, 0, knob, knob);
    painter.fillRoundedRect(thumb, knob / 2, {1, 1, 1, 1});
    painter.strokeInside(thumb, knob / 2, 1, {0.55f, 0.55f, 0.55f, 1});
}

void UISwitch::describe(JsonWriter& json) const
{
    UIControl::describe(json);
    json.field("on", _on);
}
