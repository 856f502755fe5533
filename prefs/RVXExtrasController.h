#pragma once

// The extras pane: rows from the "RVXExtrasController" plist.

#include "preferences/PSListController.h"

class RVXExtrasController : public PSListController {
    RVX_OBJECT(RVXExtrasController)
public:
    RVXExtrasController() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;
};
