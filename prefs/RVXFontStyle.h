#pragma once

// The font style picker: one row per font of the stored "Family", each drawn in itself,
// the stored "Style" checked. A tap stores the style at once.

#include "preferences/PSListController.h"

class RVXFontStyle : public PSListController {
    RVX_OBJECT(RVXFontStyle)
public:
    RVXFontStyle() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
};
