#include "ui/UISlider.h"

#include "ui/Finger.h"
#include "ui/UIGraphics.h"
#include "ui/UITouch.h"
#include "ui/UIWindow.h"

#include <algorithm>

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UISlider, UIControl)

UISlider::UISlider(CGRect frame)
    : UIControl(frame)
{
}

float UISlider::clamp(float value) const
{
    if (!(value >= _minimumValue)) // NaN too
        return _minimumValue;
    return std::min(value, _maximumValue);
}

void UISlider::setValue(float value, bool)
{
    float clamped = clamp(value);
    if (clamped == _value)
        return;
    _value = clamped;
    setNeedsDisplay();
}

void UISlider::setMinimumValue(float minimum)
{
    _minimumValue = minimum;
    if (_maximumValue < minimum)
        _maximumValue = minimum;
    _value = clamp(_value);
    setNeedsDisplay();
}

void UISlider::setMaximumValue(float maximum)
{
    _maximumValue = maximum;
    if (_minimumValue > maximum)
        _minimumValue = maximum;
    _value = clamp(_value);
    setNeedsDisplay();
}

CGFloat UISlider::trackLength() const
{
    return std::max<CGFloat>(0, bounds().size.width - kThumbSize);
}

CGPoint UISlider::thumbCenterForValue(float value) const
{
    float range = _maximumValue - _minimumValue;
    double fraction = range > 0 ? (double(clamp(value)) - _minimumValue) / range : 0;
    return {CGFloat(kThumbSize / 2 + fraction * trackLength()), bounds().size.height / 2};
}

void UISlider::touchesBegan(const UITouchSet& touches, const UIEventRef& event)
{
    if (touches.empty() || !isEnabled())
        return;
    _valueAtGrab = _value;
    _grabX = touches.front()->locationInView(this).x;
    _changedDuringTouch = false;
    UIControl::touchesBegan(touches, event);
}

void UISlider::followTouch(const UITouchSet& touches)
{
    if (!isTracking() || touches.empty())
        return;
    CGFloat length = trackLength();
    if (length <= 0)
        return;
    double moved = touches.front()->locationInView(this).x - _grabX;
    double value = _valueAtGrab + moved / length * (double(_maximumValue) - _minimumValue);
    float next = clamp(float(value));
    if (next == _value)
        return;
    _value = next;
    _changedDuringTouch = true;
    setNeedsDisplay();
    if (_continuous)
        sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISlider::touchesMoved(const UITouchSet& touches, const UIEventRef& event)
{
    id keep = self();
    followTouch(touches);
    UIControl::touchesMoved(touches, event);
}

void UISlider::touchesEnded(const UITouchSet& touches, const UIEventRef& event)
{
    id keep = self();
    if (!isTracking())
        return;
    if (!_continuous && _changedDuringTouch)
        sendActionsForControlEvents(UIControlEventValueChanged);
    UIControl::touchesEnded(touches, event);
}

void UISlider::dragTo(float value, int steps, CGFloat liftOffsetY)
{
    id keep = self();
    steps = std::max(1, steps);
    CGPoint start = thumbCenterForValue(_value);
    CGPoint end = thumbCenterForValue(value);
    auto toWindow = [this](CGPoint point) { return convertPointToView(point, nullptr); };
    Finger finger(selfAs<UIView>(), toWindow(start));
    finger.down();
    for (int step = 1; step <= steps; ++step) {
        double t = double(step) / steps;
        CGPoint point {CGFloat(start.x + (end.x - start.x) * t), start.y + (step == steps ? liftOffsetY : 0)};
        finger.moveTo(toWindow(point));
    }
    finger.lift();
}

void UISlider::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    Painter& painter = context->painter();
    CGFloat mid = bounds().size.height / 2;
    CGPoint thumb = thumbCenterForValue(_value);
    CGFloat left = kThumbSize / 2;
    CGFloat right = left + trackLength();
    painter.fillRoundedRect(CGRectMake(left, mid - 4.5, thumb.x - left, 9), 4.5, {0.16f, 0.45f, 0.9f, 1});
    painter.fillRoundedRect(CGRectMake(thumb.x, mid - 4.5, right - thumb.x, 9), 4.5, {0.9f, 0.9f, 0.9f, 1});
    CGRect knob = CGRectMake(thumb.x - kThumbSize / 2, mid - kThumbSize / 2, kThumbSize, kThumbSize);
    painter.fillRoundedRect(knob, kThumbSize / 2, {0.98f, 0.98f, 0.98f, 1});
    painter.strokeInside(knob, kThumbSize / 2, 1, {0.55f, 0.55f, 0.55f, 1});
}

void UISlider::describe(json::Value& fields) const
{
    UIControl::describe(fields);
    fields["value"] = json::readable(_value);
    fields["minimumValue"] = json::readable(_minimumValue);
    fields["maximumValue"] = json::readable(_maximumValue);
}
