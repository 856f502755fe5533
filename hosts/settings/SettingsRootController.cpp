#include "SettingsRootController.h"

RVX_DEFINE_CLASS(SettingsRootController, PSListController)

SettingsRootController::SettingsRootController()
{
    setTitle("Settings");
}

void SettingsRootController::reloadEntries()
{
    _entries = PreferenceLoader::entries();
    _specifiers.clear();
    reloadSpecifiers();
}

const std::vector<PSSpecifierRef>& SettingsRootController::specifiers()
{
    if (_specifiers.empty()) {
        if (_entries.empty())
            _entries = PreferenceLoader::entries();
        _specifiers.push_back(PSSpecifier::groupSpecifierWithName({}));
        for (const PreferenceLoaderEntry& entry : _entries)
            _specifiers.push_back(PSSpecifier::preferenceSpecifierNamed(entry.label, self(), {}, {}, nullptr, PSLinkCell, nullptr));
    }
    return _specifiers;
}

Result<void> SettingsRootController::openEntry(size_t index)
{
    if (index >= _entries.size())
        return Failure {"no such entry"};
    Result<PSListControllerRef> pane = PreferenceLoader::createRootPane(_entries[index]);
    if (!pane)
        return Failure {pane.error()};
    pushController(*pane);
    return {};
}

void SettingsRootController::didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    id keep = self();
    tableView->deselectRowAtIndexPath(indexPath, true);
    // Section 0 holds the entries in order.
    if (indexPath->section() != 0 || indexPath->row() < 0)
        return;
    _lastOpening = openEntry(size_t(indexPath->row()));
}
