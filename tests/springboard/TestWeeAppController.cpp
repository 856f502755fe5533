// A widget for the host's tests. It records every call it receives, whether or not it
// registered the selector, so that a test sees any call the host should not have made.
// Built twice: TestWeeApp answers every optional selector; MinimalWeeApp (MINIMAL_WEEAPP)
// answers none. The calls are read back by name: performSelector("calls").

#include "springboard/BBWeeAppController.h"

#include "foundation/NSURL.h"
#include "foundation/PlistValue.h"
#include "ui/UIView.h"

#include <cstdio>

#ifdef MINIMAL_WEEAPP
#define TestController MinimalWeeAppController
#else
#define TestController TestWeeAppController
#endif

namespace {

class TestController : public springboard::BBWeeAppController {
    RVX_OBJECT(TestController)
public:
    std::shared_ptr<UIView> view() override
    {
        record("view");
        return _view;
    }

    void loadPlaceholderView() override
    {
        record("loadPlaceholderView");
        _view = std::make_shared<UIView>(CGRectMake(0, 0, 316, 30));
    }
    void loadFullView() override { record("loadFullView"); }
    void unloadView() override
    {
        record("unloadView");
        _view = nullptr;
    }
    float viewHeight() override
    {
        record("viewHeight");
        return 44;
    }
    void viewWillAppear() override { record("viewWillAppear"); }
    void viewDidAppear() override
    {
        auto superview = _view ? _view->superview() : nullptr;
        record("viewDidAppear in " + (superview ? superview->className() : std::string("nothing")));
    }
    void viewWillDisappear() override { record("viewWillDisappear"); }
    void viewDidDisappear() override { record("viewDidDisappear"); }
    id launchURLForTapLocation(CGPoint point) override
    {
        char text[64];
        std::snprintf(text, sizeof text, "launchURLForTapLocation: %g,%g", point.x, point.y);
        record(text);
        // A tap at the left edge asks to open an address; the others open nothing.
        return point.x < 1 ? NSURL::URLWithString("test://left-edge") : nullptr;
    }

    std::shared_ptr<PlistObject> calls()
    {
        const PlistValue list(_calls);
        return std::make_shared<PlistObject>(list);
    }

private:
    void record(std::string call) { _calls.addObject(std::move(call)); }

    std::shared_ptr<UIView> _view;
    NSArray _calls;
};

} // namespace

#ifdef MINIMAL_WEEAPP
RVX_DEFINE_CLASS(MinimalWeeAppController, NSObject,
    cls.addMethod("calls", runtime::method(&MinimalWeeAppController::calls)))
#else
RVX_DEFINE_CLASS(TestWeeAppController, NSObject,
    springboard::BBWeeAppController::answerSelectors(cls, {
        "loadPlaceholderView", "loadFullView", "unloadView", "viewHeight", "viewWillAppear",
        "viewDidAppear", "viewWillDisappear", "viewDidDisappear", "launchURLForTapLocation:" });
    cls.addMethod("calls", runtime::method(&TestWeeAppController::calls)))
#endif
