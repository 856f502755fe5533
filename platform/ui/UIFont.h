#pragma once

// Fonts by PostScript or full name. The catalogue is the phone's core families (Helvetica,
// Courier, Times New Roman, drawn with the metric-compatible URW faces) plus every face
// fontconfig lists; a name outside it gives no font, never a substitute.

#include "graphics/CGGeometry.h"
#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <string>
#include <vector>

typedef struct _PangoFontDescription PangoFontDescription;

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

    // The face's own metrics at this size (a line of fallback characters may be taller).
    CGFloat ascender() const;
    CGFloat descender() const; // below the baseline, negative
    CGFloat lineHeight() const { return ascender() - descender(); }

    // What the text layer asks Pango for; see TextLayout.
    const PangoFontDescription* pangoDescription() const;

    ~UIFont() override;

private:
    static UIFontRef make(std::string name, std::string family, CGFloat size, long face);

    std::string _fontName;
    std::string _familyName;
    CGFloat _pointSize = 0;
    long _face = -1; // the catalogue's index, -1 for the generic sans-serif
    PangoFontDescription* _description = nullptr;
};
