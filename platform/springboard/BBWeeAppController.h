#pragma once

// The Notification Center's widget protocol. A widget's principal class derives from
// BBWeeAppController and overrides what it implements; `view` is required, the rest is
// optional. The host calls an optional operation only when the controller's class answers
// respondsToSelector for its selector, so a widget registers the selectors it implements
// with answerSelectors inside its RVX_DEFINE_CLASS block:
//
//     RVX_DEFINE_CLASS(MyController, springboard::BBWeeAppController,
//         springboard::BBWeeAppController::answerSelectors(cls, {"loadFullView", "viewHeight"}))

#include "graphics/CGGeometry.h"
#include "runtime/NSObject.h"

#include <initializer_list>
#include <memory>
#include <string_view>

class UIView;

namespace springboard {

class BBWeeAppController : public NSObject {
public:
    ~BBWeeAppController() override;

    virtual std::shared_ptr<UIView> view() = 0;

    virtual void loadPlaceholderView() { }
    virtual void loadFullView() { }
    virtual void loadView() { }
    virtual void unloadView() { }
    virtual float viewHeight() { return 0; }
    virtual void viewWillAppear() { }
    virtual void viewDidAppear() { }
    virtual void viewWillDisappear() { }
    virtual void viewDidDisappear() { }
    // A tap at a point in the root view's coordinates; answers an NSURL to open, or nothing.
    virtual id launchURLForTapLocation(CGPoint point) { return nullptr; }

    // The optional selectors, by the names the host asks for.
    static constexpr std::string_view optionalSelectors[] = {
        "loadPlaceholderView", "loadFullView", "loadView", "unloadView", "viewHeight",
        "viewWillAppear", "viewDidAppear", "viewWillDisappear", "viewDidDisappear",
        "launchURLForTapLocation:",
    };

    // Registers the named optional selectors on a controller class, each forwarding to the
    // member function above, so that performSelector reaches them too ("viewHeight" answers
    // a PlistObject holding the real; "launchURLForTapLocation:" takes a TapLocation).
    // A name that is not an optional selector of the protocol is reported and skipped.
    static void answerSelectors(Class& cls, std::initializer_list<std::string_view> selectors);
};

// A tap point as an object, the argument of "launchURLForTapLocation:" sent by name.
class TapLocation : public NSObject {
public:
    explicit TapLocation(CGPoint point) : _point(point) { }
    CGPoint point() const { return _point; }

private:
    CGPoint _point;
};

} // namespace springboard
