#include "foundation/NSString.h"

#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace NSString {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

// Reads `[sign] [white space] digits` and saturates at the bounds given.
long long clampedInteger(std::string_view text, long long min, long long max)
{
    size_t at = skipWhiteSpace(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        at = skipWhiteSpace(text, at + 1);
    }
    // Accumulate toward the sign's bound so that the minimum itself is reachable.
    long long value = 0;
    for (; at < text.size() && isDigit(text[at]); ++at) {
        int digit = text[at] - '0';
        if (negative) {
            if (value < (min + digit) / 10)
                return min;
            value = value * 10 - digit;
        } else {
            if (value > (max - digit) / 10)
                return max;
            value = value * 10 + digit;
        }
    }
    return value;
}

} // namespace

size_t whiteSpaceLength(std::string_view text, size_t at)
{
    if (at >= text.size())
        return 0;
    auto byte = [&](size_t i) { return i < text.size() ? uint8_t(text[i]) : 0; };
    uint8_t c = byte(at);
    if (c < 0x21 || c == 0x7F)
        return 1;
    if (c == 0xC2 && byte(at + 1) >= 0x80 && byte(at + 1) <= 0xA0)
        return 2;
    if (c == 0xE2 && byte(at + 1) == 0x80 && byte(at + 2) >= 0x80 && byte(at + 2) <= 0x8B)
        return 3;
    if (c == 0xE3 && byte(at + 1) == 0x80 && byte(at + 2) == 0x80)
        return 3;
    return 0;
}

size_t skipWhiteSpace(std::string_view text, size_t at)
{
    while (size_t length = whiteSpaceLength(text, at))
        at += length;
    return at;
}

size_t scanDecimal(std::string_view text, size_t at, double& value)
{
    size_t end = at;
    if (end < text.size() && (text[end] == '+' || text[end] == '-'))
        ++end;
    size_t digits = 0;
    for (; end < text.size() && isDigit(text[end]); ++end)
        ++digits;
    if (end < text.size() && text[end] == '.') {
        ++end;
        for (; end < text.size() && isDigit(text[end]); ++end)
            ++digits;
    }
    if (digits == 0)
        return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        size_t exponent = end + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) {
            while (exponent < text.size() && isDigit(text[exponent]))
                ++exponent;
            end = exponent;
        }
    }
    std::string number(text.substr(at, end - at));
    value = strtod_l(number.c_str(), nullptr, cLocale());
    return end - at;
}

bool boolValue(std::string_view text)
{
    size_t at = skipWhiteSpace(text, 0);
    if (at >= text.size())
        return false;
    char c = text[at];
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't')
        return true;
    if (c == '+' || c == '-')
        ++at;
    while (at < text.size() && text[at] == '0')
        ++at;
    return at < text.size() && text[at] >= '1' && text[at] <= '9';
}

int intValue(std::string_view text)
{
    return int(clampedInteger(text, INT_MIN, INT_MAX));
}

long long longLongValue(std::string_view text)
{
    return clampedInteger(text, LLONG_MIN, LLONG_MAX);
}

double doubleValue(std::string_view text)
{
    double value = 0;
    if (scanDecimal(text, skipWhiteSpace(text, 0), value) == 0)
        return 0;
    return value;
}

float floatValue(std::string_view text)
{
    return float(doubleValue(text));
}

std::string format(const char* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    int length = vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string result;
    if (length > 0) {
        result.resize(size_t(length) + 1);
        vsnprintf(result.data(), result.size(), fmt, args);
        result.resize(size_t(length));
    }
    va_end(args);
    return result;
}

std::string stringByAppendingPathComponent(std::string_view path, std::string_view component)
{
    while (!component.empty() && component.front() == '/')
        component.remove_prefix(1);
    std::string result(path);
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    if (component.empty())
        return result;
    if (!result.empty() && result.back() != '/')
        result += '/';
    result += component;
    return result;
}

std::string lastPathComponent(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || path.size() == 1)
        return std::string(path);
    return std::string(path.substr(slash + 1));
}

std::string pathExtension(std::string_view path)
{
    std::string last = lastPathComponent(path);
    size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    return last.substr(dot + 1);
}

std::string stringByDeletingPathExtension(std::string_view path)
{
    std::string extension = pathExtension(path);
    std::string result(path);
    while (result.size() > 1 && result.back() == '/')
        result.pop_back();
    if (!extension.empty())
        result.resize(result.size() - extension.size() - 1);
    return result;
}

std::string stringByDeletingLastPathComponent(std::string_view path)
{
    while (path.size() > 1 && path.back() == '/')
        path.remove_suffix(1);
    size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

bool isValidUTF8(std::string_view text)
{
    size_t i = 0;
    while (i < text.size()) {
        uint8_t c = uint8_t(text[i]);
        size_t length;
        uint32_t codePoint;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            length = 2;
            codePoint = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3;
            codePoint = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4;
            codePoint = c & 0x07;
        } else {
            return false;
        }
        if (i + length > text.size())
            return false;
        for (size_t k = 1; k < length; ++k) {
            uint8_t next = uint8_t(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static constexpr uint32_t smallest[] = { 0, 0, 0x80, 0x800, 0x10000 };
        if (codePoint < smallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

} // namespace NSString
