#pragma once

#include "springboard/ShellServices.h"

// The Notification Center's list as the shell's services see it.
class SBBulletinListController : public springboard::BulletinListController {
    RVX_OBJECT(SBBulletinListController)
public:
    static std::shared_ptr<SBBulletinListController> sharedInstance();

    bool listViewIsActive() override;
    // Closes the Center; its widgets are told they disappeared before this returns.
    void hideListViewAnimated(bool animated) override;
};
