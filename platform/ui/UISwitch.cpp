#include "ui/UISwitch.h"

#include "graphics/CairoPtr.h"
#include "ui/TextLayout.h"
#include "ui/UIFont.h"
#include "ui/UIGraphics.h"
#include "ui/UITouch.h"

#include <nlohmann/json.hpp>

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
    cairo_t* cr = painter.cairo();
    CGRect box = bounds();
    CGFloat radius = box.size.height / 2;
    auto saved = painter.save();
    painter.clipToRoundedRect(box, radius);
    // The track: blue with "ON" at the left when on, light grey with "OFF" at the right when off.
    CairoPatternPtr track(cairo_pattern_create_linear(0, 0, 0, box.size.height));
    if (_on) {
        cairo_pattern_add_color_stop_rgb(track.get(), 0, 0.0, 0.38, 0.82);
        cairo_pattern_add_color_stop_rgb(track.get(), 1, 0.2, 0.6, 0.98);
    } else {
        cairo_pattern_add_color_stop_rgb(track.get(), 0, 0.86, 0.86, 0.86);
        cairo_pattern_add_color_stop_rgb(track.get(), 1, 0.99, 0.99, 0.99);
    }
    cairo_rectangle(cr, 0, 0, box.size.width, box.size.height);
    cairo_set_source(cr, track.get());
    cairo_fill(cr);
    CGFloat knob = box.size.height;
    CGRect side = _on ? CGRectMake(0, 0, box.size.width - knob + 4, box.size.height)
                      : CGRectMake(knob - 4, 0, box.size.width - knob + 4, box.size.height);
    TextLayout word(_on ? "ON" : "OFF", *UIFont::boldSystemFontOfSize(17),
        {side.size.width, 0, 1, UILineBreakModeClip, UITextAlignmentCenter});
    side.origin.y = (box.size.height - word.size().height) / 2;
    if (_on)
        word.draw(painter, side, {1, 1, 1, 1}, TextShadow {{0, 0, 0, 0.35f}, {0, -1}});
    else
        word.draw(painter, side, {0.5f, 0.5f, 0.5f, 1});
    painter.strokeInside(box, radius, 1, {0.45f, 0.45f, 0.45f, 1});
    // The knob: a lit white circle resting on the side it is switched to.
    CGRect thumb = CGRectMake(_on ? box.size.width - knob : 0, 0, knob, knob);
    CairoPatternPtr shine(cairo_pattern_create_linear(0, 0, 0, knob));
    cairo_pattern_add_color_stop_rgb(shine.get(), 0, 0.8, 0.8, 0.8);
    cairo_pattern_add_color_stop_rgb(shine.get(), 1, 0.99, 0.99, 0.99);
    cairo_new_path(cr);
    cairo_arc(cr, CGRectGetMidX(thumb), CGRectGetMidY(thumb), knob / 2 - 0.5, 0, 2 * M_PI);
    cairo_set_source(cr, shine.get());
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.5, 0.5, 0.5, 1);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void UISwitch::describe(json::Value& fields) const
{
    UIControl::describe(fields);
    fields["on"] = _on;
}
