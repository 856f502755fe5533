#include "ui/UILabel.h"

#include "ui/UIGraphics.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

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

void UILabel::setNumberOfLines(int lines)
{
    _numberOfLines = std::max(0, lines);
    setNeedsDisplay();
}

void UILabel::setLineBreakMode(int mode)
{
    if (mode < UILineBreakModeWordWrap || mode > UILineBreakModeMiddleTruncation)
        mode = UILineBreakModeTailTruncation;
    _lineBreakMode = mode;
    setNeedsDisplay();
}

void UILabel::setAdjustsFontSizeToFitWidth(bool adjusts)
{
    _adjustsFontSizeToFitWidth = adjusts;
    setNeedsDisplay();
}

void UILabel::setMinimumFontSize(CGFloat size)
{
    _minimumFontSize = std::isfinite(size) ? std::max<CGFloat>(0, size) : 0;
    setNeedsDisplay();
}

void UILabel::setShadowColor(UIColorRef color)
{
    _shadowColor = std::move(color);
    setNeedsDisplay();
}

void UILabel::setShadowOffset(CGSize offset)
{
    _shadowOffset = offset;
    setNeedsDisplay();
}

UIFontRef UILabel::fittedFont(const std::string& text, CGFloat width) const
{
    // Shrinking applies to one line only, as on the platform.
    if (!_adjustsFontSizeToFitWidth || _numberOfLines != 1)
        return _font;
    CGFloat actual = _font->pointSize();
    NSString_UIStringDrawing::sizeWithFont(text, _font, _minimumFontSize, &actual, width, _lineBreakMode);
    return actual == _font->pointSize() ? _font : _font->fontWithSize(actual);
}

TextLayout::Bounds UILabel::layoutBounds(CGSize size, int lines) const
{
    return {size.width, size.height, lines, _lineBreakMode, _textAlignment};
}

CGSize UILabel::sizeThatFits(CGSize size) const
{
    if (_numberOfLines == 1)
        return NSString_UIStringDrawing::sizeWithFont(_text, _font);
    // Several lines wrap to the width asked about; no height bounds them but their number.
    return TextLayout(_text, *_font, layoutBounds({size.width, 0}, _numberOfLines)).size();
}

CGRect UILabel::textRectForBounds(CGRect bounds, int lines) const
{
    UIFontRef font = fittedFont(_text, bounds.size.width);
    CGSize size = TextLayout(_text, *font, layoutBounds(bounds.size, lines)).size();
    size.width = std::min(size.width, bounds.size.width);
    CGFloat x = bounds.origin.x;
    if (_textAlignment == UITextAlignmentCenter)
        x += (bounds.size.width - size.width) / 2;
    else if (_textAlignment == UITextAlignmentRight)
        x += bounds.size.width - size.width;
    return {{x, bounds.origin.y + (bounds.size.height - size.height) / 2}, size};
}

void UILabel::drawRect(CGRect)
{
    if (CGContextRef context = UIGraphicsGetCurrentContext()) {
        auto saved = context->painter().save();
        context->painter().clipToRect(bounds());
        drawTextInRect(context->painter(), bounds());
    }
}

void UILabel::drawTextInRect(Painter& painter, CGRect rect) const
{
    drawTextInRect(painter, rect, _text, _textColor, _shadowColor);
}

void UILabel::drawTextInRect(Painter& painter, CGRect rect, const std::string& text, const UIColorRef& color,
    const UIColorRef& shadow) const
{
    if (text.empty() || !color)
        return;
    UIFontRef font = fittedFont(text, rect.size.width);
    TextLayout layout(text, *font, layoutBounds(rect.size, _numberOfLines));
    CGRect placed = rect;
    placed.origin.y += (rect.size.height - layout.size().height) / 2;
    std::optional<TextShadow> cast;
    if (shadow)
        cast = TextShadow {shadow->paint(), _shadowOffset};
    layout.draw(painter, placed, color->paint(), cast);
}

void UILabel::describe(json::Value& fields) const
{
    UIView::describe(fields);
    fields["text"] = _text;
    fields["font"] = _font->fontName();
    fields["fontSize"] = json::readable(_font->pointSize());
    fields["textColor"] = colorValue(_textColor);
    fields["alignment"] = _textAlignment;
}
