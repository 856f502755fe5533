#pragma once

// The presentation side of view animations: a property moving from one value to
// another over a span of the main run loop's clock, and the animation block that
// setters consult to know whether they animate.

#include "graphics/CGGeometry.h"

#include <functional>
#include <optional>

namespace view_animation {

struct Span {
    double start = 0;
    double duration = 0;
};

// The span of the innermost animation block being run, if any.
std::optional<Span> currentBlock();
// Runs `animations` as one block starting now on the main run loop's clock.
void runBlock(double duration, const std::function<void()>& animations);
double now();
// The platform's default curve, ease in and out, for progress 0..1.
double easeInOut(double progress);

inline CGFloat mix(CGFloat from, CGFloat to, double t) { return CGFloat(from + (to - from) * t); }
inline CGRect mix(CGRect from, CGRect to, double t)
{
    return CGRectMake(mix(from.origin.x, to.origin.x, t), mix(from.origin.y, to.origin.y, t),
        mix(from.size.width, to.size.width, t), mix(from.size.height, to.size.height, t));
}

} // namespace view_animation

template<typename T>
struct PropertyAnimation {
    T from;
    T to;
    view_animation::Span span;

    bool isFinished(double now) const { return span.duration <= 0 || now >= span.start + span.duration; }
    T valueAt(double now) const
    {
        if (isFinished(now))
            return to;
        double progress = now <= span.start ? 0 : (now - span.start) / span.duration;
        return view_animation::mix(from, to, view_animation::easeInOut(progress));
    }
};
