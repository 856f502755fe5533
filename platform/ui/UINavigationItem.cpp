#include "ui/UINavigationItem.h"

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UINavigationItem, NSObject)

json::Value UINavigationItem::describe() const
{
    json::Value fields = json::Value::object();
    fields["title"] = _title;
    fields["titleView"] = _titleView ? _titleView->className() : std::string();
    fields["left"] = _left ? _left->describe() : json::Value();
    fields["right"] = _right ? _right->describe() : json::Value();
    fields["hidesBackButton"] = _hidesBackButton;
    return fields;
}
