#include "ui/UIImageView.h"

#include "ui/UIGraphics.h"

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

void UIImageView::describe(JsonWriter& json) const
{
    UIView::describe(json);
    json.key("image");
    if (!_image) {
        json.null();
        return;
    }
    CGSize size = _image->size();
    json.beginObject()
        .field("width", double(size.width))
        .field("height", double(size.height))
        .field("scale", double(_image->scale()))
        .field("leftCap", _image->leftCapWidth())
        .field("topCap", _image->topCapHeight())
        .endObject();
}
