#pragma once

// JSON in and out, through nlohmann's ordered_json, so that members keep the order written:
// the view-tree dump, the hosts' control replies and every --json report of the ruvex command.
//
// Writing: whatever bytes a string holds, the text is valid JSON in UTF-8 (a byte sequence
// that is not well-formed UTF-8 becomes U+FFFD), and a number that is not finite, which JSON
// cannot hold, is written as null.
// Reading: text that is not one whole JSON value, or that has a container more than
// kDeepestNesting levels inside the outermost one, gives nothing; it never throws.
//
// This header only declares the type; the sources that build or read values include
// <nlohmann/json.hpp>.

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>
#include <string_view>

namespace json {

using Value = nlohmann::ordered_json;

inline constexpr int kDeepestNesting = 256;

// The value as compact JSON text.
std::string write(const Value& value);
// The value of the whole text, or nothing.
std::optional<Value> read(std::string_view text);

// Reading a value that came from another process, for a shape it may lack: the member of
// an object (null when there is none), the items of an array (none when it is not one),
// a string's text (empty when it is not one), a number (the fallback when it is not one)
// and a flag (false when it is not one).
const Value& member(const Value& object, std::string_view key);
const Value& items(const Value& array);
std::string text(const Value& value);
double numeric(const Value& value, double fallback = 0);
bool flag(const Value& value);

// A number as it reads back exactly: an integer when the double is one (below 2^53), else
// the shortest text that reads back as the same double; null when not finite.
Value number(double value);
// A number of a view (a float): nine significant digits, enough for a float and easy to
// read (0.1f is 0.100000001, not 0.10000000149011612); null when not finite.
Value readable(double value);

} // namespace json
