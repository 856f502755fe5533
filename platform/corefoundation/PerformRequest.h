#pragma once

// performSelector:withObject:afterDelay: and cancelPreviousPerformRequestsWithTarget:,
// as one-shot timers on the main run loop.

#include "runtime/NSObject.h"

#include <string>

// Sends `selector` with `argument` to `target` after `delay` seconds, on the main run
// loop. A delay of 0 still waits for the next turn. Target and argument are kept alive
// until the request fires or is cancelled. A nil target schedules nothing.
void performSelectorAfterDelay(id target, std::string selector, id argument, double delay);

// Cancels every pending request of `target`.
void cancelPreviousPerformRequests(const id& target);
// Cancels the pending requests of `target` with this selector and this argument.
void cancelPreviousPerformRequests(const id& target, std::string_view selector, const id& argument);

// The number of requests still waiting, for every target.
size_t pendingPerformRequestCount();
