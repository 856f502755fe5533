#pragma once

// Fonts by PostScript or full name. The catalogue is the phone's core families (Helvetica,
// Courier, Times New Roman, drawn with the metric-compatible URW faces) plus every face
// fontconfig lists; a name outside it gives no font, never a substitute.

#include "graphics/CGGeometry.h"
#include "graphics/Painter.h"
#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <cairo.h>

#include <string>
#include <vector>

class UIFont : public NSObject {
    RVX_OBJECT(UIFont)
public:
    UIFont() = default;

    static UIFontRef fontWithName(std::string_view name, CGFloat size);
    static UIFontRef systemFontOfSize(CGFloat size);
    static UIFontRef boldSystemFontOfSize(CGFloat size);
    static std::vector<std::string> familyNames();
    static std::vector<std::string> fontNamesForFamilyName(std::string_view family);

    const std::string& fontName() const { return _fontName; }
    const std::string& familyName() const { return _familyName; }
    CGFloat pointSize() const { return _pointSize; }
    UIFontRef fontWithSize(CGFloat size) const;

    // Text metrics and drawing on one line, the baseline placed so that the line's
    // ascent and descent are centred in `rect` vertically.
    CGSize sizeWithText(std::string_view text) const;
    void drawText(Painter& painter, std::string_view text, CGRect rect, int alignment, RGBA color) const;

private:
    void applyTo(cairo_t* cr) const;

    std::string _fontName;
    std::string _familyName;
    CGFloat _pointSize = 0;
    std::shared_ptr<cairo_font_face_t> _face;
};
