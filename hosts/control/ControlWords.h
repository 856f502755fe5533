#pragma once

// The words of a request that name numbers, counts of steps and rows, read alike by the
// hosts and by the command line.

#include <optional>
#include <string>
#include <string_view>

namespace control {

// A number in the C locale's decimal form, the whole word: no spaces around it, no
// hexadecimal, no "inf" or "nan", and within a double's range.
std::optional<double> parseNumber(std::string_view word);

// A count of finger steps: a whole number from 1 to kMostSteps.
inline constexpr int kMostSteps = 1000;
std::optional<int> parseSteps(std::string_view word);

// A row of a pane as "S:R": section and row, each counted from 0 and written in decimal
// digits alone, at most kLongestIndex of them.
struct RowAddress {
    int section;
    int row;
};
inline constexpr size_t kLongestIndex = 6;
std::optional<RowAddress> parseRowAddress(std::string_view word);
std::string rowName(RowAddress address);

} // namespace control
