#include "preferences/PSListController.h"

#include "corefoundation/CFNotificationCenter.h"
#include "foundation/LoadProblems.h"
#include "foundation/PreferenceFile.h"
#include "preferences/PSListItemsController.h"
#include "preferences/PSTableCell.h"
#include "preferences/SpecifierPlist.h"
#include "ui/UINavigationController.h"

RVX_DEFINE_CLASS(PSListController, UIViewController)

const std::vector<PSSpecifierRef>& PSListController::specifiers()
{
    return _specifiers;
}

void PSListController::setSpecifiers(std::vector<PSSpecifierRef> specifiers)
{
    _specifiers = std::move(specifiers);
    _groupedFrom = nullptr;
    if (_table)
        _table->reloadData();
}

std::vector<PSSpecifierRef> PSListController::loadSpecifiersFromPlistName(std::string_view name, const id& target)
{
    if (!_bundle)
        return {};
    std::optional<std::string> path = _bundle->pathForResource(name, "plist");
    if (!path)
        return {};
    std::optional<SpecifierPlist> plist = specifier_plist::load(*path, target);
    if (!plist) {
        LoadProblems::note("pane " + *path + " shows no rows: it is not a specifier list (a property list with \"items\")");
        return {};
    }
    if (title().empty() && !plist->title.empty())
        setTitle(plist->title);
    return std::move(plist->specifiers);
}

const UITableViewRef& PSListController::table()
{
    view();
    return _table;
}

UIViewControllerRef PSListController::rootController() const
{
    auto navigation = navigationController();
    if (!navigation || navigation->viewControllers().empty())
        return nullptr;
    return navigation->viewControllers().front();
}

void PSListController::pushController(const PSListControllerRef& pane, bool animated)
{
    if (!pane)
        return;
    if (!pane->bundle())
        pane->setBundle(_bundle);
    pane->setParentController(me());
    if (auto navigation = navigationController())
        navigation->pushViewController(pane, animated);
}

void PSListController::popController(bool animated)
{
    if (auto navigation = navigationController())
        navigation->popViewControllerAnimated(animated);
}

void PSListController::reloadSpecifiers()
{
    _groupedFrom = nullptr;
    if (_table)
        _table->reloadData();
}

void PSListController::loadView()
{
    _table = UITableView::initWithFrame(CGRectMake(0, 0, 320, 416), UITableViewStyleGrouped);
    _table->setAutoresizingMask(UIViewAutoresizingFlexibleWidth | UIViewAutoresizingFlexibleHeight);
    _table->setDataSource(me());
    _table->setDelegate(me());
    setView(_table);
}

void PSListController::viewWillAppear(bool)
{
    table()->reloadData();
}

void PSListController::willAnimateRotationToInterfaceOrientation(int, double)
{
    table()->reloadData();
}

// The sections, rebuilt whenever the specifier list is another one or has changed length.
const std::vector<PSListController::Group>& PSListController::groups()
{
    const std::vector<PSSpecifierRef>& rows = specifiers();
    if (_groupedFrom == &rows && _groupedCount == rows.size())
        return _groups;
    _groups.clear();
    for (const PSSpecifierRef& specifier : rows) {
        if (!specifier)
            continue;
        if (specifier->cellType() == PSGroupCell) {
            _groups.push_back({specifier, {}});
            continue;
        }
        if (_groups.empty())
            _groups.push_back({nullptr, {}});
        _groups.back().rows.push_back(specifier);
    }
    _groupedFrom = &rows;
    _groupedCount = rows.size();
    return _groups;
}

PSSpecifierRef PSListController::specifierAtIndexPath(const NSIndexPathRef& indexPath)
{
    if (!indexPath)
        return nullptr;
    const std::vector<Group>& all = groups();
    if (indexPath->section() < 0 || indexPath->section() >= int(all.size()))
        return nullptr;
    const Group& group = all[size_t(indexPath->section())];
    if (indexPath->row() < 0 || indexPath->row() >= int(group.rows.size()))
        return nullptr;
    return group.rows[size_t(indexPath->row())];
}

PSSpecifierRef PSListController::specifierForID(std::string_view identifier)
{
    for (const PSSpecifierRef& specifier : specifiers()) {
        if (specifier && specifier->identifier() == identifier)
            return specifier;
    }
    return nullptr;
}

NSIndexPathRef PSListController::indexPathForSpecifier(const PSSpecifierRef& specifier)
{
    const std::vector<Group>& all = groups();
    for (size_t s = 0; s < all.size(); ++s) {
        for (size_t r = 0; r < all[s].rows.size(); ++r) {
            if (all[s].rows[r] == specifier)
                return NSIndexPath::indexPathForRow(int(r), int(s));
        }
    }
    return nullptr;
}

std::optional<PlistValue> PSListController::readPreferenceValue(const PSSpecifierRef& specifier)
{
    if (!specifier)
        return std::nullopt;
    std::string key = specifier->key();
    std::string domain = specifier->defaults();
    if (!key.empty() && !domain.empty()) {
        std::optional<NSDictionary> stored = PreferenceFile::forDomain(domain).readIfPresent();
        if (stored) {
            if (const PlistValue* value = stored->objectForKey(key))
                return *value;
        }
    }
    if (const PlistValue* fallback = specifier->defaultValue())
        return *fallback;
    return std::nullopt;
}

