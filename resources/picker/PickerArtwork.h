#pragma once

// The colour picker's artwork, drawn at a scale of pixels per point. Each function answers
// a new ARGB32 image surface of the artwork's size in points times the scale.

#include "graphics/CairoPtr.h"

namespace PickerArtwork {

// The hue-saturation map, 298 x 257 points, showing at each pixel centre the hue and
// saturation (clamped to 0..1) that a touch there assigns, at full brightness.
CairoSurfacePtr colorMap(int scale);
// A ring with four ticks, 20 x 20 points, clear in the middle.
CairoSurfacePtr crosshair(int scale);
// A slim frame, 10 x 48 points, taller than a 40-point bar so it shows above and below.
CairoSurfacePtr barSelect(int scale);
// A grey and white checkerboard of 8-point squares.
CairoSurfacePtr checkerboard(int widthPoints, int heightPoints, int scale);

} // namespace PickerArtwork
