#pragma once

// The colour toolkit added to UIColor: colour-space model, components (a grey answers as an
// RGB colour of three equal components), packed 24-bit RGB, hexadecimal and brace texts, the
// named colours of CSS, and component-wise arithmetic.
//
// A colour is passed as the receiver; a nil colour answers 0, false, nil or an empty text, as a
// message to nil does. A broken precondition is reported through NSAssertionHandler with the
// source name "UIColor-Toolkit"; the handler raises and the operation does not complete.

#include "ui/UIColor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace UIColor_Toolkit {

// Component access.
int colorSpaceModel(const UIColorRef& color);
std::string colorSpaceString(const UIColorRef& color);
bool canProvideRGBComponents(const UIColorRef& color);
// red:green:blue:alpha: — writes each non-null out-pointer; false (and nothing written) for a
// colour that is neither RGB nor Monochrome.
bool red(const UIColorRef& color, float* red, float* green, float* blue, float* alpha);
float red(const UIColorRef& color);
float green(const UIColorRef& color);
float blue(const UIColorRef& color);
float white(const UIColorRef& color);
float alpha(const UIColorRef& color);
// red, green, blue, alpha; nothing when the components cannot be read.
std::optional<std::vector<float>> arrayFromRGBAComponents(const UIColorRef& color);

// Packed and text forms.
uint32_t rgbHex(const UIColorRef& color);
std::string hexStringFromColor(const UIColorRef& color);
// "{w, a}" for a grey, "{r, g, b, a}" for an RGB colour, three decimals each.
std::optional<std::string> stringFromColor(const UIColorRef& color);

// Arithmetic. Each answers a new RGB colour, or nil when the components cannot be read.
UIColorRef colorByLuminanceMapping(const UIColorRef& color);
UIColorRef colorByMultiplyingByRed(const UIColorRef& color, float red, float green, float blue, float alpha);
UIColorRef colorByAddingRed(const UIColorRef& color, float red, float green, float blue, float alpha);
UIColorRef colorByLighteningToRed(const UIColorRef& color, float red, float green, float blue, float alpha);
UIColorRef colorByDarkeningToRed(const UIColorRef& color, float red, float green, float blue, float alpha);
UIColorRef colorByMultiplyingBy(const UIColorRef& color, float f);
UIColorRef colorByAdding(const UIColorRef& color, float f);
UIColorRef colorByLighteningTo(const UIColorRef& color, float f);
UIColorRef colorByDarkeningTo(const UIColorRef& color, float f);
UIColorRef colorByMultiplyingByColor(const UIColorRef& color, const UIColorRef& other);
UIColorRef colorByAddingColor(const UIColorRef& color, const UIColorRef& other);
UIColorRef colorByLighteningToColor(const UIColorRef& color, const UIColorRef& other);
UIColorRef colorByDarkeningToColor(const UIColorRef& color, const UIColorRef& other);

// Class operations.
UIColorRef colorWithString(std::string_view text);
UIColorRef randomColor();
UIColorRef colorWithRGBHex(uint32_t hex);
UIColorRef colorWithHexString(std::string_view text);
// Cached and safe from any thread; names are case-sensitive ("Blue" is not a colour).
UIColorRef colorWithName(std::string_view name);
// Creates the name cache; runs by itself when the library loads.
void load();

} // namespace UIColor_Toolkit

namespace UIColor_ToolkitSupport {

// The uncached search of the named-colour table behind colorWithName.
UIColorRef searchForColorByName(std::string_view name);

} // namespace UIColor_ToolkitSupport
