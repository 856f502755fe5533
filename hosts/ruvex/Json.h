#pragma once

// The verbs' --json form of property-list values, and the `defaults` text form.

#include "foundation/Json.h"
#include "foundation/PlistValue.h"

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace ruvex {

// A property-list value as JSON: dates as seconds since 2001, data as base64 text.
json::Value jsonFromPlist(const PlistValue& value);

// The platform's `defaults` text form, the ASCII property-list form: { key = value; ... },
// strings quoted when needed, data in hexadecimal, numbers and booleans as their text.
std::string defaultsText(const PlistValue& value, int indent = 0);

} // namespace ruvex
