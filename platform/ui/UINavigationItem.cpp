#include "ui/UINavigationItem.h"

RVX_DEFINE_CLASS(UINavigationItem, NSObject)

void UINavigationItem::describe(JsonWriter& json) const
{
    json.beginObject();
    json.field("title", _title);
    json.field("titleView", _titleView ? _titleView->className() : std::string());
    json.key("left");
    if (_left)
        _left->describe(json);
    else
        json.null();
    json.key("right");
    if (_right)
        _right->describe(json);
    else
        json.null();
    json.field("hidesBackButton", _hidesBackButton);
    json.endObject();
}
