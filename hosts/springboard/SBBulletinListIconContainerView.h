#pragma once

#include "ui/UIView.h"

// The view the widget host places each widget's root view in. Widgets look at their
// superview's class name to tell the Notification Center from other hosts.
class SBBulletinListIconContainerView : public UIView {
    RVX_OBJECT(SBBulletinListIconContainerView)
public:
    using UIView::UIView;
};
