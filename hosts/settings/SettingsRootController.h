#pragma once

// The Settings app's own first pane: one link row per PreferenceLoader entry. A tap loads
// the entry's bundle and pushes its root pane.

#include "preferences/PreferenceLoader.h"

#include <optional>
#include <utility>

class SettingsRootController : public PSListController {
    RVX_OBJECT(SettingsRootController)
public:
    SettingsRootController();

    const std::vector<PreferenceLoaderEntry>& entries() const { return _entries; }
    // Reads the entries again and redraws.
    void reloadEntries();
    // Pushes the entry's root pane; the reason when it cannot be made.
    Result<void> openEntry(size_t index);
    // What the last tap on an entry's row came to, given once: nothing when no row was
    // tapped since the last call.
    std::optional<Result<void>> takeLastOpening() { return std::exchange(_lastOpening, std::nullopt); }

    const std::vector<PSSpecifierRef>& specifiers() override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;

private:
    std::vector<PreferenceLoaderEntry> _entries;
    std::optional<Result<void>> _lastOpening;
};
