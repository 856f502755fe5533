#pragma once

// Synthetic touches: a touch made from a point, and a touch event made from a touch,
// through the platform's private touch fields and its event-record initialiser.

#include "graphics/CGGeometry.h"
#include "ui/UIEvent.h"
#include "ui/UITouch.h"

namespace UITouch_SynthesizeRVXPro {

// A touch that began at `point` (window coordinates) on the view of `view`'s window under
// that point; nothing when the receiver is nothing.
UITouchRef initWithPoint(UITouchRef touch, CGPoint point, const UIViewRef& view);
void changeToPhase(const UITouchRef& touch, int phase);

} // namespace UITouch_SynthesizeRVXPro

namespace UIEvent_SynthesizeRVXPro {

// Discards the receiver and answers a touch event for `touch` alone.
std::shared_ptr<UITouchesEvent> initWithTouch(UIEventRef event, const UITouchRef& touch);

} // namespace UIEvent_SynthesizeRVXPro
