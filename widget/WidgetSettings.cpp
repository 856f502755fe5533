#include "WidgetSettings.h"

#include "foundation/NSString.h"

#include <cmath>

namespace WidgetSettings {

namespace {

using namespace RVXSettings;

std::optional<float> finiteFloat(const NSDictionary& settings, std::string_view key)
{
    const PlistValue* value = settings.objectForKey(key);
    std::optional<float> number = value ? value->floatValue() : std::nullopt;
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return number;
}

// The number at the start of a part (after white space), or nothing when it has none.
std::optional<float> leadingNumber(std::string_view part)
{
    double value = 0;
    if (NSString::scanDecimal(part, NSString::skipWhiteSpace(part, 0), value) == 0)
        return std::nullopt;
    return float(value);
}

} // namespace

float height(const NSDictionary& settings)
{
    std::optional<float> stored = finiteFloat(settings, Keys::Height.name);
    return stored && *stored > 0 ? *stored : Keys::Height.fallback;
}

RVXSettings::TextColor parseTextColor(std::string_view text)
{
    if (text == "default")
        return white;
    float parts[4];
    for (float& part : parts) {
        size_t comma = text.find(',');
        std::optional<float> number = leadingNumber(text.substr(0, comma));
        if (!number)
            return white;
        part = *number;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (comma == std::string_view::npos && &part != &parts[3])
            return white;
    }
    return { parts[0], parts[1], parts[2], parts[3] };
}

LabelStyle labelStyle(const NSDictionary& settings)
{
    LabelStyle style;
    style.title = valueFor(settings, Keys::Label).value_or("");
    // "Style" names a face and wins over the family, even one of another family.
    style.fontName = stringFor(settings, Keys::Style.name).value_or(*valueFor(settings, Keys::Family));
    style.fontSize = finiteFloat(settings, Keys::Size.name).value_or(Keys::Size.fallback);
    auto color = stringFor(settings, Keys::TextColor.name);
    style.color = color ? parseTextColor(*color) : white;
    style.glow = valueFor(settings, Keys::Highlight);
    return style;
}

} // namespace WidgetSettings
