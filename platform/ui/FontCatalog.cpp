#include "ui/FontCatalog.h"


#include <algorithm>
#include <map>
#include <set>

namespace {

struct CoreFace {
    const char* family;
    const char* name;
    const char* source; // PostScript name of the installed face that draws it
};

// The phone's core faces in the order the phone lists them.
constexpr CoreFace kCoreFaces[] = {
    {"Helvetica", "Helvetica", "NimbusSans-Regular"},
    {"Helvetica", "Helvetica-Bold", "NimbusSans-Bold"},
    {"Helvetica", "Helvetica-Oblique", "NimbusSans-Italic"},
    {"Helvetica", "Helvetica-BoldOblique", "NimbusSans-BoldItalic"},
    {"Courier", "Courier", "NimbusMonoPS-Regular"},
    {"Courier", "Courier-Bold", "NimbusMonoPS-Bold"},
    {"Courier", "Courier-Oblique", "NimbusMonoPS-Italic"},
    {"Courier", "Courier-BoldOblique", "NimbusMonoPS-BoldItalic"},
    {"Times New Roman", "TimesNewRomanPSMT", "NimbusRoman-Regular"},
    {"Times New Roman", "TimesNewRomanPS-BoldMT", "NimbusRoman-Bold"},
    {"Times New Roman", "TimesNewRomanPS-ItalicMT", "NimbusRoman-Italic"},
    {"Times New Roman", "TimesNewRomanPS-BoldItalicMT", "NimbusRoman-BoldItalic"},
};

// Scalable outline formats first: the same face is often installed as OpenType and Type 1.
int fileRank(const std::string& file)
{
    auto endsWith = [&](std::string_view suffix) {
        return file.size() >= suffix.size() && file.compare(file.size() - suffix.size(), suffix.size(), suffix) == 0;
    };
    if (endsWith(".otf") || endsWith(".ttf") || endsWith(".ttc"))
        return 0;
    return 1;
}

std::vector<std::string> stringValues(FcPattern* pattern, const char* object)
{
    std::vector<std::string> values;
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, object, i, &value) == FcResultMatch; ++i)
        values.emplace_back(reinterpret_cast<const char*>(value));
    return values;
}

// Every face fontconfig lists, one entry per PostScript name.
std::map<std::string, FontFaceEntry> installedFaces()
{
    std::map<std::string, FontFaceEntry> faces;
    FcInit();
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_POSTSCRIPT_NAME, FC_FULLNAME, FC_FILE, FC_INDEX, FC_STYLE,
        FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, objects);
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        auto ps = stringValues(font, FC_POSTSCRIPT_NAME);
        auto family = stringValues(font, FC_FAMILY);
        auto file = stringValues(font, FC_FILE);
        int index = 0;
        FcPatternGetInteger(font, FC_INDEX, 0, &index);
        if (ps.empty() || family.empty() || file.empty())
            continue;
        FontFaceEntry entry;
        entry.postScriptName = entry.sourcePostScriptName = ps[0];
        entry.fullNames = stringValues(font, FC_FULLNAME);
        entry.family = entry.sourceFamily = family[0];
        entry.file = file[0];
        entry.index = index;
        if (auto style = stringValues(font, FC_STYLE); !style.empty())
            entry.style = style[0];
        FcPatternGetInteger(font, FC_WEIGHT, 0, &entry.weight);
        FcPatternGetInteger(font, FC_SLANT, 0, &entry.slant);
        FcPatternGetInteger(font, FC_WIDTH, 0, &entry.width);
        auto [it, added] = faces.emplace(entry.postScriptName, entry);
        if (!added && std::pair(fileRank(entry.file), entry.file) < std::pair(fileRank(it->second.file), it->second.file))
            it->second = entry;
    }
    if (set)
        FcFontSetDestroy(set);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return faces;
}

} // namespace

const FontCatalog& FontCatalog::shared()
{
    static const FontCatalog* catalog = new FontCatalog; // faces outlive static teardown
    return *catalog;
}

FontCatalog::FontCatalog()
{
    auto installed = installedFaces();
    std::map<std::string, std::vector<FontFaceEntry>> families;
    std::set<std::string> coreNames;
    for (const CoreFace& core : kCoreFaces) {
        auto source = installed.find(core.source);
        if (source == installed.end())
            continue;
        FontFaceEntry entry = source->second;
        entry.postScriptName = core.name;
        entry.fullNames = {core.name};
        entry.family = core.family;
        families[entry.family].push_back(entry);
        coreNames.insert(core.family);
    }
    for (auto& [name, entry] : installed) {
        if (!coreNames.contains(entry.family))
            families[entry.family].push_back(entry);
    }
    for (auto& [family, faces] : families) {
        if (!coreNames.contains(family)) {
            std::sort(faces.begin(), faces.end(),
                [](const FontFaceEntry& a, const FontFaceEntry& b) { return a.postScriptName < b.postScriptName; });
        }
        _faces.insert(_faces.end(), faces.begin(), faces.end());
    }
}

const FontFaceEntry* FontCatalog::find(std::string_view name) const
{
    for (const FontFaceEntry& face : _faces) {
        if (face.postScriptName == name)
            return &face;
    }
    for (const FontFaceEntry& face : _faces) {
        if (std::find(face.fullNames.begin(), face.fullNames.end(), name) != face.fullNames.end())
            return &face;
    }
    return nullptr;
}

std::vector<std::string> FontCatalog::familyNames() const
{
    std::vector<std::string> names;
    for (const FontFaceEntry& face : _faces) {
        if (names.empty() || names.back() != face.family)
            names.push_back(face.family);
    }
    return names;
}

std::vector<std::string> FontCatalog::faceNames(std::string_view family) const
{
    std::vector<std::string> names;
    for (const FontFaceEntry& face : _faces) {
        if (face.family == family)
            names.push_back(face.postScriptName);
    }
    return names;
}

void FontCatalog::pin(FcPattern* pattern, const FontFaceEntry& entry)
{
    auto text = [](const std::string& value) { return reinterpret_cast<const FcChar8*>(value.c_str()); };
    // The first family is the name the layer asked for; the families after it are the
    // configuration's fallbacks, which stay. The file ranks first in fontconfig's sort; the
    // weight, slant and width pick the face within a collection and rank the fallbacks,
    // whose style names differ ("Book", "Regular") where their weights do not.
    FcPatternRemove(pattern, FC_FAMILY, 0);
    FcValue family {};
    family.type = FcTypeString;
    family.u.s = text(entry.sourceFamily);
    FcPatternAdd(pattern, FC_FAMILY, family, FcFalse); // FcFalse: in front
    for (const char* object : {FC_FILE, FC_INDEX, FC_POSTSCRIPT_NAME, FC_STYLE, FC_WEIGHT, FC_SLANT, FC_WIDTH})
        FcPatternDel(pattern, object);
    FcPatternAddString(pattern, FC_FILE, text(entry.file));
    FcPatternAddInteger(pattern, FC_INDEX, entry.index);
    if (entry.weight >= 0)
        FcPatternAddInteger(pattern, FC_WEIGHT, entry.weight);
    if (entry.slant >= 0)
        FcPatternAddInteger(pattern, FC_SLANT, entry.slant);
    if (entry.width >= 0)
        FcPatternAddInteger(pattern, FC_WIDTH, entry.width);
}
