// The colour toolkit's three text parsers. The first byte picks the parser, the rest is the
// text. Parsers answer a colour or nil and never raise; what they answer is a colour the
// toolkit can read back.

#include "FuzzCheck.h"

#include "color/UIColorToolkit.h"

#include <cstdint>
#include <string_view>

namespace {

void parseBraceText(std::string_view text)
{
    UIColorRef color = UIColor_Toolkit::colorWithString(text);
    if (!color)
        return;
    // Only a grey {w, a} or an RGB colour {r, g, b, a} comes out, and both print back.
    RVX_FUZZ_CHECK(UIColor_Toolkit::canProvideRGBComponents(color));
    RVX_FUZZ_CHECK(UIColor_Toolkit::stringFromColor(color).has_value());
}

void parseHexText(std::string_view text)
{
    UIColorRef color = UIColor_Toolkit::colorWithHexString(text);
    if (!color)
        return;
    RVX_FUZZ_CHECK(UIColor_Toolkit::alpha(color) == 1.0f);
    RVX_FUZZ_CHECK(UIColor_Toolkit::rgbHex(color) <= 0xFFFFFFu);
}

void lookUpName(std::string_view name)
{
    UIColorRef cached = UIColor_Toolkit::colorWithName(name);
    UIColorRef searched = UIColor_ToolkitSupport::searchForColorByName(name);
    RVX_FUZZ_CHECK(bool(cached) == bool(searched));
    if (cached)
        RVX_FUZZ_CHECK(UIColor_Toolkit::rgbHex(cached) == UIColor_Toolkit::rgbHex(searched));
    // Asking again answers from the cache, the same way.
    RVX_FUZZ_CHECK(UIColor_Toolkit::colorWithName(name) == cached);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 3) {
    case 0:
        parseBraceText(text);
        break;
    case 1:
        parseHexText(text);
        break;
    default:
        lookUpName(text);
        break;
    }
    return 0;
}
