#pragma once

// String helpers of the platform's NSString: the non-localized coercions (the full stop is
// always the decimal separator), formatting, path components and UTF-8 validation.

#include <string>
#include <string_view>

namespace NSString {

bool boolValue(std::string_view text);
int intValue(std::string_view text);
long long longLongValue(std::string_view text);
float floatValue(std::string_view text);
double doubleValue(std::string_view text);

// printf-style formatting (stringWithFormat: with C conversions).
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

std::string stringByAppendingPathComponent(std::string_view path, std::string_view component);
std::string lastPathComponent(std::string_view path);
std::string pathExtension(std::string_view path);
std::string stringByDeletingPathExtension(std::string_view path);
std::string stringByDeletingLastPathComponent(std::string_view path);

bool isValidUTF8(std::string_view text);

// White space as the coercions and the scanner skip it: characters below 0x21, 0x7F-0xA0,
// U+2000-U+200B and U+3000. Answers the byte length of the white space at `at`, 0 if none.
size_t whiteSpaceLength(std::string_view text, size_t at);
size_t skipWhiteSpace(std::string_view text, size_t at);

// The longest run `[sign] digits [. digits] [(e|E) [sign] digits]` at `at` with at least one
// mantissa digit; answers its byte length (0 when there is none) and stores the value,
// converted in the C locale, with overflow giving +/-HUGE_VAL.
size_t scanDecimal(std::string_view text, size_t at, double& value);

} // namespace NSString
