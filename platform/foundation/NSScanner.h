#pragma once

// A scanner over UTF-8 text, as the platform's NSScanner: white space and line breaks are
// skipped before each scan; strings match case-insensitively unless caseSensitive is set; the
// full stop is the decimal separator whatever the locale. A failed scan leaves the location
// where it was.

#include <optional>
#include <string>
#include <string_view>

class NSScanner {
public:
    static NSScanner scannerWithString(std::string text) { return NSScanner(std::move(text)); }
    explicit NSScanner(std::string text) : _text(std::move(text)) { }

    const std::string& string() const { return _text; }
    size_t scanLocation() const { return _location; }
    void setScanLocation(size_t location) { _location = std::min(location, _text.size()); }
    bool caseSensitive() const { return _caseSensitive; }
    void setCaseSensitive(bool caseSensitive) { _caseSensitive = caseSensitive; }

    bool scanString(std::string_view match, std::string* into = nullptr);
    bool scanFloat(float* value);
    bool scanDouble(double* value);
    bool scanHexInt(unsigned* value);
    bool scanInt(int* value);
    bool isAtEnd() const;

private:
    size_t skipped() const;

    std::string _text;
    size_t _location = 0;
    bool _caseSensitive = false;
};
