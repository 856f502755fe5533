// The "TextColor" reader over any text: never fails, and what the colour text writer makes
// of the result reads back as four numbers (never white by fallback unless it was white).

#include "FuzzCheck.h"

#include "shared/RVXSettings.h"

#include <cmath>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace RVXSettings;
    TextColor color = parseTextColor(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string text = textColorString(color);
    bool finite = std::isfinite(color.hue) && std::isfinite(color.saturation)
        && std::isfinite(color.brightness) && std::isfinite(color.alpha);
    if (finite) {
        // Six decimals lose precision but never the count of parts.
        TextColor again = parseTextColor(text);
        RVX_FUZZ_CHECK(std::fabs(again.hue - color.hue) <= 1e-6f * std::fmax(1.f, std::fabs(color.hue)) + 1e-6f);
        RVX_FUZZ_CHECK(std::fabs(again.alpha - color.alpha) <= 1e-6f * std::fmax(1.f, std::fabs(color.alpha)) + 1e-6f);
    }
    return 0;
}
