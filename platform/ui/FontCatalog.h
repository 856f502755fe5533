#pragma once

// The faces UIFont knows: name, family, and the file and index they load from.

#include <cairo.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct FontFaceEntry {
    std::string postScriptName;
    std::vector<std::string> fullNames;
    std::string family;
    std::string file;
    int index = 0;
};

class FontCatalog {
public:
    static const FontCatalog& shared();

    // Matches a PostScript name, then a full name, exactly.
    const FontFaceEntry* find(std::string_view name) const;
    std::vector<std::string> familyNames() const;
    std::vector<std::string> faceNames(std::string_view family) const;
    // Loaded once per face and kept for the life of the process.
    std::shared_ptr<cairo_font_face_t> load(const FontFaceEntry& entry) const;

private:
    FontCatalog();

    std::vector<FontFaceEntry> _faces; // families sorted; faces in catalogue order
};
