// The old ASCII form of property lists, as the platform reads it:
//
//   { Label = "Close them all"; Size = 17; List = (a, "b c", <0fbd>); }
//
// Dictionaries hold `key = value;` pairs, arrays comma-separated values (a trailing comma is
// allowed), data is hexadecimal digits between angle brackets. Every other value is a string,
// quoted with " or ' or written bare from letters, digits and _ $ / : . -; there are no
// numbers or booleans, so readers coerce the text. Comments are // to the line's end and
// /* ... */. A text that is not one value may still be the pairs of a dictionary without its
// braces, as in a strings file.

#include "foundation/PropertyList.h"
#include "foundation/PropertyListText.h"

#include <cstdint>

namespace PropertyList {

namespace {

class OpenStepParser {
public:
    explicit OpenStepParser(std::string_view text) : _text(text) { }

    // Nothing for a text without a value, as for an empty file.
    std::optional<PlistValue> parseDocument()
    {
        if (atEnd())
            return std::nullopt;
        std::optional<PlistValue> value = parseValue(0);
        if (value && atEnd())
            return value;
        // A strings file: the pairs of a dictionary without its braces.
        _at = 0;
        NSDictionary pairs;
        if (!parsePairs(pairs, 0, /* closer */ 0))
            return std::nullopt;
        return PlistValue(std::move(pairs));
    }

private:
    bool atEnd()
    {
        skipSpaceAndComments();
        return _at >= _text.size();
    }

    void skipSpaceAndComments()
    {
        while (_at < _text.size()) {
            char c = _text[_at];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v') {
                ++_at;
            } else if (_text.substr(_at, 2) == "//") {
                size_t end = _text.find('\n', _at);
                _at = end == std::string_view::npos ? _text.size() : end + 1;
            } else if (_text.substr(_at, 2) == "/*") {
                size_t end = _text.find("*/", _at + 2);
                _at = end == std::string_view::npos ? _text.size() : end + 2;
            } else {
                return;
            }
        }
    }

    // The next significant character, consumed when it is `expected`.
    bool take(char expected)
    {
        skipSpaceAndComments();
        if (_at < _text.size() && _text[_at] == expected) {
            ++_at;
            return true;
        }
        return false;
    }

    std::optional<PlistValue> parseValue(size_t depth)
    {
        if (depth >= maximumDepth)
            return std::nullopt;
        skipSpaceAndComments();
        if (_at >= _text.size())
            return std::nullopt;
        char c = _text[_at];
        if (c == '{') {
            ++_at;
            NSDictionary dictionary;
            if (!parsePairs(dictionary, depth + 1, '}'))
                return std::nullopt;
            return PlistValue(std::move(dictionary));
        }
        if (c == '(')
            return parseArray(depth + 1);
        if (c == '<')
            return parseData();
        std::optional<std::string> text = parseString();
        if (!text)
            return std::nullopt;
        return PlistValue(std::move(*text));
    }

    // `key = value;` pairs up to the closer, or to the end when the closer is 0. A later
    // pair with the same key replaces the earlier.
    bool parsePairs(NSDictionary& dictionary, size_t depth, char closer)
    {
        for (;;) {
            if (closer ? take(closer) : atEnd())
                return true;
            std::optional<std::string> key = parseString();
            if (!key || !take('='))
                return false;
            std::optional<PlistValue> value = parseValue(depth);
            if (!value || !take(';'))
                return false;
            dictionary.setObject(std::move(*value), *key);
        }
    }

    std::optional<PlistValue> parseArray(size_t depth)
    {
        ++_at; // (
        NSArray array;
        if (take(')'))
            return PlistValue(std::move(array));
        for (;;) {
            std::optional<PlistValue> value = parseValue(depth);
            if (!value)
                return std::nullopt;
            array.addObject(std::move(*value));
            if (take(')'))
                return PlistValue(std::move(array));
            if (!take(','))
                return std::nullopt;
            if (take(')'))
                return PlistValue(std::move(array));
        }
    }

