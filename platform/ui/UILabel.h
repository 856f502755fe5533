#pragma once

// One line of text in a font and colour, aligned left, centred or right and centred
// vertically; text beyond the bounds is clipped.

#include "ui/UIFont.h"
#include "ui/UIView.h"

class UILabel : public UIView {
    RVX_OBJECT(UILabel)
public:
    explicit UILabel(CGRect frame = CGRectZero);

    const std::string& text() const { return _text; }
    void setText(std::string text);
    // The platform's default font (the system font at 17 points) when given nothing.
    const UIFontRef& font() const { return _font; }
    void setFont(UIFontRef font);
    const UIColorRef& textColor() const { return _textColor; }
    void setTextColor(UIColorRef color);
    int textAlignment() const { return _textAlignment; }
    void setTextAlignment(int alignment);
    int numberOfLines() const { return _numberOfLines; }
    void setNumberOfLines(int lines) { _numberOfLines = lines; }

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;
    // Draws the text into `rect` of the painter's space; buttons draw their title so.
    void drawTextInRect(Painter& painter, CGRect rect) const;
    void describe(JsonWriter& json) const override;

private:
    std::string _text;
    UIFontRef _font;
    UIColorRef _textColor;
    int _textAlignment = UITextAlignmentLeft;
    int _numberOfLines = 1;
};
