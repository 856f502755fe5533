#pragma once

// The 147 colour keywords of CSS Color Level 3 (the SVG 1.1 keywords, gray and grey forms
// both), as one ASCII text of entries ",name#rrggbb" in alphabetical order. The leading comma
// and the closing number sign let a plain substring search match whole names only.

#include <cstddef>

extern const char kNamedColorTable[];
extern const size_t kNamedColorCount;
