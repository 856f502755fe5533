#pragma once

// Shared by the property-list readers: strings as the writer can carry them again.

#include <string>
#include <string_view>

namespace PropertyList {

// A byte sequence that is not UTF-8, or a control character XML 1.0 cannot hold, becomes
// U+FFFD. Kept raw, one such string in a Settings file would make every later write of the
// whole file fail, and every change with it.
std::string writableText(std::string_view text);

} // namespace PropertyList
