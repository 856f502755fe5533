// The one "TextColor" reader over any text, as the widget and the label pane both read it:
// never fails; what it reads is four finite numbers, which the colour text writer's text
// reads back as the same four (to its six decimals); what it does not read is white to
// textColorOrWhite and to the Settings dictionary reader alike.

#include "FuzzCheck.h"

#include "shared/RVXSettings.h"

#include <cmath>
#include <cstdint>
#include <string_view>

namespace {

bool near(float a, float b)
{
    return std::fabs(a - b) <= 1e-6f * std::fmax(1.f, std::fabs(b)) + 1e-6f;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace RVXSettings;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::optional<TextColor> color = parseTextColor(input);
    TextColor shown = textColorOrWhite(input);
    RVX_FUZZ_CHECK(shown == color.value_or(white));
    RVX_FUZZ_CHECK(textColorFor(NSDictionary { { "TextColor", std::string(input) } }) == shown);
    if (!color)
        return 0;
    RVX_FUZZ_CHECK(std::isfinite(color->hue) && std::isfinite(color->saturation) && std::isfinite(color->brightness)
        && std::isfinite(color->alpha));
    std::optional<TextColor> again = parseTextColor(textColorString(*color));
    RVX_FUZZ_CHECK(again.has_value());
    RVX_FUZZ_CHECK(near(again->hue, color->hue) && near(again->saturation, color->saturation)
        && near(again->brightness, color->brightness) && near(again->alpha, color->alpha));
    return 0;
}
