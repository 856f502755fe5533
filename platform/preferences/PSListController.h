#pragma once

// A preference pane: a grouped table of specifiers. The pane is its table's data source and
// delegate. A PSGroupCell specifier starts a section (its name is the header, its
// "footerText" the footer); the rows before the first group form a section without a title.
//
// The host draws each row from its specifier (cellForRowAtIndexPath) and acts on taps
// (didSelectRowAtIndexPath); panes that draw their own rows override those two and
// willDisplayCell. A host-drawn row shows the value of its "key" read afresh from the
// "defaults" domain's file (or its "default" when the key is not stored) and, on a change,
// stores it with the preference file's locked change-one-key write, then posts its
// "PostNotification" on the Darwin center:
//
//   cell                 shows                              on a tap / a change
//   PSSwitchCell         a switch                           flip: store the boolean, post
//   PSSliderCell         a slider (min, max; showValue)     each step of a drag: store, post
//   PSEditTextCell       a text field (placeholder)         editing ends: store the text, post
//   PSSecureEditTextCell the same, masked
//   PSLinkCell           disclosure                         push the "detail" pane, made by name
//   PSLinkListCell       the stored value's title           push a PSListItemsController
//   PSSegmentCell        the stored value's title           the same list of choices
//   PSButtonCell         the title                          send "action" to the target
//   PSStaticTextCell, PSTitleValueCell  the title (and value)   nothing
//
// A pushed pane gets the tapped specifier (setSpecifier) and this pane's bundle.

#include "foundation/NSBundle.h"
#include "preferences/PSSpecifier.h"
#include "ui/UITableView.h"
#include "ui/UIViewController.h"

class PSListController;
using PSListControllerRef = std::shared_ptr<PSListController>;

class PSListController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
    RVX_OBJECT(PSListController)
public:
    PSListController() = default;

    // The rows, in display order. Panes override it to build `_specifiers` on first use.
    virtual const std::vector<PSSpecifierRef>& specifiers();
    void setSpecifiers(std::vector<PSSpecifierRef> specifiers);
    // Reads "<name>.plist" from the pane's bundle; the plist's "title" becomes the pane's
    // title when it has none. Nothing when the bundle or the plist is missing.
    std::vector<PSSpecifierRef> loadSpecifiersFromPlistName(std::string_view name, const id& target);

    const std::shared_ptr<NSBundle>& bundle() const { return _bundle; }
    void setBundle(std::shared_ptr<NSBundle> bundle) { _bundle = std::move(bundle); }
    // The specifier this pane was pushed for, if any.
    const PSSpecifierRef& specifier() const { return _specifier; }
    void setSpecifier(PSSpecifierRef specifier) { _specifier = std::move(specifier); }

    // The table, made with the view.
    const UITableViewRef& table();
    std::shared_ptr<PSListController> parentController() const { return _parent.lock(); }
    void setParentController(const PSListControllerRef& parent) { _parent = parent; }
    // The bottom of the navigation stack: the Settings app's own list.
    UIViewControllerRef rootController() const;

    // Pushes another pane on this pane's navigation stack; it inherits this bundle.
    void pushController(const PSListControllerRef& pane, bool animated = true);
    void popController(bool animated = true);

    // Calls `specifiers` afresh and redraws the rows.
    void reloadSpecifiers();
    void reload() { table()->reloadData(); }

    PSSpecifierRef specifierAtIndexPath(const NSIndexPathRef& indexPath);
    PSSpecifierRef specifierForID(std::string_view identifier);
    NSIndexPathRef indexPathForSpecifier(const PSSpecifierRef& specifier);

    // The value a host-drawn row shows: its key in the "defaults" domain's file, read afresh,
    // else its "default"; nothing when neither is there.
    virtual std::optional<PlistValue> readPreferenceValue(const PSSpecifierRef& specifier);
    // Stores a value with the locked change-one-key write; false when the row has no key or
    // domain, or the write failed.
    virtual bool writePreferenceValue(const PlistValue& value, const PSSpecifierRef& specifier);
    // Posts the row's "PostNotification", when it has one.
    virtual void postPreferenceNotification(const PSSpecifierRef& specifier);
    // A change: write, then post (also when the write failed, so that observers reread).
    void setPreferenceValue(const PlistValue& value, const PSSpecifierRef& specifier);

    void loadView() override;
    // Redraws the rows, so that they show what is stored now.
    void viewWillAppear(bool animated) override;
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override;

    int numberOfSectionsInTableView(const UITableViewRef& tableView) override;
    int numberOfRowsInSection(const UITableViewRef& tableView, int section) override;
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
    std::optional<std::string> titleForHeaderInSection(const UITableViewRef& tableView, int section) override;
    std::optional<std::string> titleForFooterInSection(const UITableViewRef& tableView, int section) override;
    std::optional<CGFloat> heightForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
    void willDisplayCell(const UITableViewRef& tableView, const UITableViewCellRef& cell, const NSIndexPathRef& indexPath) override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;

protected:
    std::vector<PSSpecifierRef> _specifiers;

private:
    struct Group {
        PSSpecifierRef header; // nothing for rows before the first group
        std::vector<PSSpecifierRef> rows;
    };
    const std::vector<Group>& groups();
    void pushDetailPane(const PSSpecifierRef& specifier, const Class* paneClass);
    std::shared_ptr<PSListController> me() { return selfAs<PSListController>(); }

    std::shared_ptr<NSBundle> _bundle;
    PSSpecifierRef _specifier;
    std::weak_ptr<PSListController> _parent;
    UITableViewRef _table;
    std::vector<Group> _groups;
    const std::vector<PSSpecifierRef>* _groupedFrom = nullptr;
    size_t _groupedCount = 0;
};
