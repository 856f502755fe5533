#include "preferences/PSListItemsController.h"

RVX_DEFINE_CLASS(PSListItemsController, PSListController)

const std::vector<PSSpecifierRef>& PSListItemsController::specifiers()
{
    if (_specifiers.empty() && specifier()) {
        _specifiers.push_back(PSSpecifier::groupSpecifierWithName({}));
        for (const PlistValue& title : specifier()->validTitles()) {
            _specifiers.push_back(PSSpecifier::preferenceSpecifierNamed(title.string() ? *title.string() : std::string(),
                self(), {}, {}, nullptr, PSListItemCell, nullptr));
        }
    }
    return _specifiers;
}

std::optional<PlistValue> PSListItemsController::storedValue()
{
    auto parent = parentController();
    return parent ? parent->readPreferenceValue(specifier()) : readPreferenceValue(specifier());
}

void PSListItemsController::store(PlistValue value)
{
    if (auto parent = parentController())
        parent->setPreferenceValue(value, specifier());
    else
        setPreferenceValue(value, specifier());
}

UITableViewCellRef PSListItemsController::cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    UITableViewCellRef cell = tableView->dequeueReusableCellWithIdentifier("PSListItemCell");
    if (!cell)
        cell = UITableViewCell::initWithStyle(UITableViewCellStyleDefault, "PSListItemCell");
    PSSpecifierRef row = specifierAtIndexPath(indexPath);
    cell->textLabel()->setText(row ? row->name() : std::string());
    std::optional<PlistValue> stored = storedValue();
    std::optional<size_t> index = stored && specifier() ? specifier()->indexOfValue(*stored) : std::nullopt;
    bool checked = index && *index == size_t(indexPath->row());
    cell->setAccessoryType(checked ? UITableViewCellAccessoryCheckmark : UITableViewCellAccessoryNone);
    return cell;
}

void PSListItemsController::didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    id keep = self();
    tableView->deselectRowAtIndexPath(indexPath, true);
    NSArray values = specifier() ? specifier()->validValues() : NSArray();
    if (indexPath->row() < 0 || indexPath->row() >= int(values.count()))
        return;
    store(values.objectAtIndex(size_t(indexPath->row())));
    for (const UITableViewCellRef& cell : tableView->visibleCells())
        cell->setAccessoryType(UITableViewCellAccessoryNone);
    if (auto cell = tableView->cellForRowAtIndexPath(indexPath))
        cell->setAccessoryType(UITableViewCellAccessoryCheckmark);
}
