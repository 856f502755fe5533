#pragma once

// A small JSON writer for the verbs' --json reports.

#include "foundation/PlistValue.h"

#include <string>
#include <string_view>

namespace ruvex {

std::string jsonQuoted(std::string_view text);
// A property-list value as JSON: dates as seconds since 2001, data as base64 text.
std::string jsonFromPlist(const PlistValue& value);

// The platform's `defaults` text form: { key = value; ... }, strings quoted when needed.
std::string defaultsText(const PlistValue& value, int indent = 0);

} // namespace ruvex
