#include "ui/UITouch.h"

#include "ui/UIWindow.h"

RVX_DEFINE_CLASS(UITouch, NSObject)

CGPoint UITouch::locationInView(const UIView* view) const
{
    return view ? view->convertPointFromView(_locationInWindow, _window.get()) : _locationInWindow;
}

CGPoint UITouch::previousLocationInView(const UIView* view) const
{
    return view ? view->convertPointFromView(_previousLocationInWindow, _window.get()) : _previousLocationInWindow;
}
