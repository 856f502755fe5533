#include "ControlWords.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>

namespace control {

std::optional<double> parseNumber(std::string_view word)
{
    // strtod alone would take leading spaces, hexadecimal, "inf" and "nan"; a number here is
    // what a person writes in decimal.
    if (word.empty() || word.size() > 64 || word.find_first_not_of("0123456789+-.eE") != std::string_view::npos)
        return std::nullopt;
    static locale_t cLocale = newlocale(LC_NUMERIC_MASK, "C", nullptr);
    std::string text(word);
    char* end = nullptr;
    errno = 0;
    double value = strtod_l(text.c_str(), &end, cLocale);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseSteps(std::string_view word)
{
    std::optional<double> value = parseNumber(word);
    if (!value || *value < 1 || *value > kMostSteps || *value != std::floor(*value))
        return std::nullopt;
    return int(*value);
}

namespace {

std::optional<int> parseIndex(std::string_view text)
{
    if (text.empty() || text.size() > kLongestIndex || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    int index = 0;
    for (char digit : text)
        index = index * 10 + (digit - '0');
    return index;
}

} // namespace

std::optional<RowAddress> parseRowAddress(std::string_view word)
{
    size_t colon = word.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::optional<int> section = parseIndex(word.substr(0, colon)), row = parseIndex(word.substr(colon + 1));
    if (!section || !row)
        return std::nullopt;
    return RowAddress { *section, *row };
}

std::string rowName(RowAddress address)
{
    return std::to_string(address.section) + ":" + std::to_string(address.row);
}

} // namespace control
