#include "RVXFontChoice.h"

#include "ui/UIFont.h"

namespace RVXFontChoice {

namespace {
constexpr const char* kCellIdentifier = "Cell";
constexpr CGFloat kFontSize = 17;
}

std::vector<PSSpecifierRef> specifiersForNames(const std::vector<std::string>& names, const id& pane)
{
    std::vector<PSSpecifierRef> rows;
    rows.reserve(names.size());
    for (const std::string& name : names)
        rows.push_back(PSSpecifier::preferenceSpecifierNamed(name, pane, "", "", nullptr, PSListItemCell, nullptr));
    return rows;
}

std::optional<std::string> nameAtRow(const std::vector<std::string>& names, const NSIndexPathRef& indexPath)
{
    if (!indexPath || indexPath->row() < 0 || size_t(indexPath->row()) >= names.size())
        return std::nullopt;
    return names[size_t(indexPath->row())];
}

UITableViewCellRef cellForName(const UITableViewRef& table, const NSIndexPathRef& indexPath,
    const std::vector<std::string>& names, const std::optional<std::string>& stored)
{
    auto cell = table->dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = UITableViewCell::initWithStyle(UITableViewCellStyleValue1, kCellIdentifier);
    // A list that changed since the rows were made leaves the rows past its end blank.
    std::string name = nameAtRow(names, indexPath).value_or("");
    cell->textLabel()->setText(name);
    cell->textLabel()->setFont(UIFont::fontWithName(name, kFontSize));
    bool checked = stored && !name.empty() && *stored == name;
    cell->setAccessoryType(checked ? UITableViewCellAccessoryCheckmark : UITableViewCellAccessoryNone);
    return cell;
}

void moveCheckMark(const UITableViewRef& table, const std::vector<std::string>& names,
    const std::optional<std::string>& previous, const NSIndexPathRef& tapped)
{
    if (previous) {
        for (size_t index = 0; index < names.size(); ++index) {
            if (names[index] != *previous)
                continue;
            if (auto cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(int(index), 0)))
                cell->setAccessoryType(UITableViewCellAccessoryNone);
            break;
        }
    }
    if (auto cell = table->cellForRowAtIndexPath(tapped))
        cell->setAccessoryType(UITableViewCellAccessoryCheckmark);
}

} // namespace RVXFontChoice
