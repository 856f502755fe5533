#pragma once

// A navigation-bar button: a system item, a titled item or a custom view. A tap sends the
// action to the target (weak) with the item as the argument.

#include "ui/UIView.h"

enum UIBarButtonSystemItem : int {
    UIBarButtonSystemItemNone = -1, // a titled or custom item
    UIBarButtonSystemItemDone = 0,
    UIBarButtonSystemItemCancel = 1,
    UIBarButtonSystemItemEdit = 2,
    UIBarButtonSystemItemSave = 3,
    UIBarButtonSystemItemAdd = 4,
};

enum UIBarButtonItemStyle : int {
    UIBarButtonItemStylePlain = 0,
    UIBarButtonItemStyleBordered = 1,
    UIBarButtonItemStyleDone = 2,
};

class UIBarButtonItem;
using UIBarButtonItemRef = std::shared_ptr<UIBarButtonItem>;

class UIBarButtonItem : public NSObject {
    RVX_OBJECT(UIBarButtonItem)
public:
    UIBarButtonItem() = default;
    // Done and Save come in the Done style, the others bordered; each has the platform's
    // title ("Done", "Cancel", "Edit", "Save", "+").
    static UIBarButtonItemRef initWithBarButtonSystemItem(int systemItem, const id& target, std::string action);
    static UIBarButtonItemRef initWithTitle(std::string title, int style, const id& target, std::string action);
    static UIBarButtonItemRef initWithCustomView(UIViewRef view);

    int systemItem() const { return _systemItem; }
    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    int style() const { return _style; }
    void setStyle(int style) { _style = style; }
    id target() const { return _target.lock(); }
    void setTarget(const id& target) { _target = target; }
    const std::string& action() const { return _action; }
    void setAction(std::string action) { _action = std::move(action); }
    const UIViewRef& customView() const { return _customView; }
    bool isEnabled() const { return _enabled; }
    void setEnabled(bool enabled) { _enabled = enabled; }

    // What the bar does when the item is tapped; nothing for a disabled item.
    void tap();

    json::Value describe() const;

private:
    int _systemItem = UIBarButtonSystemItemNone;
    std::string _title;
    int _style = UIBarButtonItemStylePlain;
    std::weak_ptr<NSObject> _target;
    std::string _action;
    UIViewRef _customView;
    bool _enabled = true;
};
