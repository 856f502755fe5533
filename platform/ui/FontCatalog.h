#pragma once

// The faces UIFont knows: name, family, and the file and index they load from.

#include <fontconfig/fontconfig.h>

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
    // The installed face as fontconfig lists it (a core face is drawn by another's).
    std::string sourceFamily;
    std::string sourcePostScriptName;
    std::string style;
    int weight = -1;
    int slant = -1;
    int width = -1;
};

class FontCatalog {
public:
    static const FontCatalog& shared();

    // Matches a PostScript name, then a full name, exactly.
    const FontFaceEntry* find(std::string_view name) const;
    std::vector<std::string> familyNames() const;
    std::vector<std::string> faceNames(std::string_view family) const;
    // The entry's place in the catalogue, which names it to the text layer.
    size_t indexOf(const FontFaceEntry& entry) const { return size_t(&entry - _faces.data()); }
    const FontFaceEntry* entry(size_t index) const { return index < _faces.size() ? &_faces[index] : nullptr; }
    // Makes a pattern the text layer matches ask for exactly this face first (its file, family,
    // weight, slant and width), so that fontconfig's sort puts it ahead of the faces that fill in the
    // characters it lacks.
    static void pin(FcPattern* pattern, const FontFaceEntry& entry);

private:
    FontCatalog();

    std::vector<FontFaceEntry> _faces; // families sorted; faces in catalogue order
};
