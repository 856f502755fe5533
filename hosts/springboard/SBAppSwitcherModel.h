#pragma once

#include "springboard/ShellServices.h"

class SBAppSwitcherModel : public springboard::AppSwitcherModel {
    RVX_OBJECT(SBAppSwitcherModel)
public:
    static std::shared_ptr<SBAppSwitcherModel> sharedInstance();

    NSArray identifiers() override;
    void remove(std::string_view identifier) override;
};
