// The text layer drawn into small images and probed: where the ink falls against what was
// measured, wrapping, truncation, fallback faces, shadows and alignment.

#include "graphics/CairoPtr.h"
#include "graphics/PixelProbe.h"
#include "ui/TextLayout.h"
#include "ui/UIFont.h"
#include "ui/UILabel.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

using namespace NSString_UIStringDrawing;

struct Ink {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1; // right and bottom inclusive
    int count = 0;
    bool any() const { return count > 0; }
};

// The box around the pixels that `is` picks.
Ink inkOf(cairo_surface_t* surface, const std::function<bool(const Pixel&)>& is)
{
    Ink ink;
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!is(pixelAt(surface, x, y)))
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ++ink.count;
        }
    }
    return ink;
}

bool dark(const Pixel& p) { return p[3] > 0 && p[0] < 128 && p[1] < 128 && p[2] < 128; }
bool reddish(const Pixel& p) { return p[3] > 0 && p[0] > 150 && p[1] < 110 && p[2] < 110; }
bool inked(const Pixel& p) { return p[3] > 40; }

// `layout` drawn in black at (x, y) of a transparent image of w x h points at `scale`.
CairoSurfacePtr drawn(const TextLayout& layout, CGRect rect, int w, int h, double scale = 1)
{
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(w * scale), int(h * scale)));
    CairoContextPtr cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), scale, scale);
    Painter painter(cr.get());
    layout.draw(painter, rect, {0, 0, 0, 1});
    cairo_surface_flush(surface.get());
    return surface;
}

UILabelRef clearLabel(CGRect frame, const std::string& text)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setBackgroundColor(UIColor::clearColor());
    label->setText(text);
    return label;
}

UIFontRef helvetica(CGFloat size = 17) { return UIFont::fontWithName("Helvetica", size); }

} // namespace

TEST(TextLayout, MeasuredSizeIsTheExtentDrawnAtEveryScale)
{
    UIFontRef font = helvetica(20);
    ASSERT_TRUE(font);
    for (const char* text : {"Tap to close all Apps", "Wy", "jolly quip"}) {
        CGSize size = sizeWithFont(text, font);
        TextLayout layout(text, *font, {0, 0, 0, UILineBreakModeClip});
        EXPECT_EQ(layout.size(), size) << text;
        for (double scale : {1.0, 2.0}) {
            CairoSurfacePtr image = drawn(layout, {{10, 10}, size}, int(size.width) + 20, int(size.height) + 20, scale);
            Ink ink = inkOf(image.get(), inked);
            ASSERT_TRUE(ink.any()) << text;
            // The ink lies inside the measured box and reaches across nearly all of it.
            EXPECT_GE(ink.left, int(9 * scale)) << text;
            EXPECT_LE(ink.left, int(12 * scale)) << text;
            EXPECT_LE(ink.right, int((10 + size.width + 1) * scale)) << text;
            EXPECT_GE(ink.right, int((10 + size.width - 3) * scale)) << text;
            EXPECT_GE(ink.top, int(10 * scale)) << text;
            EXPECT_LE(ink.bottom, int((10 + size.height + 1) * scale)) << text;
        }
    }
    // A label sized to fit shows all of its text: nothing is cut at the right.
    auto label = clearLabel(CGRectZero, "Hide Center After Closing");
    label->setFont(UIFont::boldSystemFontOfSize(17));
    label->sizeToFit();
    EXPECT_EQ(label->frame().size, sizeWithFont(label->text(), label->font()));
    TextLayout fitted(label->text(), *label->font(), {label->frame().size.width, 0, 1, UILineBreakModeTailTruncation});
    EXPECT_FALSE(fitted.isTruncated());
}

TEST(TextLayout, WrapsAtWordBoundariesAndBreaksOnlyTooLongWords)
{
    UIFontRef font = helvetica();
    CGFloat lineHeight = sizeWithFont("Close", font).height;
    CGFloat bound = sizeWithFont("Close Cen", font).width;
    // "Close Center" does not fit: word wrap moves the whole second word down.
    CGSize words = sizeWithFont("Close Center", font, CGSize {bound, 1000}, UILineBreakModeWordWrap);
    EXPECT_EQ(words.height, 2 * lineHeight);
    EXPECT_LE(words.width, std::max(sizeWithFont("Close ", font).width, sizeWithFont("Center", font).width));
    // Character wrap fills the first line as far as it goes.
    TextLayout chars("Close Center", *font, {bound, 0, 0, UILineBreakModeCharacterWrap});
    EXPECT_EQ(chars.lineCount(), 2);
    EXPECT_GE(chars.size().width, sizeWithFont("Close Ce", font).width);
    // A single word wider than the line is broken inside, never drawn past the bound.
    TextLayout word("Supercalifragilistic", *font, {60, 0, 0, UILineBreakModeWordWrap});
    EXPECT_GT(word.lineCount(), 1);
    EXPECT_LE(word.size().width, 60);
    // A height bound keeps the lines that fit and no fewer than one.
    TextLayout cut("one two three four five six seven", *font, {60, 2 * lineHeight + 1, 0, UILineBreakModeWordWrap});
    EXPECT_EQ(cut.lineCount(), 2);
    EXPECT_TRUE(cut.isTruncated());
    TextLayout low("one two three", *font, {60, 3, 0, UILineBreakModeWordWrap});
    EXPECT_EQ(low.lineCount(), 1);
}

