#include "ui/UIFont.h"

#include "ui/FontCatalog.h"
#include "ui/TextLayoutContext.h"

#include <pango/pango.h>

#include <cmath>
#include <string>

RVX_DEFINE_CLASS(UIFont, NSObject)

UIFontRef UIFont::make(std::string name, std::string family, CGFloat size, long face)
{
    auto font = runtime::make<UIFont>();
    font->_fontName = std::move(name);
    font->_familyName = std::move(family);
    font->_pointSize = size;
    font->_face = face;
    font->_description = pango_font_description_new();
    std::string tag = face >= 0 ? text_layout::faceFamily(size_t(face)) : std::string("sans-serif");
    pango_font_description_set_family(font->_description, tag.c_str());
    pango_font_description_set_absolute_size(font->_description, double(size) * PANGO_SCALE);
    return font;
}

UIFont::~UIFont()
{
    if (_description)
        pango_font_description_free(_description);
}

UIFontRef UIFont::fontWithName(std::string_view name, CGFloat size)
{
    const FontCatalog& catalog = FontCatalog::shared();
    const FontFaceEntry* entry = catalog.find(name);
    if (!entry || !(size > 0) || !std::isfinite(size))
        return nullptr;
    return make(entry->postScriptName, entry->family, size, long(catalog.indexOf(*entry)));
}

namespace {

// The system font is never nothing: without the core faces any installed face draws it,
// and with no face at all fontconfig's own sans-serif does.
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
    return make("Helvetica", "Helvetica", size > 0 && std::isfinite(size) ? size : 17, -1);
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
    if (!(size > 0) || !std::isfinite(size))
        size = _pointSize;
    return make(_fontName, _familyName, size, _face);
}

const PangoFontDescription* UIFont::pangoDescription() const
{
    return _description;
}

CGFloat UIFont::ascender() const
{
    return text_layout::metrics(*this).ascent;
}

CGFloat UIFont::descender() const
{
    return -text_layout::metrics(*this).descent;
}
