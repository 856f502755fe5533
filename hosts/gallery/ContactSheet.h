#pragma once

// One picture of many screens side by side, each captioned: a view tree of image views and
// labels drawn by the platform, as any screen is drawn.

#include "graphics/CairoPtr.h"

#include <string>
#include <vector>

namespace gallery {

struct SheetEntry {
    std::string name;
    std::string caption;
    SharedSurface picture; // drawn at the sheet's scale
};

// The sheet at `scale` pixels per point; every picture is shown at 320 x 480 points.
CairoSurfacePtr drawContactSheet(const std::string& title, const std::vector<SheetEntry>& entries, double scale);

} // namespace gallery
