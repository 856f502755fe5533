#pragma once

// A small JSON writer for the verbs' --json reports.

#include "foundation/PlistValue.h"

#include <string>
#include <string_view>

namespace ruvex {

std::string jsonQuoted(std::string_view text);
// A property-list value as JSON: dates as seconds since 2001, data as base64 text.
std::string jsonFromPlist(const PlistValue& value);

// The platform's `defaults` text form, the ASCII property-list form: { key = value; ... },
// strings quoted when needed, data in hexadecimal, numbers and booleans as their text.
std::string defaultsText(const PlistValue& value, int indent = 0);

} // namespace ruvex
