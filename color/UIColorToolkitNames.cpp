#include "color/NamedColorCache.h"
#include "color/NamedColorTable.h"
#include "color/UIColorToolkit.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace UIColor_ToolkitSupport {

UIColorRef searchForColorByName(std::string_view name)
{
    // A comma or number sign in the name would let the key span two entries ("blue#0000ff,red"
    // would find red); no name of the table holds either, nor a NUL, which would cut the key.
    if (name.find_first_of(std::string_view(",#\0", 3)) != std::string_view::npos)
        return nullptr;
    std::string key = "," + std::string(name) + "#";
    const char* entry = std::strstr(kNamedColorTable, key.c_str());
    if (!entry)
        return nullptr;
    unsigned hex = 0;
    if (std::sscanf(entry + key.size(), "%x", &hex) != 1)
        return nullptr;
    return UIColor_Toolkit::colorWithRGBHex(hex);
}

} // namespace UIColor_ToolkitSupport

namespace UIColor_Toolkit {

namespace {

NamedColorCache& namedColorCache()
{
    static NamedColorCache cache(UIColor_ToolkitSupport::searchForColorByName);
    return cache;
}

[[maybe_unused]] const bool loaded = (load(), true);

} // namespace

void load()
{
    namedColorCache();
}

UIColorRef colorWithName(std::string_view name)
{
    return namedColorCache().colorWithName(name);
}

} // namespace UIColor_Toolkit
