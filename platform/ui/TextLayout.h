#pragma once

// Text layout for every view that draws or measures text. One Pango layout (HarfBuzz shapes,
// fontconfig supplies the faces) serves both the measure and the drawing, so that a size
// measured here is exactly the extent drawn. The chosen face draws what it has; characters
// it lacks fall back to an installed face that has them.
//
//   mode               one line                         several lines (numberOfLines 0 or > 1)
//   WordWrap           the first line of a wrap         wraps at words (inside a word too long
//                                                       for a line), cut after the last line
//   CharacterWrap      the first line of a wrap         wraps at characters, cut after the last
//   Clip               runs on, cut by the frame        wraps at words, cut after the last line
//   Head/Middle/Tail   "…" at the start/middle/end      wraps at words, "…" in the last line

#include "graphics/CGGeometry.h"
#include "graphics/Painter.h"
#include "ui/UIKitTypes.h"

#include <optional>
#include <string_view>

typedef struct _PangoLayout PangoLayout;

enum UILineBreakMode : int {
    UILineBreakModeWordWrap = 0,
    UILineBreakModeCharacterWrap = 1,
    UILineBreakModeClip = 2,
    UILineBreakModeHeadTruncation = 3,
    UILineBreakModeTailTruncation = 4,
    UILineBreakModeMiddleTruncation = 5,
};

struct TextShadow {
    RGBA color;
    CGSize offset;
};

class TextLayout {
public:
    struct Bounds {
        CGFloat width = 0;  // 0 (or less, or infinite): no bound across
        CGFloat height = 0; // 0 (or less, or infinite): no bound down
        int lines = 1;      // 0: as many as fit in the height
        int lineBreakMode = UILineBreakModeTailTruncation;
        int alignment = UITextAlignmentLeft;
    };

    TextLayout(std::string_view text, const UIFont& font, const Bounds& bounds);
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // The extent of the lines shown, rounded up to whole points.
    CGSize size() const { return _size; }
    int lineCount() const { return _shownLines; }
    // Whether text was left out: lines past the last shown, or an ellipsis put in.
    bool isTruncated() const { return _truncated; }
    // The first line's baseline below the top of the text.
    CGFloat firstBaseline() const { return _firstBaseline; }
    // Characters no installed face has, drawn as boxes.
    int unknownGlyphCount() const;

    // Draws the lines shown with their top at `rect`'s top, each placed across `rect` by the
    // alignment (text wider than `rect` starts at its left edge). The shadow is drawn first,
    // moved by its offset, in its colour alone (colour glyphs too).
    void draw(Painter& painter, CGRect rect, RGBA color, const std::optional<TextShadow>& shadow = std::nullopt) const;

private:
    void drawLines(cairo_t* cr, CGFloat left, CGFloat top) const;

    PangoLayout* _layout = nullptr;
    bool _boundedWidth = false;
    int _alignment = UITextAlignmentLeft;
    int _shownLines = 0;
    bool _truncated = false;
    CGFloat _firstBaseline = 0;
    CGFloat _exactWidth = 0;
    CGSize _size {};
};

// The string drawing additions of the platform, in points of the current context.
namespace NSString_UIStringDrawing {

// One line, breaking only at the line breaks in the text.
CGSize sizeWithFont(std::string_view text, const UIFontRef& font);
// One line no wider than `width`, broken by the mode.
CGSize sizeWithFont(std::string_view text, const UIFontRef& font, CGFloat width, int lineBreakMode);
// As many lines as fit in `size`, wrapped and broken by the mode.
CGSize sizeWithFont(std::string_view text, const UIFontRef& font, CGSize size, int lineBreakMode);
// One line no wider than `width`, the font shrunk as far as `minFontSize` to fit first; the
// size used is stored in `actualFontSize` when given.
CGSize sizeWithFont(std::string_view text, const UIFontRef& font, CGFloat minFontSize, CGFloat* actualFontSize,
    CGFloat width, int lineBreakMode);

// Draw in the current context's fill colour; each answers the size drawn.
CGSize drawAtPoint(std::string_view text, CGPoint point, const UIFontRef& font);
CGSize drawInRect(std::string_view text, CGRect rect, const UIFontRef& font,
    int lineBreakMode = UILineBreakModeWordWrap, int alignment = UITextAlignmentLeft);

} // namespace NSString_UIStringDrawing
