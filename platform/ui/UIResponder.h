#pragma once

// The responder chain: touches a responder does not handle go on to the next one.

#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

class UIResponder;
using UIResponderRef = std::shared_ptr<UIResponder>;

class UIResponder : public NSObject {
    RVX_OBJECT(UIResponder)
public:
    virtual UIResponderRef nextResponder() const { return nullptr; }

    // By default each passes the touches on to the next responder.
    virtual void touchesBegan(const UITouchSet& touches, const UIEventRef& event);
    virtual void touchesMoved(const UITouchSet& touches, const UIEventRef& event);
    virtual void touchesEnded(const UITouchSet& touches, const UIEventRef& event);
    virtual void touchesCancelled(const UITouchSet& touches, const UIEventRef& event);
};
