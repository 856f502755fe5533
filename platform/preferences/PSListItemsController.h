#pragma once

// The list of choices behind a PSLinkListCell (or PSSegmentCell): one row per title of the
// specifier's "validTitles", a check mark on the row whose "validValues" entry is stored.
// A tap stores that value through the parent pane (write, then post) and moves the mark.

#include "preferences/PSListController.h"

class PSListItemsController : public PSListController {
    RVX_OBJECT(PSListItemsController)
public:
    PSListItemsController() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;

private:
    std::optional<PlistValue> storedValue();
    void store(PlistValue value);
};
