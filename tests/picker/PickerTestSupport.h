#pragma once

// Pixel probes and the picker's artwork on a test device.

#include "TestDevice.h"
#include "graphics/CairoPtr.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

// Straight (not premultiplied) 0..255 components of one pixel of an ARGB32 surface.
struct Pixel {
    int r, g, b, a;
};

inline Pixel pixelAt(cairo_surface_t* surface, int x, int y)
{
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + size_t(y) * size_t(cairo_image_surface_get_stride(surface));
    uint32_t argb = reinterpret_cast<const uint32_t*>(row)[x];
    int a = int(argb >> 24);
    auto straight = [a](uint32_t premultiplied) { return a ? int((premultiplied * 255 + uint32_t(a) / 2) / uint32_t(a)) : 0; };
    return {straight((argb >> 16) & 0xff), straight((argb >> 8) & 0xff), straight(argb & 0xff), a};
}

// Each component of `pixel` within `tolerance` of the expected 0..1 colour.
inline bool near(Pixel pixel, std::array<float, 4> expected, int tolerance = 2)
{
    int want[4];
    for (int i = 0; i < 4; ++i)
        want[i] = int(expected[size_t(i)] * 255 + 0.5f);
    return std::abs(pixel.r - want[0]) <= tolerance && std::abs(pixel.g - want[1]) <= tolerance
        && std::abs(pixel.b - want[2]) <= tolerance && std::abs(pixel.a - want[3]) <= tolerance;
}

inline std::ostream& operator<<(std::ostream& out, const Pixel& p)
{
    return out << "(" << p.r << ", " << p.g << ", " << p.b << ", " << p.a << ")";
}

// Copies the artwork the build drew into the device's installed preference bundle.
inline void installPickerArtwork(const TestDevice& device)
{
    std::string bundle = device.hostPath("/Library/PreferenceBundles/RuvexProprefs.bundle/x");
    std::filesystem::path directory = std::filesystem::path(bundle).parent_path();
    for (const auto& entry : std::filesystem::directory_iterator(RVX_PICKER_BUNDLE_DIR)) {
        if (entry.path().extension() == ".png")
            std::filesystem::copy_file(entry.path(), directory / entry.path().filename(),
                std::filesystem::copy_options::overwrite_existing);
    }
}
