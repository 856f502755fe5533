#pragma once

// What a pane shows in the navigation bar while it is on top: a title (or a view in its
// place), the bar items at either side, and whether the back button shows. The animated
// setters take their values at once, as every animation here does.

#include "ui/UIBarButtonItem.h"

class UINavigationItem;
using UINavigationItemRef = std::shared_ptr<UINavigationItem>;

class UINavigationItem : public NSObject {
    RVX_OBJECT(UINavigationItem)
public:
    UINavigationItem() = default;

    const std::string& title() const { return _title; }
    void setTitle(std::string title) { _title = std::move(title); }
    const UIViewRef& titleView() const { return _titleView; }
    void setTitleView(UIViewRef view) { _titleView = std::move(view); }

    const UIBarButtonItemRef& leftBarButtonItem() const { return _left; }
    void setLeftBarButtonItem(UIBarButtonItemRef item, bool animated = false) { _left = std::move(item); }
    const UIBarButtonItemRef& rightBarButtonItem() const { return _right; }
    void setRightBarButtonItem(UIBarButtonItemRef item, bool animated = false) { _right = std::move(item); }

    bool hidesBackButton() const { return _hidesBackButton; }
    void setHidesBackButton(bool hides, bool animated = false) { _hidesBackButton = hides; }

    json::Value describe() const;

private:
    std::string _title;
    UIViewRef _titleView;
    UIBarButtonItemRef _left;
    UIBarButtonItemRef _right;
    bool _hidesBackButton = false;
};
