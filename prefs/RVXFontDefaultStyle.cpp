#include "RVXFontChoice.h"

namespace RVXFontChoice {

namespace {

size_t utf16Length(std::string_view text)
{
    size_t units = 0;
    for (unsigned char byte : text) {
        if ((byte & 0xC0) == 0x80)
            continue;
        units += byte >= 0xF0 ? 2 : 1; // four-byte sequences are surrogate pairs
    }
    return units;
}

} // namespace

std::optional<std::string> defaultStyle(const std::vector<std::string>& fontNames)
{
    static constexpr std::string_view suffix = "Regular";
    const std::string* candidate = nullptr;
    for (const std::string& name : fontNames) {
        if (name.ends_with(suffix))
            return name;
        if (!candidate || utf16Length(name) < utf16Length(*candidate))
            candidate = &name;
    }
    if (!candidate)
        return std::nullopt;
    return *candidate;
}

} // namespace RVXFontChoice
