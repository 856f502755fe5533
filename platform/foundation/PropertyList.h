#pragma once

// Property lists as bytes and files at host paths (already resolved under the device root).
// Reading takes XML, binary and the old ASCII form; writing produces the platform's XML form.
// Input is checked for size and nesting before the parser sees it, so that a hostile file is
// refused instead of exhausting the stack or the memory.

#include "foundation/PlistValue.h"

#include <optional>
#include <string>
#include <string_view>

namespace PropertyList {

constexpr size_t maximumSize = 64 * 1024 * 1024;
constexpr size_t maximumDepth = 512;
// Containers and values a binary list may expand to when it shares objects.
constexpr size_t maximumNodes = 4 * 1024 * 1024;

enum class Atomically { No, Yes };

std::optional<PlistValue> parse(std::string_view bytes);
// The old ASCII form alone; parse() hands it what is neither binary nor XML.
std::optional<PlistValue> parseOpenStep(std::string_view text);
std::optional<PlistValue> readFile(const std::string& hostPath);

// The XML form; nothing when a string is not valid UTF-8 or holds a character XML cannot carry.
std::optional<std::string> xmlData(const PlistValue& value);
bool writeFile(const PlistValue& value, const std::string& hostPath, Atomically atomically);

// Structure checks run before parsing; exposed for tests and fuzzing.
bool xmlWithinBounds(std::string_view xml);
bool binaryWithinBounds(std::string_view bytes);

} // namespace PropertyList
