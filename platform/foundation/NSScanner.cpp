#include "foundation/NSScanner.h"

#include "foundation/NSString.h"

#include <cctype>
#include <climits>

size_t NSScanner::skipped() const
{
    return NSString::skipWhiteSpace(_text, _location);
}

bool NSScanner::isAtEnd() const
{
    return skipped() >= _text.size();
}

bool NSScanner::scanString(std::string_view match, std::string* into)
{
    size_t at = skipped();
    if (match.empty() || _text.size() - at < match.size())
        return false;
    for (size_t i = 0; i < match.size(); ++i) {
        char a = _text[at + i], b = match[i];
        if (!_caseSensitive) {
            a = char(tolower((unsigned char)a));
            b = char(tolower((unsigned char)b));
        }
        if (a != b)
            return false;
    }
    if (into)
        *into = _text.substr(at, match.size());
    _location = at + match.size();
    return true;
}

bool NSScanner::scanDouble(double* value)
{
    size_t at = skipped();
    double result = 0;
    size_t length = NSString::scanDecimal(_text, at, result);
    if (length == 0)
        return false;
    if (value)
        *value = result;
    _location = at + length;
    return true;
}

bool NSScanner::scanFloat(float* value)
{
    double result = 0;
    if (!scanDouble(&result))
        return false;
    if (value)
        *value = float(result);
    return true;
}

bool NSScanner::scanHexInt(unsigned* value)
{
    size_t at = skipped();
    size_t digits = at;
    if (_text.compare(at, 2, "0x") == 0 || _text.compare(at, 2, "0X") == 0)
        digits += 2;
    // "0x" without a hex digit after it scans the zero alone.
    if (digits != at && (digits >= _text.size() || !isxdigit((unsigned char)_text[digits])))
        digits = at;
    size_t end = digits;
    unsigned long long result = 0;
    bool overflow = false;
    for (; end < _text.size() && isxdigit((unsigned char)_text[end]); ++end) {
        char c = char(tolower((unsigned char)_text[end]));
        unsigned digit = unsigned(c <= '9' ? c - '0' : c - 'a' + 10);
        result = result * 16 + digit;
        if (result > UINT_MAX) {
            overflow = true;
            result = UINT_MAX;
        }
    }
    if (end == digits)
        return false;
    if (value)
        *value = overflow ? UINT_MAX : unsigned(result);
    _location = end;
    return true;
}

bool NSScanner::scanInt(int* value)
{
    size_t at = skipped();
    size_t end = at;
    if (end < _text.size() && (_text[end] == '+' || _text[end] == '-'))
        ++end;
    size_t digits = end;
    while (end < _text.size() && isdigit((unsigned char)_text[end]))
        ++end;
    if (end == digits)
        return false;
    if (value)
        *value = NSString::intValue(std::string_view(_text).substr(at, end - at));
    _location = end;
    return true;
}