    std::optional<PlistValue> parseData()
    {
        ++_at; // <
        NSData data;
        int high = -1;
        for (;;) {
            skipSpaceAndComments();
            if (_at >= _text.size())
                return std::nullopt;
            char c = _text[_at++];
            if (c == '>')
                return high < 0 ? std::optional<PlistValue>(PlistValue(std::move(data))) : std::nullopt;
            int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            if (high < 0) {
                high = digit;
            } else {
                data.bytes.push_back(uint8_t(high << 4 | digit));
                high = -1;
            }
        }
    }

    static int hexDigit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    static bool isBareCharacter(char c)
    {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$'
            || c == '/' || c == ':' || c == '.' || c == '-';
    }

    std::optional<std::string> parseString()
    {
        skipSpaceAndComments();
        if (_at >= _text.size())
            return std::nullopt;
        char quote = _text[_at];
        if (quote == '"' || quote == '\'')
            return parseQuoted(quote);
        size_t start = _at;
        while (_at < _text.size() && isBareCharacter(_text[_at]))
            ++_at;
        if (_at == start)
            return std::nullopt;
        return std::string(_text.substr(start, _at - start));
    }

    std::optional<std::string> parseQuoted(char quote)
    {
        ++_at;
        std::string bytes;
        uint32_t pendingHigh = 0; // a high surrogate waiting for its low half
        auto flushHigh = [&] {
            if (pendingHigh)
                appendUTF8(bytes, 0xFFFD);
            pendingHigh = 0;
        };
        while (_at < _text.size()) {
            char c = _text[_at++];
            if (c == quote) {
                flushHigh();
                return writableText(bytes);
            }
            if (c != '\\') {
                flushHigh();
                bytes += c;
                continue;
            }
            if (_at >= _text.size())
                break;
            char escaped = _text[_at++];
            if (escaped == 'U') {
                uint32_t unit = 0;
                for (int i = 0; i < 4 && _at < _text.size() && hexDigit(_text[_at]) >= 0; ++i)
                    unit = unit << 4 | uint32_t(hexDigit(_text[_at++]));
                if (unit >= 0xDC00 && unit <= 0xDFFF && pendingHigh) {
                    appendUTF8(bytes, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
                    pendingHigh = 0;
                } else {
                    flushHigh();
                    if (unit >= 0xD800 && unit <= 0xDBFF)
                        pendingHigh = unit;
                    else
                        appendUTF8(bytes, unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
                }
                continue;
            }
            flushHigh();
            if (escaped >= '0' && escaped <= '7') {
                // Up to three octal digits; above 0177 read as Latin-1.
                uint32_t code = uint32_t(escaped - '0');
                for (int i = 0; i < 2 && _at < _text.size() && _text[_at] >= '0' && _text[_at] <= '7'; ++i)
                    code = code << 3 | uint32_t(_text[_at++] - '0');
                appendUTF8(bytes, code);
                continue;
            }
            switch (escaped) {
            case 'a': bytes += '\a'; break;
            case 'b': bytes += '\b'; break;
            case 'f': bytes += '\f'; break;
            case 'n': bytes += '\n'; break;
            case 'r': bytes += '\r'; break;
            case 't': bytes += '\t'; break;
            case 'v': bytes += '\v'; break;
            default: bytes += escaped; break;
            }
        }
        return std::nullopt; // no closing quote
    }

    static void appendUTF8(std::string& out, uint32_t code)
    {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | code >> 6);
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | code >> 12);
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | code >> 18);
            out += char(0x80 | (code >> 12 & 0x3F));
            out += char(0x80 | (code >> 6 & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    std::string_view _text;
    size_t _at = 0;
};

} // namespace

std::optional<PlistValue> parseOpenStep(std::string_view text)
{
    if (text.size() > maximumSize)
        return std::nullopt;
    return OpenStepParser(text).parseDocument();
}

} // namespace PropertyList
