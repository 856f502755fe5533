#include "corefoundation/PerformRequest.h"

#include "corefoundation/CFRunLoop.h"

#include <map>

namespace {

struct PerformRequest {
    id target;
    std::string selector;
    id argument;
};

// Main-thread only, as the run loop that fires the requests.
std::map<RunLoop::TimerId, PerformRequest>& pendingRequests()
{
    static auto* requests = new std::map<RunLoop::TimerId, PerformRequest>;
    return *requests;
}

template<typename Matches>
void cancelMatching(Matches matches)
{
    auto& requests = pendingRequests();
    for (auto it = requests.begin(); it != requests.end();) {
        if (matches(it->second)) {
            RunLoop::main().cancelTimer(it->first);
            it = requests.erase(it);
        } else {
            ++it;
        }
    }
}

} // namespace

void performSelectorAfterDelay(id target, std::string selector, id argument, double delay)
{
    if (!target)
        return;
    auto timer = std::make_shared<RunLoop::TimerId>(0);
    *timer = RunLoop::main().addTimer(delay, [timer] {
        auto& requests = pendingRequests();
        auto it = requests.find(*timer);
        if (it == requests.end())
            return;
        // Taken out first: the selector may schedule or cancel requests of its own.
        PerformRequest request = std::move(it->second);
        requests.erase(it);
        request.target->performSelector(request.selector, request.argument);
    });
    pendingRequests().emplace(*timer, PerformRequest { std::move(target), std::move(selector), std::move(argument) });
}

void cancelPreviousPerformRequests(const id& target)
{
    cancelMatching([&](const PerformRequest& request) { return request.target == target; });
}

void cancelPreviousPerformRequests(const id& target, std::string_view selector, const id& argument)
{
    cancelMatching([&](const PerformRequest& request) {
        return request.target == target && request.selector == selector && request.argument == argument;
    });
}

size_t pendingPerformRequestCount()
{
    return pendingRequests().size();
}
