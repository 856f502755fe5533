#include "ui/UILabel.h"

#include "ui/UIGraphics.h"

RVX_DEFINE_CLASS(UILabel, UIView)

UILabel::UILabel(CGRect frame)
    : UIView(frame)
    , _font(UIFont::systemFontOfSize(17))
    , _textColor(UIColor::blackColor())
{
    // Labels are opaque white until told otherwise, as on the platform.
    setBackgroundColor(UIColor::whiteColor());
    setUserInteractionEnabled(false);
}

void UILabel::setText(std::string text)
{
    if (text == _text)
        return;
    _text = std::move(text);
    setNeedsDisplay();
}

void UILabel::setFont(UIFontRef font)
{
    _font = font ? std::move(font) : UIFont::systemFontOfSize(17);
    setNeedsDisplay();
}

void UILabel::setTextColor(UIColorRef color)
{
    _textColor = color ? std::move(color) : UIColor::blackColor();
    setNeedsDisplay();
}

void UILabel::setTextAlignment(int alignment)
{
    if (alignment < UITextAlignmentLeft || alignment > UITextAlignmentRight)
        alignment = UITextAlignmentLeft;
    _textAlignment = alignment;
    setNeedsDisplay();
}

CGSize UILabel::sizeThatFits(CGSize) const
{
    return _font->sizeWithText(_text);
}

void UILabel::drawRect(CGRect rect)
{
    if (CGContextRef context = UIGraphicsGetCurrentContext()) {
        auto saved = context->painter().save();
        context->painter().clipToRect(bounds());
        drawTextInRect(context->painter(), bounds());
    }
}

void UILabel::drawTextInRect(Painter& painter, CGRect rect) const
{
    _font->drawText(painter, _text, rect, _textAlignment, _textColor->paint());
}

void UILabel::describe(JsonWriter& json) const
{
    UIView::describe(json);
    json.field("text", _text);
    json.field("font", _font->fontName());
    json.field("fontSize", double(_font->pointSize()));
    writeColor(json, "textColor", _textColor);
    json.field("alignment", _textAlignment);
}