TEST(TextLayout, TruncationPutsAnEllipsisWithinTheFrame)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 300, 40));
    window->setBackgroundColor(UIColor::whiteColor());
    auto label = clearLabel(CGRectMake(50, 5, 100, 30), "Close When Center Opens and more");
    window->addSubview(label);
    for (int mode : {UILineBreakModeTailTruncation, UILineBreakModeHeadTruncation, UILineBreakModeMiddleTruncation}) {
        label->setLineBreakMode(mode);
        CairoSurfacePtr image = window->renderImage(1);
        Ink ink = inkOf(image.get(), dark);
        ASSERT_TRUE(ink.any()) << mode;
        EXPECT_EQ(label->frame(), CGRectMake(50, 5, 100, 30)) << mode;
        EXPECT_GE(ink.left, 50) << mode;
        EXPECT_LT(ink.right, 150) << mode;
        // Text runs (nearly) to both ends: cut down to fit, not cut off by the frame.
        EXPECT_LE(ink.left, 53) << mode;
        EXPECT_GE(ink.right, 138) << mode;
        TextLayout layout(label->text(), *label->font(), {100, 0, 1, mode});
        EXPECT_TRUE(layout.isTruncated()) << mode;
        EXPECT_LE(layout.size().width, 100) << mode;
    }
    // The ellipsis is drawn where the tail was: the last few points hold three dots, low in
    // the line, unlike the letters of the clipped text.
    label->setLineBreakMode(UILineBreakModeTailTruncation);
    label->setText("WWWWWWWWWWWWWWWWWWWWW");
    Ink tail = inkOf(window->renderImage(1).get(), dark);
    label->setLineBreakMode(UILineBreakModeClip);
    Ink clipped = inkOf(window->renderImage(1).get(), dark);
    EXPECT_LT(tail.count, clipped.count);
    // Several lines: the last one shown carries the ellipsis, the rest is left out.
    label->setText("one two three four five six seven eight nine ten");
    label->setNumberOfLines(2);
    label->setLineBreakMode(UILineBreakModeTailTruncation);
    CGSize two = label->sizeThatFits({100, 0});
    EXPECT_EQ(two.height, 2 * sizeWithFont("one", label->font()).height);
    label->setNumberOfLines(0);
    EXPECT_GT(label->sizeThatFits({100, 0}).height, two.height);
}

TEST(TextLayout, MixedScriptsDrawGlyphsFromFacesThatHaveThem)
{
    UIFontRef font = helvetica();
    const char* line = "Καλημέρα Привет שלום مرحبا 😀";
    TextLayout mixed(line, *font, {0, 0, 1, UILineBreakModeClip});
    EXPECT_EQ(mixed.unknownGlyphCount(), 0);
    // The check is live: a character no face has is counted (and drawn as a box).
    TextLayout missing("\xF3\xB0\x80\x80", *font, {0, 0, 1, UILineBreakModeClip}); // U+F0000, private use
    EXPECT_GT(missing.unknownGlyphCount(), 0);
    // Each script puts ink inside its label.
    for (const char* word : {"Καλημέρα", "Привет", "שלום", "مرحبا", "😀"}) {
        auto label = clearLabel(CGRectMake(0, 0, 120, 30), word);
        CairoSurfacePtr image = UIRenderView(*label, 1);
        Ink ink = inkOf(image.get(), inked);
        EXPECT_GT(ink.count, 20) << word;
        TextLayout alone(word, *font, {120, 0, 1, UILineBreakModeTailTruncation});
        EXPECT_EQ(alone.unknownGlyphCount(), 0) << word;
        EXPECT_FALSE(alone.isTruncated()) << word;
    }
    // The emoji keeps its colour when drawn in black.
    auto emoji = clearLabel(CGRectMake(0, 0, 40, 30), "😀");
    Ink yellow = inkOf(UIRenderView(*emoji, 1).get(), [](const Pixel& p) { return p[3] > 200 && p[0] > 180 && p[1] > 120 && p[2] < 100; });
    EXPECT_GT(yellow.count, 20);
}

