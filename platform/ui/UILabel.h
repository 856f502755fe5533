#pragma once

// Text in a font and colour: one line by default (numberOfLines 0 takes as many as fit),
// broken by the line break mode (tail truncation by default), aligned left, centred or right,
// the block of lines centred vertically in the bounds. One line may shrink towards
// minimumFontSize to fit the width first. A shadow colour draws the text again beneath,
// moved by the shadow offset. Sizes measured here (sizeThatFits) are what is drawn.

#include "ui/TextLayout.h"
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
    void setNumberOfLines(int lines);
    int lineBreakMode() const { return _lineBreakMode; }
    void setLineBreakMode(int mode);
    bool adjustsFontSizeToFitWidth() const { return _adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    CGFloat minimumFontSize() const { return _minimumFontSize; }
    void setMinimumFontSize(CGFloat size);
    // Nothing (no shadow) by default; the offset is (0, -1) until set.
    const UIColorRef& shadowColor() const { return _shadowColor; }
    void setShadowColor(UIColorRef color);
    CGSize shadowOffset() const { return _shadowOffset; }
    void setShadowOffset(CGSize offset);

    CGSize sizeThatFits(CGSize size) const override;
    // Where the text goes in `bounds` with at most `lines` lines (0: any number).
    CGRect textRectForBounds(CGRect bounds, int lines) const;
    void drawRect(CGRect rect) override;
    // Draws the text into `rect` of the painter's space, centred vertically; buttons draw
    // their title so.
    void drawTextInRect(Painter& painter, CGRect rect) const;
    void drawTextInRect(Painter& painter, CGRect rect, const std::string& text, const UIColorRef& color,
        const UIColorRef& shadow) const;
    void describe(json::Value& fields) const override;

private:
    // The font a line is drawn in within `width`: smaller than the label's when it shrinks.
    UIFontRef fittedFont(const std::string& text, CGFloat width) const;
    TextLayout::Bounds layoutBounds(CGSize size, int lines) const;

    std::string _text;
    UIFontRef _font;
    UIColorRef _textColor;
    UIColorRef _shadowColor;
    CGSize _shadowOffset {0, -1};
    int _textAlignment = UITextAlignmentLeft;
    int _numberOfLines = 1;
    int _lineBreakMode = UILineBreakModeTailTruncation;
    bool _adjustsFontSizeToFitWidth = false;
    CGFloat _minimumFontSize = 0;
};
