#include "ui/UIBarButtonItem.h"

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UIBarButtonItem, NSObject)

namespace {

const char* systemItemTitle(int item)
{
    switch (item) {
    case UIBarButtonSystemItemDone: return "Done";
    case UIBarButtonSystemItemCancel: return "Cancel";
    case UIBarButtonSystemItemEdit: return "Edit";
    case UIBarButtonSystemItemSave: return "Save";
    case UIBarButtonSystemItemAdd: return "+";
    default: return "";
    }
}

} // namespace

UIBarButtonItemRef UIBarButtonItem::initWithBarButtonSystemItem(int systemItem, const id& target, std::string action)
{
    auto item = runtime::make<UIBarButtonItem>();
    item->_systemItem = systemItem;
    item->_title = systemItemTitle(systemItem);
    item->_style = systemItem == UIBarButtonSystemItemDone || systemItem == UIBarButtonSystemItemSave
        ? UIBarButtonItemStyleDone : UIBarButtonItemStyleBordered;
    item->_target = target;
    item->_action = std::move(action);
    return item;
}

UIBarButtonItemRef UIBarButtonItem::initWithTitle(std::string title, int style, const id& target, std::string action)
{
    auto item = runtime::make<UIBarButtonItem>();
    item->_title = std::move(title);
    item->_style = style;
    item->_target = target;
    item->_action = std::move(action);
    return item;
}

UIBarButtonItemRef UIBarButtonItem::initWithCustomView(UIViewRef view)
{
    auto item = runtime::make<UIBarButtonItem>();
    item->_customView = std::move(view);
    return item;
}

void UIBarButtonItem::tap()
{
    if (!_enabled || _action.empty())
        return;
    id keep = self();
    if (id target = _target.lock())
        target->performSelector(_action, keep);
}

json::Value UIBarButtonItem::describe() const
{
    json::Value fields = json::Value::object();
    fields["title"] = _title;
    fields["systemItem"] = _systemItem;
    fields["style"] = _style;
    fields["action"] = _action;
    fields["enabled"] = _enabled;
    fields["customView"] = _customView != nullptr;
    return fields;
}
