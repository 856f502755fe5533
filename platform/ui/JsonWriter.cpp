#include "ui/JsonWriter.h"

#include <cmath>
#include <cstdio>

void JsonWriter::separate()
{
    if (_afterKey) {
        _afterKey = false;
        return;
    }
    if (!_hasItems.empty()) {
        if (_hasItems.back())
            _text += ',';
        _hasItems.back() = true;
    }
}

JsonWriter& JsonWriter::beginObject()
{
    separate();
    _text += '{';
    _hasItems.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    _text += '}';
    _hasItems.pop_back();
    return *this;
}

JsonWriter& JsonWriter::beginArray()
{
    separate();
    _text += '[';
    _hasItems.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    _text += ']';
    _hasItems.pop_back();
    return *this;
}

JsonWriter& JsonWriter::key(std::string_view name)
{
    value(name);
    _text += ':';
    _afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text)
{
    separate();
    _text += '"';
    for (unsigned char c : text) {
        switch (c) {
        case '"': _text += "\\\""; break;
        case '\\': _text += "\\\\"; break;
        case '\n': _text += "\\n"; break;
        case '\r': _text += "\\r"; break;
        case '\t': _text += "\\t"; break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                _text += buffer;
            } else {
                _text += char(c);
            }
        }
    }
    _text += '"';
    return *this;
}

JsonWriter& JsonWriter::value(double number)
{
    if (!std::isfinite(number))
        return null();
    separate();
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.9g", number);
    _text += buffer;
    return *this;
}

JsonWriter& JsonWriter::value(int number)
{
    separate();
    _text += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag)
{
    separate();
    _text += flag ? "true" : "false";
    return *this;
}

JsonWriter& JsonWriter::null()
{
    separate();
    _text += "null";
    return *this;
}
