#pragma once

// The Settings app's own first pane: one link row per PreferenceLoader entry. A tap loads
// the entry's bundle and pushes its root pane.

#include "preferences/PreferenceLoader.h"

class SettingsRootController : public PSListController {
    RVX_OBJECT(SettingsRootController)
public:
    SettingsRootController();

    const std::vector<PreferenceLoaderEntry>& entries() const { return _entries; }
    // Reads the entries again and redraws.
    void reloadEntries();
    // Pushes the entry's root pane; the reason when it cannot be made.
    Result<void> openEntry(size_t index);
    // What the last tap on an entry's row came to.
    const Result<void>& lastOpening() const { return _lastOpening; }

    const std::vector<PSSpecifierRef>& specifiers() override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;

private:
    std::vector<PreferenceLoaderEntry> _entries;
    Result<void> _lastOpening;
};