bool PSListController::writePreferenceValue(const PlistValue& value, const PSSpecifierRef& specifier)
{
    if (!specifier || specifier->key().empty() || specifier->defaults().empty())
        return false;
    return PreferenceFile::forDomain(specifier->defaults()).setObject(value, specifier->key());
}

void PSListController::postPreferenceNotification(const PSSpecifierRef& specifier)
{
    std::string name = specifier ? specifier->postNotification() : std::string();
    if (!name.empty())
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name.c_str(), nullptr,
            nullptr, true);
}

void PSListController::setPreferenceValue(const PlistValue& value, const PSSpecifierRef& specifier)
{
    id keep = self();
    writePreferenceValue(value, specifier);
    postPreferenceNotification(specifier);
}

int PSListController::numberOfSectionsInTableView(const UITableViewRef&)
{
    return int(groups().size());
}

int PSListController::numberOfRowsInSection(const UITableViewRef&, int section)
{
    const std::vector<Group>& all = groups();
    return section >= 0 && section < int(all.size()) ? int(all[size_t(section)].rows.size()) : 0;
}

UITableViewCellRef PSListController::cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    PSSpecifierRef specifier = specifierAtIndexPath(indexPath);
    int type = specifier ? specifier->cellType() : PSListItemCell;
    std::string identifier = PSTableCell::reuseIdentifierForCellType(type);
    auto cell = std::dynamic_pointer_cast<PSTableCell>(tableView->dequeueReusableCellWithIdentifier(identifier));
    if (!cell)
        cell = runtime::make<PSTableCell>(UITableViewCellStyleValue1, identifier);
    if (specifier)
        cell->refreshCellContents(specifier, *this);
    return cell;
}

std::optional<std::string> PSListController::titleForHeaderInSection(const UITableViewRef&, int section)
{
    const std::vector<Group>& all = groups();
    if (section < 0 || section >= int(all.size()) || !all[size_t(section)].header)
        return std::nullopt;
    const std::string& name = all[size_t(section)].header->name();
    return name.empty() ? std::nullopt : std::optional(name);
}

std::optional<std::string> PSListController::titleForFooterInSection(const UITableViewRef&, int section)
{
    const std::vector<Group>& all = groups();
    if (section < 0 || section >= int(all.size()) || !all[size_t(section)].header)
        return std::nullopt;
    std::string footer = all[size_t(section)].header->footerText();
    return footer.empty() ? std::nullopt : std::optional(footer);
}

std::optional<CGFloat> PSListController::heightForRowAtIndexPath(const UITableViewRef&, const NSIndexPathRef& indexPath)
{
    PSSpecifierRef specifier = specifierAtIndexPath(indexPath);
    std::optional<double> height = specifier ? specifier->numberProperty("height") : std::nullopt;
    if (height && *height > 0)
        return CGFloat(*height);
    return std::nullopt;
}

void PSListController::willDisplayCell(const UITableViewRef&, const UITableViewCellRef&, const NSIndexPathRef&)
{
}

void PSListController::didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    id keep = self();
    PSSpecifierRef specifier = specifierAtIndexPath(indexPath);
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (!specifier)
        return;
    switch (specifier->cellType()) {
    case PSLinkCell: {
        const Class* pane = specifier->detailControllerClass();
        if (!pane && !specifier->stringProperty("detail").empty())
            pane = objc_getClass(specifier->stringProperty("detail")); // a bundle loaded since
        pushDetailPane(specifier, pane);
        break;
    }
    case PSLinkListCell:
    case PSSegmentCell: {
        const Class* pane = specifier->detailControllerClass();
        pushDetailPane(specifier, pane ? pane : &PSListItemsController::classObject());
        break;
    }
    case PSButtonCell: {
        std::string action = specifier->action();
        id target = specifier->target();
        if (!action.empty() && target && target->respondsToSelector(action))
            target->performSelector(action, specifier);
        break;
    }
    case PSEditTextCell:
    case PSSecureEditTextCell:
    case PSEditTextViewCell:
        if (auto cell = std::dynamic_pointer_cast<PSTableCell>(tableView->cellForRowAtIndexPath(indexPath))) {
            if (auto field = std::dynamic_pointer_cast<UITextField>(cell->control()))
                field->becomeFirstResponder();
        }
        break;
    default:
        break;
    }
}

void PSListController::pushDetailPane(const PSSpecifierRef& specifier, const Class* paneClass)
{
    if (!paneClass || !paneClass->isSubclassOfClass(PSListController::classObject()))
        return;
    auto pane = std::dynamic_pointer_cast<PSListController>(paneClass->createInstance());
    if (!pane)
        return;
    pane->setSpecifier(specifier);
    if (pane->title().empty())
        pane->setTitle(specifier->name());
    pushController(pane);
}
