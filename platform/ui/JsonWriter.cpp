#include "ui/JsonWriter.h"

#include <charconv>
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

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0 when its first
// byte does not begin one (a stray continuation byte, an overlong form, a surrogate, a code
// point above U+10FFFF, or a sequence cut short).
size_t wellFormedLength(std::string_view text)
{
    auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    size_t length;
    unsigned char low = 0x80, high = 0xBF; // the bounds of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (text.size() < length || byte(1) < low || byte(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
    return length;
}

void appendQuoted(std::string& out, std::string_view text)
{
    out += '"';
    size_t at = 0;
    while (at < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[at]);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                out += buffer;
            } else if (c < 0x80) {
                out += char(c);
            } else if (size_t length = wellFormedLength(text.substr(at))) {
                out.append(text.substr(at, length));
                at += length;
                continue;
            } else {
                out += "\uFFFD";
            }
        }
        ++at;
    }
    out += '"';
}

} // namespace

std::string JsonWriter::quoted(std::string_view text)
{
    std::string out;
    appendQuoted(out, text);
    return out;
}

JsonWriter& JsonWriter::value(std::string_view text)
{
    separate();
    appendQuoted(_text, text);
    return *this;
}

JsonWriter& JsonWriter::exactValue(double number)
{
    if (!std::isfinite(number))
        return null();
    separate();
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    _text.append(buffer, result.ptr);
    return *this;
}

JsonWriter& JsonWriter::raw(std::string_view jsonText)
{
    separate();
    _text += jsonText;
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

JsonWriter& JsonWriter::integer(long long number)
{
    separate();
    _text += std::to_string(number);
    return *this;
}

JsonWriter& JsonWriter::unsignedInteger(unsigned long long number)
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
