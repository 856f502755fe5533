#include "ui/UIFont.h"

#include "ui/FontCatalog.h"

#include <cmath>
#include <string>

RVX_DEFINE_CLASS(UIFont, NSObject)

UIFontRef UIFont::fontWithName(std::string_view name, CGFloat size)
{
    const FontCatalog& catalog = FontCatalog::shared();
    const FontFaceEntry* entry = catalog.find(name);
    if (!entry || !(size > 0) || !std::isfinite(size))
        return nullptr;
    auto face = catalog.load(*entry);
    if (!face)
        return nullptr;
    auto font = std::make_shared<UIFont>();
    font->_fontName = entry->postScriptName;
    font->_familyName = entry->family;
    font->_pointSize = size;
    font->_face = std::move(face);
    return font;
}

namespace {

// The system font is never nothing: without the core faces any installed face draws it,
// and with no face at all Cairo's own sans-serif does.
UIFontRef systemFont(const char* name, CGFloat size)
{
    if (!(size > 0) || !std::isfinite(size))
        size = 17;
    if (UIFontRef font = UIFont::fontWithName(name, size))
        return font;
    for (const std::string& family : UIFont::familyNames()) {
        for (const std::string& face : UIFont::fontNamesForFamilyName(family)) {
            if (UIFontRef font = UIFont::fontWithName(face, size))
                return font;
        }
    }
    return nullptr;
}

} // namespace

UIFontRef UIFont::systemFontOfSize(CGFloat size)
{
    if (UIFontRef font = systemFont("Helvetica", size))
        return font;
    auto font = std::make_shared<UIFont>();
    font->_fontName = font->_familyName = "Helvetica";
    font->_pointSize = size > 0 ? size : 17;
    return font;
}

UIFontRef UIFont::boldSystemFontOfSize(CGFloat size)
{
    if (UIFontRef font = systemFont("Helvetica-Bold", size))
        return font;
    return systemFontOfSize(size);
}

std::vector<std::string> UIFont::familyNames()
{
    return FontCatalog::shared().familyNames();
}

std::vector<std::string> UIFont::fontNamesForFamilyName(std::string_view family)
{
    return FontCatalog::shared().faceNames(family);
}

UIFontRef UIFont::fontWithSize(CGFloat size) const
{
    auto font = std::make_shared<UIFont>();
    font->_fontName = _fontName;
    font->_familyName = _familyName;
    font->_pointSize = size;
    font->_face = _face;
    return font;
}

void UIFont::applyTo(cairo_t* cr) const
{
    if (_face)
        cairo_set_font_face(cr, _face.get());
    else
        cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, _pointSize);
}

CGSize UIFont::sizeWithText(std::string_view text) const
{
    // A scratch context: measuring must not depend on any surface being drawn.
    static cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    applyTo(cr);
    std::string line(text);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, line.c_str(), &extents);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    cairo_destroy(cr);
    return {CGFloat(std::ceil(extents.x_advance)), CGFloat(std::ceil(font.ascent + font.descent))};
}

void UIFont::drawText(Painter& painter, std::string_view text, CGRect rect, int alignment, RGBA color) const
{
    if (text.empty() || color[3] <= 0)
        return;
    cairo_t* cr = painter.cairo();
    auto saved = painter.save();
    applyTo(cr);
    std::string line(text);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, line.c_str(), &extents);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    double x = rect.origin.x;
    if (alignment == 1)
        x += (rect.size.width - extents.x_advance) / 2;
    else if (alignment == 2)
        x += rect.size.width - extents.x_advance;
    double baseline = rect.origin.y + (rect.size.height - (font.ascent + font.descent)) / 2 + font.ascent;
    cairo_set_source_rgba(cr, color[0], color[1], color[2], color[3]);
    cairo_move_to(cr, x, baseline);
    cairo_show_text(cr, line.c_str());
}
