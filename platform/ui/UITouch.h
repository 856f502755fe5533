#pragma once

// A finger on the screen. The underscore fields are the platform's private ones; code that
// synthesises touches writes them directly, so they are public here by necessity.

#include "graphics/CGGeometry.h"
#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <cstdint>

enum UITouchPhase : int {
    UITouchPhaseBegan = 0,
    UITouchPhaseMoved = 1,
    UITouchPhaseStationary = 2,
    UITouchPhaseEnded = 3,
    UITouchPhaseCancelled = 4,
};

struct UITouchFlags {
    uint8_t firstByte = 0; // bit 0: first touch for the view, bit 1: the view is multi-touch capable
    uint8_t more[3] = {};
};

class UITouch : public NSObject {
    RVX_OBJECT(UITouch)
public:
    int _tapCount = 0;
    CGPoint _locationInWindow {};
    CGPoint _previousLocationInWindow {};
    UIViewRef _view;
    UIWindowRef _window;
    int _phase = UITouchPhaseBegan;
    UITouchFlags _touchFlags;
    double _timestamp = 0;

    int tapCount() const { return _tapCount; }
    const UIViewRef& view() const { return _view; }
    const UIWindowRef& window() const { return _window; }
    int phase() const { return _phase; }
    void setPhase(int phase) { _phase = phase; }
    double timestamp() const { return _timestamp; }

    // The location converted from the window into `view`'s coordinates; no view answers
    // the window's coordinates.
    CGPoint locationInView(const UIView* view) const;
    CGPoint locationInView(const UIViewRef& view) const { return locationInView(view.get()); }
    CGPoint previousLocationInView(const UIView* view) const;
    CGPoint previousLocationInView(const UIViewRef& view) const { return previousLocationInView(view.get()); }
};