TEST(TextLayout, ShadowFallsAtItsOffsetInItsColour)
{
    auto label = clearLabel(CGRectMake(0, 0, 60, 40), "I");
    label->setFont(UIFont::boldSystemFontOfSize(30));
    label->setTextColor(UIColor::blackColor());
    CairoSurfacePtr plain = UIRenderView(*label, 1);
    Ink black = inkOf(plain.get(), dark);
    EXPECT_EQ(inkOf(plain.get(), reddish).count, 0);
    label->setShadowColor(UIColor::redColor());
    label->setShadowOffset({6, 3});
    CairoSurfacePtr shadowed = UIRenderView(*label, 1);
    Ink red = inkOf(shadowed.get(), reddish);
    ASSERT_TRUE(red.any());
    EXPECT_NEAR(red.right - black.right, 6, 1);
    EXPECT_NEAR(red.bottom - black.bottom, 3, 1);
    // The text itself stays where it was, drawn over its shadow.
    EXPECT_EQ(inkOf(shadowed.get(), dark).left, black.left);
}

// The part of `image` from row `top` to row `bottom` (exclusive), as an image of its own.
CairoSurfacePtr rowsOf(cairo_surface_t* image, int top, int bottom)
{
    CairoSurfacePtr part(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, cairo_image_surface_get_width(image), bottom - top));
    CairoContextPtr cr(cairo_create(part.get()));
    cairo_set_source_surface(cr.get(), image, 0, -top);
    cairo_paint(cr.get());
    cairo_surface_flush(part.get());
    return part;
}

TEST(TextLayout, AlignmentPlacesEveryLine)
{
    auto label = clearLabel(CGRectMake(0, 0, 200, 60), "Short\nA much longer line");
    label->setNumberOfLines(0);
    auto centreOf = [](const Ink& ink) { return (ink.left + ink.right) / 2.0; };
    for (int alignment : {UITextAlignmentLeft, UITextAlignmentCenter, UITextAlignmentRight}) {
        label->setTextAlignment(alignment);
        CairoSurfacePtr image = UIRenderView(*label, 1);
        // The two lines, told apart around the text block's vertical middle (the second
        // line's ascenders reach up to it).
        CGRect text = label->textRectForBounds(label->bounds(), 0);
        int middle = int(text.origin.y + text.size.height / 2);
        Ink shortLine = inkOf(rowsOf(image.get(), 0, middle - 3).get(), dark);
        Ink longLine = inkOf(rowsOf(image.get(), middle + 3, 60).get(), dark);
        ASSERT_TRUE(shortLine.any() && longLine.any()) << alignment;
        EXPECT_LT(shortLine.right - shortLine.left, longLine.right - longLine.left);
        if (alignment == UITextAlignmentLeft) {
            EXPECT_LE(shortLine.left, 2);
            EXPECT_LE(longLine.left, 2);
        } else if (alignment == UITextAlignmentCenter) {
            EXPECT_NEAR(centreOf(shortLine), 100, 2);
            EXPECT_NEAR(centreOf(longLine), 100, 2);
        } else {
            EXPECT_GE(shortLine.right, 196);
            EXPECT_GE(longLine.right, 196);
        }
    }
    // One line sits centred vertically in a taller label.
    auto one = clearLabel(CGRectMake(0, 0, 100, 60), "Hx");
    Ink ink = inkOf(UIRenderView(*one, 1).get(), dark);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 30, 4);
}

TEST(TextLayout, ShrinksOneLineToFitBeforeTruncating)
{
    auto label = clearLabel(CGRectMake(0, 0, 120, 30), "Tap to close all Apps");
    CGFloat actual = 0;
    CGSize shrunk = sizeWithFont(label->text(), label->font(), 10, &actual, 120, UILineBreakModeTailTruncation);
    EXPECT_LT(actual, 17);
    EXPECT_GE(actual, 10);
    EXPECT_LE(shrunk.width, 120);
    EXPECT_FALSE(TextLayout(label->text(), *label->font()->fontWithSize(actual), {120, 0, 1, UILineBreakModeTailTruncation}).isTruncated());
    // Not below the minimum: past it the line is truncated instead.
    sizeWithFont("An extremely long line of text that cannot fit", label->font(), 14, &actual, 120, UILineBreakModeTailTruncation);
    EXPECT_EQ(actual, 14);
    // The label draws the whole shrunk line: more ink than the truncated one at full size.
    Ink truncated = inkOf(UIRenderView(*label, 1).get(), dark);
    label->setAdjustsFontSizeToFitWidth(true);
    label->setMinimumFontSize(8);
    Ink fitted = inkOf(UIRenderView(*label, 1).get(), dark);
    EXPECT_LT(fitted.bottom - fitted.top, truncated.bottom - truncated.top);
    EXPECT_LT(fitted.right, 120);
}

TEST(TextLayout, BadTextIsDrawnNotRefused)
{
    UIFontRef font = helvetica();
    // A stray byte, a cut sequence and a NUL: the rest of the text still shows.
    std::string text = std::string("ab\xFF") + "cd\xE2\x82" + std::string(1, '\0') + "ef";
    TextLayout layout(text, *font, {0, 0, 1, UILineBreakModeClip});
    EXPECT_GT(layout.size().width, sizeWithFont("abcdef", font).width);
    EXPECT_EQ(sizeWithFont("", font).width, 0);
    EXPECT_EQ(sizeWithFont("abc", nullptr), CGSizeZero);
}
