#pragma once

// The colour picker's arithmetic, apart from its views: where a touch lands, what values a
// touch assigns, and where the markers go for given values. The marker placements are the
// inverses of the value formulas, so a touch at a marker's centre gives back its values.
// Sums and quotients are formed in double precision and stored as 32-bit floats.

#include "graphics/CGGeometry.h"

namespace ColorPickerMapping {

// The hue-saturation map, in picker coordinates.
inline constexpr CGRect kMapFrame {{11, 60}, {298, 257}};
inline constexpr double kHueOrigin = 11;
inline constexpr double kHueSpan = 298;
// Saturation is 1 on this line and 0 at the map's bottom edge, kSaturationSpan below it.
inline constexpr double kSaturationLine = 120;
inline constexpr double kSaturationSpan = 197;
// The lines the bar markers slide along.
inline constexpr CGFloat kBrightnessMarkerY = 343;
inline constexpr CGFloat kAlphaMarkerY = 390;
// A bar reads a little past 1 at its left edge and a little below 0 at its right.
inline constexpr double kBarOffset = 0.03;
inline constexpr double kBarInverseOffset = 1.03;

enum class Area { None, Map, Brightness, Alpha };

// The first of the map, the brightness bar and the alpha bar whose half-open rectangle holds
// the point.
Area areaAtPoint(CGPoint point, CGRect brightnessFrame, CGRect alphaFrame);

struct HueSaturation {
    float hue;
    float saturation;
};

// Unclamped: above the saturation line the saturation exceeds 1.
HueSaturation hueSaturationAtPoint(CGPoint point);
CGPoint crossHairCenter(float hue, float saturation);

// A bar's value (brightness or alpha) at picker x over a bar of the given width, and back.
float barValueAtX(CGFloat x, CGFloat barWidth);
CGFloat barMarkerX(float value, CGFloat barWidth);

} // namespace ColorPickerMapping
