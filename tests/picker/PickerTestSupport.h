#pragma once

// Pixel probes and the picker's artwork on a test device.

#include "TestDevice.h"
#include "graphics/CairoPtr.h"
#include "graphics/PixelProbe.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

// Each component of `pixel` within `tolerance` of the expected 0..1 colour.
inline bool near(Pixel pixel, std::array<float, 4> expected, int tolerance = 2)
{
    for (size_t i = 0; i < 4; ++i)
        if (std::abs(pixel[i] - int(expected[i] * 255 + 0.5f)) > tolerance)
            return false;
    return true;
}

inline std::ostream& operator<<(std::ostream& out, const Pixel& p)
{
    return out << "(" << p[0] << ", " << p[1] << ", " << p[2] << ", " << p[3] << ")";
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
