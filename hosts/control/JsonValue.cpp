#include "JsonValue.h"

#include "ui/JsonWriter.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>

class JsonReader {
public:
    explicit JsonReader(std::string_view text) : _text(text) { }

    bool readWhole(JsonValue& value)
    {
        return readValue(value, 0) && (skipSpace(), _at == _text.size());
    }

private:
    void skipSpace()
    {
        while (_at < _text.size() && (_text[_at] == ' ' || _text[_at] == '\t' || _text[_at] == '\n' || _text[_at] == '\r'))
            ++_at;
    }

    bool take(char c)
    {
        skipSpace();
        if (_at < _text.size() && _text[_at] == c) {
            ++_at;
            return true;
        }
        return false;
    }

    bool word(std::string_view w)
    {
        if (_text.substr(_at, w.size()) != w)
            return false;
        _at += w.size();
        return true;
    }

    bool readValue(JsonValue& value, int depth)
    {
        if (depth > 256)
            return false;
        skipSpace();
        if (_at >= _text.size())
            return false;
        char c = _text[_at];
        if (c == '{')
            return readObject(value, depth);
        if (c == '[')
            return readArray(value, depth);
        if (c == '"') {
            value._type = JsonValue::Type::String;
            return readString(value._string);
        }
        if (word("true") || word("false")) {
            value._type = JsonValue::Type::Bool;
            value._bool = c == 't';
            return true;
        }
        if (word("null"))
            return true;
        return readNumber(value);
    }

    bool readObject(JsonValue& value, int depth)
    {
        value._type = JsonValue::Type::Object;
        ++_at;
        if (take('}'))
            return true;
        do {
            std::string key;
            skipSpace();
            if (_at >= _text.size() || _text[_at] != '"' || !readString(key) || !take(':'))
                return false;
            JsonValue member;
            if (!readValue(member, depth + 1))
                return false;
            value._members.emplace_back(std::move(key), std::move(member));
        } while (take(','));
        return take('}');
    }

    bool readArray(JsonValue& value, int depth)
    {
        value._type = JsonValue::Type::Array;
        ++_at;
        if (take(']'))
            return true;
        do {
            JsonValue item;
            if (!readValue(item, depth + 1))
                return false;
            value._items.push_back(std::move(item));
        } while (take(','));
        return take(']');
    }

    bool readNumber(JsonValue& value)
    {
        static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
        std::string text(_text.substr(_at, 64));
        char* end = nullptr;
        double number = strtod_l(text.c_str(), &end, cLocale);
        if (end == text.c_str() || !(text[0] == '-' || (text[0] >= '0' && text[0] <= '9')))
            return false;
        _at += size_t(end - text.c_str());
        value._type = JsonValue::Type::Number;
        value._number = number;
        return true;
    }

    static void appendUTF8(std::string& out, unsigned code)
    {
        if (code < 0x80)
            out += char(code);
        else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    bool readHex4(unsigned& code)
    {
        if (_at + 4 > _text.size())
            return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            char h = _text[_at++];
            code <<= 4;
            if (h >= '0' && h <= '9')
                code |= unsigned(h - '0');
            else if (h >= 'a' && h <= 'f')
                code |= unsigned(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                code |= unsigned(h - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    bool readString(std::string& out)
    {
        ++_at; // the opening quote
        while (_at < _text.size()) {
            char c = _text[_at++];
            if (c == '"')
                return true;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (_at >= _text.size())
                return false;
            char e = _text[_at++];
            switch (e) {
            case '"': case '\\': case '/': out += e; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'u': {
                unsigned code = 0;
                if (!readHex4(code))
                    return false;
                if (code >= 0xD800 && code < 0xDC00 && _text.substr(_at, 2) == "\\u") {
                    _at += 2;
                    unsigned low = 0;
                    if (!readHex4(low) || low < 0xDC00 || low > 0xDFFF)
                        return false;
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                }
                appendUTF8(out, code);
                break;
            }
            default:
                return false;
            }
        }
        return false;
    }

    std::string_view _text;
    size_t _at = 0;
};

std::optional<JsonValue> JsonValue::parse(std::string_view text)
{
    JsonValue value;
    JsonReader reader(text);
    if (!reader.readWhole(value))
        return std::nullopt;
    return value;
}

const JsonValue& JsonValue::operator[](std::string_view key) const
{
    static const JsonValue none;
    for (const auto& [name, member] : _members)
        if (name == key)
            return member;
    return none;
}

bool JsonValue::has(std::string_view key) const
{
    for (const auto& member : _members)
        if (member.first == key)
            return true;
    return false;
}

namespace {

// Through the one JSON writer, so that a string read with bytes that are not UTF-8 is
// written as valid JSON all the same.
void writeValue(JsonWriter& out, const JsonValue& value)
{
    switch (value.type()) {
    case JsonValue::Type::Null: out.null(); break;
    case JsonValue::Type::Bool: out.value(value.asBool()); break;
    case JsonValue::Type::Number: out.exactValue(value.asNumber()); break;
    case JsonValue::Type::String: out.value(value.asString()); break;
    case JsonValue::Type::Array:
        out.beginArray();
        for (const JsonValue& item : value.items())
            writeValue(out, item);
        out.endArray();
        break;
    case JsonValue::Type::Object:
        out.beginObject();
        for (const auto& [name, member] : value.members()) {
            out.key(name);
            writeValue(out, member);
        }
        out.endObject();
        break;
    }
}

} // namespace

std::string JsonValue::write() const
{
    JsonWriter out;
    writeValue(out, *this);
    return out.text();
}
