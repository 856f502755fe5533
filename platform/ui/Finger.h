#pragma once

// A scripted finger: the one way this tree makes a touch of its own (the sliders' drags, the
// Settings app's touches, the tests). It goes down on the deepest view the window hit-tests
// at a point, or on a view it is given, and every later phase goes to that view, as a real
// touch's do, wherever the finger has moved.
//
//   state | down()          | moveTo()     | lift(), liftAt() | cancel()
//   ------+-----------------+--------------+------------------+-----------------
//   ready | began -> down   | not sent     | not sent         | not sent
//   down  | not sent        | moved        | ended -> up      | cancelled -> up
//   up    | not sent        | not sent     | not sent         | not sent
//
// A finger bound to no view (nothing under the point) sends nothing, and down() says so.

#include "graphics/CGGeometry.h"
#include "ui/UIKitTypes.h"

class Finger {
public:
    // Over the deepest view `window` hit-tests at `pointInWindow`; a tap (tap count 1).
    Finger(const UIWindowRef& window, CGPoint pointInWindow);
    // Over `view` whatever lies above it; `pointInWindow` is in its window's coordinates.
    Finger(const UIViewRef& view, CGPoint pointInWindow);

    const UITouchRef& touch() const { return _touch; }
    const UIViewRef& view() const;
    bool isDown() const { return _state == State::Down; }

    // The tap count the touch reports: 1 for a tap (the default), 0 for a drag.
    void setTapCount(int count);

    // False when no view is under the finger or it has been down already.
    bool down();
    void moveTo(CGPoint pointInWindow);
    // `steps` even moves from where the finger is to `pointInWindow`; none with no steps.
    void moveAlong(CGPoint pointInWindow, int steps);
    void lift();
    // Lifted at another point with no move sent between, as a quick finger can be.
    void liftAt(CGPoint pointInWindow);
    void cancel();

private:
    enum class State { Ready, Down, Up };
    void send(int phase);

    UITouchRef _touch;
    State _state = State::Ready;
};
