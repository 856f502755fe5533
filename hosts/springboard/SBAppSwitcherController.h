#pragma once

#include "springboard/ShellServices.h"

class SBAppSwitcherController : public springboard::AppSwitcherController {
    RVX_OBJECT(SBAppSwitcherController)
public:
    static std::shared_ptr<SBAppSwitcherController> sharedInstance();

    // Reads the app from the view's icon (an IconHolder carrying an ApplicationIcon); the
    // app stops running and leaves the switcher. Anything else closes nothing.
    void iconCloseBoxTapped(std::shared_ptr<UIView> iconView) override;
};
