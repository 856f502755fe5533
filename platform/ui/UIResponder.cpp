#include "ui/UIResponder.h"

RVX_DEFINE_CLASS(UIResponder, NSObject)

void UIResponder::touchesBegan(const UITouchSet& touches, const UIEventRef& event)
{
    if (UIResponderRef next = nextResponder())
        next->touchesBegan(touches, event);
}

void UIResponder::touchesMoved(const UITouchSet& touches, const UIEventRef& event)
{
    if (UIResponderRef next = nextResponder())
        next->touchesMoved(touches, event);
}

void UIResponder::touchesEnded(const UITouchSet& touches, const UIEventRef& event)
{
    if (UIResponderRef next = nextResponder())
        next->touchesEnded(touches, event);
}

void UIResponder::touchesCancelled(const UITouchSet& touches, const UIEventRef& event)
{
    if (UIResponderRef next = nextResponder())
        next->touchesCancelled(touches, event);
}
