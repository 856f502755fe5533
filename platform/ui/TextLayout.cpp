#include "ui/TextLayout.h"

#include "ui/FontCatalog.h"
#include "ui/TextLayoutContext.h"
#include "ui/UIFont.h"
#include "ui/UIGraphics.h"

#include <pango/pangocairo.h>
#include <pango/pangofc-fontmap.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <map>

namespace text_layout {
namespace {

constexpr std::string_view kFacePrefix = "RvxFace-";

// Called on every pattern the font map builds from a description: a family naming one of
// the catalogue's faces becomes that face, pinned; any other pattern passes unchanged.
void pinFace(FcPattern* pattern, gpointer)
{
    FcChar8* family = nullptr;
    if (FcPatternGetString(pattern, FC_FAMILY, 0, &family) != FcResultMatch)
        return;
    std::string_view name(reinterpret_cast<const char*>(family));
    if (!name.starts_with(kFacePrefix))
        return;
    std::string digits(name.substr(kFacePrefix.size()));
    char* end = nullptr;
    unsigned long index = std::strtoul(digits.c_str(), &end, 10);
    if (end == digits.c_str() || *end)
        return;
    if (const FontFaceEntry* entry = FontCatalog::shared().entry(index))
        FontCatalog::pin(pattern, *entry);
}

struct State {
    PangoFontMap* fontMap = nullptr;
    PangoContext* context = nullptr;
    std::map<std::pair<std::string, int>, Metrics> metrics;
};

// Made once and kept for the life of the process, as the font caches under it are.
State& state()
{
    static State* shared = [] {
        auto* made = new State;
        made->fontMap = pango_cairo_font_map_new_for_font_type(CAIRO_FONT_TYPE_FT);
        pango_fc_font_map_set_default_substitute(PANGO_FC_FONT_MAP(made->fontMap), pinFace, nullptr, nullptr);
        made->context = pango_font_map_create_context(made->fontMap);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        pango_cairo_context_set_font_options(made->context, options);
        cairo_font_options_destroy(options);
        pango_cairo_context_set_resolution(made->context, 72); // a point is a unit
        pango_context_set_round_glyph_positions(made->context, FALSE);
        pango_context_set_language(made->context, pango_language_from_string("en-us"));
        pango_context_set_base_dir(made->context, PANGO_DIRECTION_LTR);
        return made;
    }();
    return *shared;
}

} // namespace

std::mutex& lock()
{
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

PangoContext* context()
{
    return state().context;
}

std::string faceFamily(size_t index)
{
    return std::string(kFacePrefix) + std::to_string(index);
}

Metrics metrics(const UIFont& font)
{
    const PangoFontDescription* description = font.pangoDescription();
    if (!description)
        return {};
    std::lock_guard guard(lock());
    State& shared = state();
    const char* family = pango_font_description_get_family(description);
    auto key = std::pair(std::string(family ? family : ""), pango_font_description_get_size(description));
    if (auto it = shared.metrics.find(key); it != shared.metrics.end())
        return it->second;
    PangoFontMetrics* measured = pango_context_get_metrics(shared.context, description, nullptr);
    Metrics result {CGFloat(pango_font_metrics_get_ascent(measured)) / PANGO_SCALE,
        CGFloat(pango_font_metrics_get_descent(measured)) / PANGO_SCALE};
    pango_font_metrics_unref(measured);
    shared.metrics.emplace(key, result);
    return result;
}

} // namespace text_layout

namespace {

// Pango takes valid UTF-8 only: a stray byte becomes U+FFFD and a NUL is left out.
std::string validText(std::string_view text)
{
    std::string bare;
    bare.reserve(text.size());
    for (char c : text) {
        if (c != '\0')
            bare.push_back(c);
    }
    if (g_utf8_validate(bare.data(), gssize(bare.size()), nullptr))
        return bare;
    gchar* valid = g_utf8_make_valid(bare.data(), gssize(bare.size()));
    std::string result(valid);
    g_free(valid);
    return result;
}

PangoAlignment pangoAlignment(int alignment)
{
    if (alignment == UITextAlignmentCenter)
        return PANGO_ALIGN_CENTER;
    if (alignment == UITextAlignmentRight)
        return PANGO_ALIGN_RIGHT;
    return PANGO_ALIGN_LEFT;
}

PangoEllipsizeMode pangoEllipsis(int mode)
{
    switch (mode) {
    case UILineBreakModeHeadTruncation: return PANGO_ELLIPSIZE_START;
    case UILineBreakModeMiddleTruncation: return PANGO_ELLIPSIZE_MIDDLE;
    case UILineBreakModeTailTruncation: return PANGO_ELLIPSIZE_END;
    default: return PANGO_ELLIPSIZE_NONE;
    }
}

bool bounded(CGFloat extent)
{
    return extent > 0 && std::isfinite(extent);
}

// The number of lines of `layout` that the bounds show, and the bottom of the last (Pango
// units from the layout's top). At least one line shows, however low the bound.
std::pair<int, int> linesShown(PangoLayout* layout, int maxLines, CGFloat maxHeight)
{
    int shown = 0;
    int bottom = 0;
    PangoLayoutIter* iter = pango_layout_get_iter(layout);
    do {
        int top = 0, lineBottom = 0;
        pango_layout_iter_get_line_yrange(iter, &top, &lineBottom);
        if (shown >= maxLines)
            break;
        if (shown > 0 && bounded(maxHeight) && lineBottom > pango_units_from_double(maxHeight))
            break;
        ++shown;
        bottom = lineBottom;
    } while (pango_layout_iter_next_line(iter));
    pango_layout_iter_free(iter);
    return {shown, bottom};
}

} // namespace

TextLayout::TextLayout(std::string_view text, const UIFont& font, const Bounds& bounds)
    : _alignment(bounds.alignment)
{
    std::lock_guard guard(text_layout::lock());
    _layout = pango_layout_new(text_layout::context());
    // The alignment is the caller's, whichever way the text runs.
    pango_layout_set_auto_dir(_layout, FALSE);
    if (const PangoFontDescription* description = font.pangoDescription())
        pango_layout_set_font_description(_layout, description);
    std::string valid = validText(text);
    pango_layout_set_text(_layout, valid.data(), int(valid.size()));
    pango_layout_set_alignment(_layout, pangoAlignment(bounds.alignment));

    int mode = std::clamp(bounds.lineBreakMode, int(UILineBreakModeWordWrap), int(UILineBreakModeMiddleTruncation));
    bool severalLines = bounds.lines != 1;
    if (bounded(bounds.width) && (severalLines || mode != UILineBreakModeClip)) {
        _boundedWidth = true;
        pango_layout_set_width(_layout, pango_units_from_double(bounds.width));
        pango_layout_set_wrap(_layout, mode == UILineBreakModeCharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    }
    int maxLines = bounds.lines > 0 ? bounds.lines : INT_MAX;
    auto [shown, bottom] = linesShown(_layout, maxLines, bounds.height);
    int total = pango_layout_get_line_count(_layout);
    if (shown < total) {
        _truncated = true;
        PangoEllipsizeMode ellipsis = pangoEllipsis(mode);
        if (ellipsis != PANGO_ELLIPSIZE_NONE && _boundedWidth) {
            // Pango keeps the lines that fit the height and puts the rest of the text, cut
            // down to an ellipsis, into the last of them.
            pango_layout_set_ellipsize(_layout, ellipsis);
            pango_layout_set_height(_layout, bottom);
            std::tie(shown, bottom) = linesShown(_layout, maxLines, bounds.height);
        }
    }
    if (!_truncated && _boundedWidth && pango_layout_is_ellipsized(_layout))
        _truncated = true;
    _shownLines = shown;

    PangoRectangle logical {};
    int width = 0;
    PangoLayoutIter* iter = pango_layout_get_iter(_layout);
    for (int line = 0; line < shown; ++line) {
        pango_layout_iter_get_line_extents(iter, nullptr, &logical);
        width = std::max(width, logical.width);
        if (line == 0)
            _firstBaseline = CGFloat(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
        if (!pango_layout_iter_next_line(iter))
            break;
    }
    pango_layout_iter_free(iter);
    _exactWidth = CGFloat(width) / PANGO_SCALE;
    _size = {CGFloat(std::ceil(double(width) / PANGO_SCALE - 1e-4)), CGFloat(std::ceil(double(bottom) / PANGO_SCALE - 1e-4))};
}

int TextLayout::unknownGlyphCount() const
{
    std::lock_guard guard(text_layout::lock());
    return pango_layout_get_unknown_glyphs_count(_layout);
}

TextLayout::~TextLayout()
{
    if (_layout) {
        std::lock_guard guard(text_layout::lock());
        g_object_unref(_layout);
    }
}

void TextLayout::drawLines(cairo_t* cr, CGFloat left, CGFloat top) const
{
    PangoLayoutIter* iter = pango_layout_get_iter(_layout);
    for (int index = 0; index < _shownLines; ++index) {
        PangoLayoutLine* line = pango_layout_iter_get_line_readonly(iter);
        PangoRectangle placed {}, own {};
        pango_layout_iter_get_line_extents(iter, nullptr, &placed);
        pango_layout_line_get_extents(line, nullptr, &own);
        double x = left + double(placed.x - own.x) / PANGO_SCALE;
        double y = top + double(pango_layout_iter_get_baseline(iter)) / PANGO_SCALE;
        cairo_move_to(cr, x, y);
        pango_cairo_show_layout_line(cr, line);
        if (!pango_layout_iter_next_line(iter))
            break;
    }
    pango_layout_iter_free(iter);
}

void TextLayout::draw(Painter& painter, CGRect rect, RGBA color, const std::optional<TextShadow>& shadow) const
{
    if (!_layout || _shownLines == 0)
        return;
    std::lock_guard guard(text_layout::lock());
    cairo_t* cr = painter.cairo();
    CGFloat left = rect.origin.x;
    CGFloat top = rect.origin.y;
    if (!_boundedWidth) {
        CGFloat room = rect.size.width - _exactWidth;
        if (room > 0 && _alignment == UITextAlignmentCenter)
            left += room / 2;
        else if (room > 0 && _alignment == UITextAlignmentRight)
            left += room;
    }
    if (shadow && shadow->color[3] > 0) {
        auto saved = painter.save();
        // Through a mask, so that colour glyphs cast a shadow of the shadow's colour too.
        cairo_push_group(cr);
        drawLines(cr, left + shadow->offset.width, top + shadow->offset.height);
        cairo_pattern_t* mask = cairo_pop_group(cr);
        cairo_set_source_rgba(cr, shadow->color[0], shadow->color[1], shadow->color[2], shadow->color[3]);
        cairo_mask(cr, mask);
        cairo_pattern_destroy(mask);
    }
    if (color[3] > 0) {
        auto saved = painter.save();
        cairo_set_source_rgba(cr, color[0], color[1], color[2], color[3]);
        drawLines(cr, left, top);
    }
}

namespace NSString_UIStringDrawing {

CGSize sizeWithFont(std::string_view text, const UIFontRef& font)
{
    if (!font)
        return CGSizeZero;
    return TextLayout(text, *font, {0, 0, 0, UILineBreakModeClip}).size();
}

CGSize sizeWithFont(std::string_view text, const UIFontRef& font, CGFloat width, int lineBreakMode)
{
    if (!font)
        return CGSizeZero;
    CGSize size = TextLayout(text, *font, {width, 0, 1, lineBreakMode}).size();
    if (bounded(width))
        size.width = std::min(size.width, CGFloat(std::ceil(width)));
    return size;
}

CGSize sizeWithFont(std::string_view text, const UIFontRef& font, CGSize size, int lineBreakMode)
{
    if (!font)
        return CGSizeZero;
    CGSize fitted = TextLayout(text, *font, {size.width, size.height, 0, lineBreakMode}).size();
    if (bounded(size.width))
        fitted.width = std::min(fitted.width, CGFloat(std::ceil(size.width)));
    return fitted;
}

CGSize sizeWithFont(std::string_view text, const UIFontRef& font, CGFloat minFontSize, CGFloat* actualFontSize,
    CGFloat width, int lineBreakMode)
{
    if (!font)
        return CGSizeZero;
    CGFloat fontSize = font->pointSize();
    UIFontRef used = font;
    if (bounded(width)) {
        CGFloat natural = sizeWithFont(text, font).width;
        CGFloat floor = std::clamp<CGFloat>(minFontSize, 1, fontSize);
        if (natural > width && fontSize > floor) {
            // The width grows almost in proportion to the size: start from the proportional
            // guess and step down until the line fits.
            fontSize = std::max(floor, CGFloat(std::floor(fontSize * width / natural * 2) / 2));
            used = font->fontWithSize(fontSize);
            while (fontSize > floor && sizeWithFont(text, used).width > width) {
                fontSize = std::max(floor, fontSize - CGFloat(0.5));
                used = font->fontWithSize(fontSize);
            }
        }
    }
    if (actualFontSize)
        *actualFontSize = fontSize;
    return sizeWithFont(text, used, width, lineBreakMode);
}

CGSize drawAtPoint(std::string_view text, CGPoint point, const UIFontRef& font)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!font || !context)
        return CGSizeZero;
    TextLayout layout(text, *font, {0, 0, 0, UILineBreakModeClip});
    layout.draw(context->painter(), {point, layout.size()}, context->fillColor());
    return layout.size();
}

CGSize drawInRect(std::string_view text, CGRect rect, const UIFontRef& font, int lineBreakMode, int alignment)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!font || !context)
        return CGSizeZero;
    TextLayout layout(text, *font, {rect.size.width, rect.size.height, 0, lineBreakMode, alignment});
    layout.draw(context->painter(), rect, context->fillColor());
    return layout.size();
}

} // namespace NSString_UIStringDrawing
