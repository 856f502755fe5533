#pragma once

// A small writer of JSON text, for the view-tree dump. Keys and values are written in
// the order given; commas and escapes are taken care of.

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
    // Non-finite numbers, which JSON cannot hold, are written as null.
    JsonWriter& value(double number);
    JsonWriter& value(int number);
    JsonWriter& value(bool flag);
    JsonWriter& null();

    template<typename T>
    JsonWriter& field(std::string_view name, const T& v) { return key(name).value(v); }

    const std::string& text() const { return _text; }

private:
    void separate();

    std::string _text;
    std::vector<bool> _hasItems; // per open container: whether an item was written
    bool _afterKey = false;
};
