#pragma once

// The one writer of JSON text: the view-tree dump, the hosts' control replies and every
// --json report of the ruvex command. Keys and values are written in the order given;
// commas and escapes are taken care of. Whatever bytes a string holds, the text written is
// valid JSON in UTF-8: control characters are escaped, and a byte that does not belong to
// a well-formed UTF-8 sequence is replaced by U+FFFD.

#include <concepts>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    // Nine significant digits, enough for the floats of views. Non-finite numbers, which
    // JSON cannot hold, are written as null.
    JsonWriter& value(double number);
    // The shortest text that reads back as the same double; null when not finite.
    JsonWriter& exactValue(double number);
    template<std::integral T>
        requires(!std::same_as<T, bool> && !std::same_as<T, char>)
    JsonWriter& value(T number)
    {
        if constexpr (std::is_signed_v<T>)
            return integer((long long)number);
        else
            return unsignedInteger((unsigned long long)number);
    }
    JsonWriter& value(bool flag);
    JsonWriter& null();
    // A member or item that is JSON text already (a view dump), written as it is.
    JsonWriter& raw(std::string_view jsonText);

    template<typename T>
    JsonWriter& field(std::string_view name, const T& v) { return key(name).value(v); }

    const std::string& text() const { return _text; }

    // The string as a JSON string literal, quotes included.
    static std::string quoted(std::string_view text);

private:
    void separate();
    JsonWriter& integer(long long number);
    JsonWriter& unsignedInteger(unsigned long long number);

    std::string _text;
    std::vector<bool> _hasItems; // per open container: whether an item was written
    bool _afterKey = false;
};
