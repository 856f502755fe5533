#include "ui/UIImageView.h"

#include "ui/UIGraphics.h"

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UIImageView, UIView)

UIImageView::UIImageView(CGRect frame)
    : UIView(frame)
{
    setUserInteractionEnabled(false);
}

UIImageView::UIImageView(UIImageRef image)
    : UIImageView(CGRect {CGPointZero, image ? image->size() : CGSizeZero})
{
    _image = std::move(image);
}

void UIImageView::setImage(UIImageRef image)
{
    if (image == _image)
        return;
    _image = std::move(image);
    setNeedsDisplay();
}

CGSize UIImageView::sizeThatFits(CGSize) const
{
    return _image ? _image->size() : CGSizeZero;
}

void UIImageView::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (context && _image)
        _image->drawInRect(context->painter(), bounds());
}

void UIImageView::describe(json::Value& fields) const
{
    UIView::describe(fields);
    if (!_image) {
        fields["image"] = nullptr;
        return;
    }
    CGSize size = _image->size();
    json::Value image = json::Value::object();
    image["width"] = json::readable(size.width);
    image["height"] = json::readable(size.height);
    image["scale"] = json::readable(_image->scale());
    image["leftCap"] = _image->leftCapWidth();
    image["topCap"] = _image->topCapHeight();
    fields["image"] = std::move(image);
}
