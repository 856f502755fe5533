#include "springboard/BBWeeAppController.h"

#include "foundation/PlistValue.h"

#include <cstdio>
#include <functional>
#include <string>

namespace springboard {

namespace {

using Call = void (BBWeeAppController::*)();

IMP forward(Call call)
{
    return [call](NSObject& self, const id&) -> id {
        (static_cast<BBWeeAppController&>(self).*call)();
        return nullptr;
    };
}

IMP methodForSelector(std::string_view selector)
{
    if (selector == "loadPlaceholderView") return forward(&BBWeeAppController::loadPlaceholderView);
    if (selector == "loadFullView") return forward(&BBWeeAppController::loadFullView);
    if (selector == "loadView") return forward(&BBWeeAppController::loadView);
    if (selector == "unloadView") return forward(&BBWeeAppController::unloadView);
    if (selector == "viewWillAppear") return forward(&BBWeeAppController::viewWillAppear);
    if (selector == "viewDidAppear") return forward(&BBWeeAppController::viewDidAppear);
    if (selector == "viewWillDisappear") return forward(&BBWeeAppController::viewWillDisappear);
    if (selector == "viewDidDisappear") return forward(&BBWeeAppController::viewDidDisappear);
    if (selector == "viewHeight") {
        return [](NSObject& self, const id&) -> id {
            const PlistValue height(double(static_cast<BBWeeAppController&>(self).viewHeight()));
            return std::make_shared<PlistObject>(height);
        };
    }
    if (selector == "launchURLForTapLocation:") {
        return [](NSObject& self, const id& argument) -> id {
            auto location = std::dynamic_pointer_cast<TapLocation>(argument);
            CGPoint point = location ? location->point() : CGPoint {};
            return static_cast<BBWeeAppController&>(self).launchURLForTapLocation(point);
        };
    }
    return nullptr;
}

} // namespace

void BBWeeAppController::answerSelectors(Class& cls, std::initializer_list<std::string_view> selectors)
{
    for (std::string_view selector : selectors) {
        IMP imp = methodForSelector(selector);
        if (!imp) {
            std::fprintf(stderr, "%s: \"%.*s\" is not an optional selector of BBWeeAppController\n",
                cls.name().c_str(), int(selector.size()), selector.data());
            continue;
        }
        cls.addMethod(std::string(selector), std::move(imp));
    }
}

} // namespace springboard

// Out of line, so that the class's type information lives once, here, and a widget
// loaded from a bundle casts to the same type the host asks for.
springboard::BBWeeAppController::~BBWeeAppController() = default;
