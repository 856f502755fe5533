#pragma once

// The font family picker: one row per family the system offers, each drawn in its own
// font, the stored "Family" checked. A tap stores the family (and a style of it) at once.

#include "preferences/PSListController.h"

class RVXFontPicker : public PSListController {
    RVX_OBJECT(RVXFontPicker)
public:
    RVXFontPicker() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
};
