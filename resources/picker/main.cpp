// Writes the colour picker's images, each at one and two pixels per point:
//   picker_artwork PICKER_BUNDLE_DIR LABEL_PANE_BUNDLE_DIR

#include "PickerArtwork.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace {

using Drawing = std::function<CairoSurfacePtr(int scale)>;

bool writeBothScales(const std::filesystem::path& directory, const std::string& name, const Drawing& draw)
{
    for (int scale : {1, 2}) {
        std::filesystem::path path = directory / (name + (scale == 2 ? "@2x.png" : ".png"));
        CairoSurfacePtr surface = draw(scale);
        cairo_status_t status = cairo_surface_status(surface.get());
        if (status == CAIRO_STATUS_SUCCESS)
            status = cairo_surface_write_to_png(surface.get(), path.c_str());
        if (status != CAIRO_STATUS_SUCCESS) {
            std::fprintf(stderr, "picker_artwork: cannot write %s: %s\n", path.c_str(), cairo_status_to_string(status));
            return false;
        }
    }
    return true;
}

bool makeDirectory(const std::filesystem::path& directory)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error) {
        std::fprintf(stderr, "picker_artwork: cannot create %s: %s\n", directory.c_str(), error.message().c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: picker_artwork PICKER_BUNDLE_DIR LABEL_PANE_BUNDLE_DIR\n");
        return 2;
    }
    std::filesystem::path picker = argv[1];
    std::filesystem::path labelPane = argv[2];
    if (!makeDirectory(picker) || !makeDirectory(labelPane))
        return 1;

    using namespace PickerArtwork;
    bool written = writeBothScales(picker, "colormap", colorMap)
        && writeBothScales(picker, "crosshair", crosshair)
        && writeBothScales(picker, "bar_select", barSelect)
        && writeBothScales(picker, "Tiles", [](int scale) { return checkerboard(113, 49, scale); })
        && writeBothScales(picker, "LongTiles", [](int scale) { return checkerboard(300, 40, scale); })
        && writeBothScales(labelPane, "TilesPreview", [](int scale) { return checkerboard(80, 30, scale); });
    return written ? 0 : 1;
}
