#pragma once

// Reads one pixel of an ARGB32 image surface as straight RGBA, 0..255.

#include <cairo.h>

#include <array>
#include <cstdint>
#include <cstring>

using Pixel = std::array<int, 4>;

inline Pixel pixelAt(cairo_surface_t* surface, int x, int y)
{
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint32_t argb;
    std::memcpy(&argb, data + y * stride + x * 4, 4);
    int a = int(argb >> 24);
    auto straight = [a](uint32_t v) { return a == 0 ? 0 : int((v & 0xff) * 255 + a / 2) / a; };
    return {straight(argb >> 16), straight(argb >> 8), straight(argb), a};
}

inline constexpr Pixel kWhite {255, 255, 255, 255};
inline constexpr Pixel kBlack {0, 0, 0, 255};
