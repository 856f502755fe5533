#include "runtime/TargetAction.h"

#include <algorithm>

void TargetActionList::add(const id& target, std::string action, Mask mask)
{
    for (Entry& entry : _entries) {
        if (entry.hasTarget == bool(target) && entry.target.lock() == target && entry.action == action) {
            entry.mask |= mask;
            return;
        }
    }
    _entries.push_back({target, bool(target), std::move(action), mask});
}

void TargetActionList::remove(const id& target, std::string_view action, Mask mask)
{
    for (Entry& entry : _entries) {
        bool targetMatches = !target || entry.target.lock() == target;
        bool actionMatches = action.empty() || entry.action == action;
        if (targetMatches && actionMatches)
            entry.mask &= ~mask;
    }
    std::erase_if(_entries, [](const Entry& entry) { return entry.mask == 0; });
}

void TargetActionList::send(Mask mask, NSObject& sender) const
{
    id keepSender = sender.shared_from_this();
    std::vector<Entry> snapshot = _entries; // a callback may change the list
    for (const Entry& entry : snapshot) {
        if (!(entry.mask & mask))
            continue;
        if (id target = entry.target.lock())
            target->performSelector(entry.action, keepSender);
    }
}

std::vector<std::string> TargetActionList::actionsForTarget(const id& target, Mask mask) const
{
    std::vector<std::string> actions;
    for (const Entry& entry : _entries) {
        if ((entry.mask & mask) && entry.target.lock() == target)
            actions.push_back(entry.action);
    }
    return actions;
}

TargetActionList::Mask TargetActionList::allEvents() const
{
    Mask all = 0;
    for (const Entry& entry : _entries)
        all |= entry.mask;
    return all;
}
