#pragma once

// What the family and style pickers share: the default style rule, their rows and cells,
// and moving the check mark.

#include "preferences/PSListController.h"

#include <optional>
#include <string>
#include <vector>

namespace RVXFontChoice {

// The first name ending in "Regular"; failing that the shortest (in UTF-16 units), the
// earliest of equally short ones; nothing for an empty list.
std::optional<std::string> defaultStyle(const std::vector<std::string>& fontNames);

// One plain list-item row per name, the pane as target.
std::vector<PSSpecifierRef> specifiersForNames(const std::vector<std::string>& names, const id& pane);

// A cell of the row drawn in its own font (the standard font when no font has that name),
// checked when `stored` equals the name. `names` is the list fetched anew for this cell.
UITableViewCellRef cellForName(const UITableViewRef& table, const NSIndexPathRef& indexPath,
    const std::vector<std::string>& names, const std::optional<std::string>& stored);

// Clears the check mark of the visible row that showed `previous` in `names` and puts it on
// the tapped row.
void moveCheckMark(const UITableViewRef& table, const std::vector<std::string>& names,
    const std::optional<std::string>& previous, const NSIndexPathRef& tapped);

// The name at the row of the index path, or nothing past the end of the list.
std::optional<std::string> nameAtRow(const std::vector<std::string>& names, const NSIndexPathRef& indexPath);

} // namespace RVXFontChoice
