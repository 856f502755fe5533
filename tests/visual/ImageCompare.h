#pragma once

// Two pictures compared pixel by pixel: a pixel differs when any channel (red, green, blue or
// alpha, 0..255) lies more than `channelTolerance` apart; the pictures match when at most
// `maxDifferingPixels` differ and their sizes agree.

#include "graphics/CairoPtr.h"

#include <string>

struct ImageDifference {
    bool sameSize = false;
    long differing = 0;   // pixels beyond the tolerance
    int largest = 0;      // the largest channel difference seen
    CairoSurfacePtr diff; // the actual picture faded, its differing pixels in magenta
};

ImageDifference compareImages(cairo_surface_t* expected, cairo_surface_t* actual, int channelTolerance);
// Nothing for a missing or unreadable file.
CairoSurfacePtr readPNG(const std::string& path);
bool writePNG(cairo_surface_t* surface, const std::string& path);
