#pragma once

// Target-action by selector name, filtered by a bit mask of events.

#include "runtime/NSObject.h"

#include <cstdint>

class TargetActionList {
public:
    using Mask = uint32_t;

    // Adds a pair for the events of `mask`; a pair already present gains the events.
    void add(const id& target, std::string action, Mask mask);
    // Removes the events of `mask` from the pairs that match; an empty action matches
    // every action of the target, and no target matches every target.
    void remove(const id& target, std::string_view action, Mask mask);

    // Sends every action registered for any event of `mask` to its target, with the
    // sender as argument, in the order they were added. Actions added or removed by a
    // callback take effect at the next send.
    void send(Mask mask, NSObject& sender) const;

    std::vector<std::string> actionsForTarget(const id& target, Mask mask) const;
    Mask allEvents() const;
    bool empty() const { return _entries.empty(); }

private:
    struct Entry {
        std::weak_ptr<NSObject> target;
        bool hasTarget;
        std::string action;
        Mask mask;
    };
    std::vector<Entry> _entries;
};
