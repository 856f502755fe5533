#pragma once

// The Settings file contract shared by the widget and the settings panes: where the file
// lies, every key with its type and default, the typed readers, the locked writes, and the
// name of the settings-changed notification. Nothing is cached: every read loads the file
// whole, every change rewrites it whole.

#include "foundation/PlistValue.h"
#include "foundation/PreferenceFile.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace RVXSettings {

inline constexpr std::string_view domain = "com.vastelmark.ruvexpro";
inline constexpr std::string_view notificationPrefix = "com.vastelmark.ruvex";
inline constexpr const char* notificationName = "com.vastelmark.ruvex.dbxchanged";
inline constexpr const char* path = "/var/mobile/Library/Preferences/com.vastelmark.ruvexpro.plist";

struct StringKey {
    std::string_view name;
    std::optional<std::string_view> fallback;
};
struct BoolKey {
    std::string_view name;
    bool fallback;
};
struct IntKey {
    std::string_view name;
    int fallback;
};
struct FloatKey {
    std::string_view name;
    float fallback;
};

namespace Keys {
inline constexpr StringKey Label { "Label", "Tap to close all Apps" };
inline constexpr StringKey Closing { "Closing", std::nullopt };
inline constexpr StringKey Family { "Family", "Helvetica" };
inline constexpr StringKey Style { "Style", std::nullopt }; // absent: the family names the font
inline constexpr FloatKey Size { "Size", 17 };
inline constexpr StringKey TextColor { "TextColor", "default" };
inline constexpr BoolKey Highlight { "Highlight", true };
inline constexpr BoolKey HideAlpha { "HideAlpha", false };
inline constexpr BoolKey UseCustom { "UseCustom", false };
inline constexpr StringKey Path { "Path", std::nullopt };
inline constexpr BoolKey Strechable { "Strechable", false };
inline constexpr IntKey Background { "Background", 0 };
inline constexpr FloatKey Height { "Height", 35 };
inline constexpr BoolKey CloseOnAppear { "CloseOnAppear", false };
inline constexpr BoolKey CloseOnDisappear { "CloseOnDisappear", false };
inline constexpr BoolKey Dismiss { "Dismiss", false };
inline constexpr IntKey Count { "Count", 0 };
} // namespace Keys

// The text the label pane's field shows when "Label" is missing.
inline constexpr std::string_view labelPaneDefault = "Tap to close Apps";

// The Settings file of the current device.
PreferenceFile file();
// The whole dictionary, read afresh; empty for a missing or unreadable file.
NSDictionary read();

// Readers: the fallback only when the key is absent or its value is of a kind the coercion
// does not apply to; a present value is used unchanged, even when empty.
std::optional<std::string> stringFor(const NSDictionary& settings, std::string_view key);
std::string stringFor(const NSDictionary& settings, std::string_view key, std::string_view fallback);
bool boolFor(const NSDictionary& settings, std::string_view key, bool fallback = false);
int intFor(const NSDictionary& settings, std::string_view key, int fallback = 0);
long long longLongFor(const NSDictionary& settings, std::string_view key, long long fallback = 0);
float floatFor(const NSDictionary& settings, std::string_view key, float fallback = 0);

std::optional<std::string> valueFor(const NSDictionary& settings, const StringKey& key);
bool valueFor(const NSDictionary& settings, const BoolKey& key);
int valueFor(const NSDictionary& settings, const IntKey& key);
float valueFor(const NSDictionary& settings, const FloatKey& key);

// An app is excluded from closing when its bundle identifier is stored as true.
bool isExcluded(const NSDictionary& settings, std::string_view bundleIdentifier);

// The text colour as hue, saturation, brightness and alpha (hue a fraction of the circle).
struct TextColor {
    float hue, saturation, brightness, alpha;
    bool operator==(const TextColor&) const = default;
};
inline constexpr TextColor white { 0, 0, 1, 1 };
// The one reader of colour text, for the widget and the panes alike: exactly four numbers
// joined by ",", each wholly a finite decimal number (white space around it allowed).
// Anything else ("default", fewer or more parts, a part that is not a number) is nothing.
// Values are passed on unclamped.
std::optional<TextColor> parseTextColor(std::string_view text);
// The stored colour; white for a missing key, "default", a value that is not text, or text
// that parseTextColor does not read.
TextColor textColorFor(const NSDictionary& settings);
TextColor textColorOrWhite(std::string_view text);
// "%f,%f,%f,%f": six decimals, no blanks, the full stop whatever the locale.
std::string textColorString(const TextColor& color);

// Writers, each a locked read-change-write of the whole file (see PreferenceFile): a
// missing file is created, an unreadable one kept aside as "<file>.corrupt".
bool changeOneKey(std::string_view key, PlistValue value);
bool removeKey(std::string_view key);
bool changeWith(const std::function<bool(NSDictionary&)>& change);
// "Count" + 1 inside the lock; at the largest count it stays there.
bool incrementCount();
// Makes the file holding only key = value when there is none; answers whether it did.
bool createIfMissing(std::string_view key, PlistValue value);

} // namespace RVXSettings
