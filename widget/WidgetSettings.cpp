#include "WidgetSettings.h"

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

} // namespace

float height(const NSDictionary& settings)
{
    std::optional<float> stored = finiteFloat(settings, Keys::Height.name);
    return stored && *stored > 0 ? *stored : Keys::Height.fallback;
}

LabelStyle labelStyle(const NSDictionary& settings)
{
    LabelStyle style;
    style.title = valueFor(settings, Keys::Label).value_or("");
    // "Style" names a face and wins over the family, even one of another family.
    style.fontName = stringFor(settings, Keys::Style.name).value_or(*valueFor(settings, Keys::Family));
    style.fontSize = finiteFloat(settings, Keys::Size.name).value_or(Keys::Size.fallback);
    style.color = textColorFor(settings);
    style.glow = valueFor(settings, Keys::Highlight);
    return style;
}

} // namespace WidgetSettings
