// The JSON reader and writer every control reply and view dump goes through, over any bytes:
// reading never throws and keeps its nesting bound; what it reads is written as text that
// reads back as the same value (a number too large for a double reads as infinite, which is
// written as null: then the text written once reads back as itself); and any bytes kept in a
// string are written as valid JSON, the same string again when they were UTF-8, U+FFFD where
// they were not.

#include "FuzzCheck.h"

#include "foundation/Json.h"
#include "foundation/NSString.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The depth of the deepest container inside the value, the value itself at 0.
int nesting(const json::Value& value)
{
    int deepest = -1;
    for (const json::Value& item : value)
        if (item.is_structured())
            deepest = std::max(deepest, nesting(item));
    return deepest + 1;
}

bool finiteThroughout(const json::Value& value)
{
    if (value.is_number_float())
        return std::isfinite(value.get<double>());
    if (!value.is_structured())
        return true;
    for (const json::Value& item : value)
        if (!finiteThroughout(item))
            return false;
    return true;
}

void checkReading(std::string_view input)
{
    std::optional<json::Value> value = json::read(input);
    if (!value)
        return;
    RVX_FUZZ_CHECK(!value->is_structured() || nesting(*value) <= json::kDeepestNesting);
    std::string text = json::write(*value);
    std::optional<json::Value> again = json::read(text);
    RVX_FUZZ_CHECK(again.has_value());
    RVX_FUZZ_CHECK(json::write(*again) == text);
    if (finiteThroughout(*value))
        RVX_FUZZ_CHECK(*again == *value);
}

void checkWritingBytes(std::string_view input)
{
    json::Value holder = json::Value::object();
    holder[std::string(input)] = std::string(input);
    std::string text = json::write(holder);
    RVX_FUZZ_CHECK(NSString::isValidUTF8(text));
    std::optional<json::Value> again = json::read(text);
    RVX_FUZZ_CHECK(again.has_value() && again->is_object() && again->size() == 1);
    std::string kept = json::text(again->begin().value());
    RVX_FUZZ_CHECK(again->begin().key() == kept);
    if (NSString::isValidUTF8(input))
        RVX_FUZZ_CHECK(kept == input);
    else
        RVX_FUZZ_CHECK(kept.find("\xEF\xBF\xBD") != std::string::npos);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    checkReading(input);
    checkWritingBytes(input);
    return 0;
}
