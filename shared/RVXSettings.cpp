#include "shared/RVXSettings.h"

#include "foundation/NSString.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace RVXSettings {

PreferenceFile file()
{
    return PreferenceFile::forPhonePath(path);
}

NSDictionary read()
{
    return file().read();
}

std::optional<std::string> stringFor(const NSDictionary& settings, std::string_view key)
{
    auto* value = settings.objectForKey(key);
    if (!value || !value->string())
        return std::nullopt;
    return *value->string();
}

std::string stringFor(const NSDictionary& settings, std::string_view key, std::string_view fallback)
{
    return stringFor(settings, key).value_or(std::string(fallback));
}

bool boolFor(const NSDictionary& settings, std::string_view key, bool fallback)
{
    auto* value = settings.objectForKey(key);
    return value ? value->boolValue().value_or(fallback) : fallback;
}

int intFor(const NSDictionary& settings, std::string_view key, int fallback)
{
    auto* value = settings.objectForKey(key);
    return value ? value->intValue().value_or(fallback) : fallback;
}

long long longLongFor(const NSDictionary& settings, std::string_view key, long long fallback)
{
    auto* value = settings.objectForKey(key);
    return value ? value->longLongValue().value_or(fallback) : fallback;
}

float floatFor(const NSDictionary& settings, std::string_view key, float fallback)
{
    auto* value = settings.objectForKey(key);
    return value ? value->floatValue().value_or(fallback) : fallback;
}

std::optional<std::string> valueFor(const NSDictionary& settings, const StringKey& key)
{
    if (auto text = stringFor(settings, key.name))
        return text;
    if (key.fallback)
        return std::string(*key.fallback);
    return std::nullopt;
}

bool valueFor(const NSDictionary& settings, const BoolKey& key)
{
    return boolFor(settings, key.name, key.fallback);
}

int valueFor(const NSDictionary& settings, const IntKey& key)
{
    return intFor(settings, key.name, key.fallback);
}

float valueFor(const NSDictionary& settings, const FloatKey& key)
{
    return floatFor(settings, key.name, key.fallback);
}

bool isExcluded(const NSDictionary& settings, std::string_view bundleIdentifier)
{
    return boolFor(settings, bundleIdentifier, false);
}

namespace {

// A part of colour text: white space, one decimal number, white space, nothing else.
std::optional<float> wholeNumber(std::string_view part)
{
    double value = 0;
    size_t start = NSString::skipWhiteSpace(part, 0);
    size_t length = NSString::scanDecimal(part, start, value);
    if (length == 0 || NSString::skipWhiteSpace(part, start + length) != part.size())
        return std::nullopt;
    float number = float(value);
    return std::isfinite(number) ? std::optional(number) : std::nullopt;
}

} // namespace

std::optional<TextColor> parseTextColor(std::string_view text)
{
    float parts[4];
    for (size_t i = 0; i < 4; ++i) {
        size_t comma = text.find(',');
        if ((comma == std::string_view::npos) != (i == 3))
            return std::nullopt;
        std::optional<float> number = wholeNumber(text.substr(0, comma));
        if (!number)
            return std::nullopt;
        parts[i] = *number;
        text = i == 3 ? std::string_view() : text.substr(comma + 1);
    }
    return TextColor { parts[0], parts[1], parts[2], parts[3] };
}

TextColor textColorOrWhite(std::string_view text)
{
    return parseTextColor(text).value_or(white);
}

TextColor textColorFor(const NSDictionary& settings)
{
    std::optional<std::string> text = stringFor(settings, Keys::TextColor.name);
    return text ? textColorOrWhite(*text) : white;
}

std::string textColorString(const TextColor& color)
{
    std::string text;
    for (float part : { color.hue, color.saturation, color.brightness, color.alpha }) {
        char buffer[64];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, double(part), std::chars_format::fixed, 6);
        if (!text.empty())
            text += ',';
        text.append(buffer, result.ptr);
    }
    return text;
}

bool changeOneKey(std::string_view key, PlistValue value)
{
    return file().setObject(std::move(value), key);
}

bool removeKey(std::string_view key)
{
    return file().removeObjectForKey(key);
}

bool changeWith(const std::function<bool(NSDictionary&)>& change)
{
    return file().changeWith(change);
}

bool incrementCount()
{
    return changeWith([](NSDictionary& settings) {
        long long count = longLongFor(settings, Keys::Count.name, 0);
        if (count < LLONG_MAX)
            ++count;
        settings.setObject(PlistValue(count), Keys::Count.name);
        return true;
    });
}

bool createIfMissing(std::string_view key, PlistValue value)
{
    return file().createIfMissing(key, std::move(value));
}

} // namespace RVXSettings
