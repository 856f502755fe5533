#pragma once

#include "springboard/ShellServices.h"

class SBIconModel : public springboard::IconModel {
    RVX_OBJECT(SBIconModel)
public:
    static std::shared_ptr<SBIconModel> sharedInstance();

    // A new icon of the installed app, or nothing for an identifier that is not installed.
    id applicationIconForDisplayIdentifier(std::string_view identifier) override;
};
