#include "foundation/Json.h"

#include <nlohmann/json.hpp>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace json {

std::string write(const Value& value)
{
    return value.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::optional<Value> read(std::string_view text)
{
    // The parser keeps its own stack, but writing and destroying a value recurse, so deep
    // nesting is refused while reading; the callback sees the depth of every container.
    bool tooDeep = false;
    auto bound = [&tooDeep](int depth, nlohmann::ordered_json::parse_event_t event, Value&) {
        using Event = nlohmann::ordered_json::parse_event_t;
        if ((event == Event::object_start || event == Event::array_start) && depth > kDeepestNesting)
            tooDeep = true;
        return !tooDeep;
    };
    Value value = Value::parse(text.begin(), text.end(), bound, false);
    if (tooDeep || value.is_discarded())
        return std::nullopt;
    return value;
}

const Value& member(const Value& object, std::string_view key)
{
    static const Value none;
    if (!object.is_object())
        return none;
    auto found = object.find(std::string(key));
    return found == object.end() ? none : *found;
}

const Value& items(const Value& array)
{
    static const Value none = Value::array();
    return array.is_array() ? array : none;
}

std::string text(const Value& value)
{
    return value.is_string() ? value.get<std::string>() : std::string();
}

double numeric(const Value& value, double fallback)
{
    return value.is_number() ? value.get<double>() : fallback;
}

bool flag(const Value& value)
{
    return value.is_boolean() && value.get<bool>();
}

namespace {

constexpr double kLargestExactInteger = 9007199254740992.0; // 2^53

bool isSmallInteger(double value)
{
    return value == std::floor(value) && std::fabs(value) <= kLargestExactInteger;
}

} // namespace

Value number(double value)
{
    if (!std::isfinite(value))
        return nullptr;
    // A negative zero stays a double, so that its sign is kept.
    if (isSmallInteger(value) && !(value == 0 && std::signbit(value)))
        return (long long)value;
    return value;
}

Value readable(double value)
{
    if (!std::isfinite(value))
        return nullptr;
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    // The double nearest the nine digits: its shortest text is those digits again.
    double rounded = strtod_l(text, nullptr, cLocale);
    if (isSmallInteger(rounded))
        return (long long)rounded;
    return rounded;
}

} // namespace json
