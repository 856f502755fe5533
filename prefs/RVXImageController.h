#pragma once

// The background image pane: rows from the "RVXImageController" plist, and the help page.

#include "preferences/PSListController.h"

class RVXImageController : public PSListController {
    RVX_OBJECT(RVXImageController)
public:
    RVXImageController() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;
    // Opens the page about making a background image for the widget.
    void images(PSSpecifierRef specifier);
};
