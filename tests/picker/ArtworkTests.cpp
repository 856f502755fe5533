#include "PickerTestSupport.h"

#include "color/ColorPickerMapping.h"
#include "ui/UIColor.h"
#include "ui/UIImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace {

CairoSurfacePtr loadPNG(const std::string& path)
{
    CairoSurfacePtr surface(cairo_image_surface_create_from_png(path.c_str()));
    EXPECT_EQ(cairo_surface_status(surface.get()), CAIRO_STATUS_SUCCESS) << path;
    return surface;
}

CGSize pixelSize(cairo_surface_t* surface)
{
    return {CGFloat(cairo_image_surface_get_width(surface)), CGFloat(cairo_image_surface_get_height(surface))};
}

std::string artwork(const std::string& name) { return std::string(RVX_PICKER_BUNDLE_DIR) + "/" + name; }

int runTool(const std::string& arguments)
{
    std::string command = std::string(RVX_PICKER_ARTWORK_TOOL) + " " + arguments + " 2>/dev/null";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(PickerArtwork, EveryImageComesAtBothScales)
{
    struct Expected {
        std::string path;
        CGSize points;
    };
    std::string label = RVX_LABEL_BUNDLE_DIR;
    for (const Expected& image : {Expected {artwork("colormap"), {298, 257}}, Expected {artwork("crosshair"), {20, 20}},
             Expected {artwork("bar_select"), {10, 48}}, Expected {artwork("Tiles"), {113, 49}},
             Expected {artwork("LongTiles"), {300, 40}}, Expected {label + "/TilesPreview", {80, 30}}}) {
        CairoSurfacePtr single = loadPNG(image.path + ".png");
        CairoSurfacePtr doubled = loadPNG(image.path + "@2x.png");
        EXPECT_EQ(pixelSize(single.get()), image.points) << image.path;
        EXPECT_EQ(pixelSize(doubled.get()), (CGSize {image.points.width * 2, image.points.height * 2})) << image.path;
    }
}

TEST(PickerArtwork, ColourMapShowsWhatATouchAssigns)
{
    namespace Mapping = ColorPickerMapping;
    for (int scale : {1, 2}) {
        CairoSurfacePtr map = loadPNG(artwork(scale == 2 ? "colormap@2x.png" : "colormap.png"));
        int width = cairo_image_surface_get_width(map.get());
        int height = cairo_image_surface_get_height(map.get());
        for (int column = 0; column < width; column += 13) {
            for (int row = 0; row < height; row += 11) {
                // The map's pixel centre in picker coordinates, as the stretched image lies there.
                CGPoint point {Mapping::kMapFrame.origin.x + (CGFloat(column) + 0.5f) / CGFloat(scale),
                    Mapping::kMapFrame.origin.y + (CGFloat(row) + 0.5f) / CGFloat(scale)};
                Mapping::HueSaturation values = Mapping::hueSaturationAtPoint(point);
                RGBA expected = UIColor::colorWithHue(values.hue, values.saturation, 1, 1)->paint();
                Pixel pixel = pixelAt(map.get(), column, row);
                ASSERT_TRUE(near(pixel, expected, 1)) << "scale " << scale << " at " << column << ", " << row << ": "
                                                      << pixel;
            }
        }
    }
}

TEST(PickerArtwork, ColourMapLandmarks)
{
    CairoSurfacePtr map = loadPNG(artwork("colormap.png"));
    EXPECT_TRUE(near(pixelAt(map.get(), 0, 0), {1, 0, 0, 1}, 5)) << "full saturation above the line";
    EXPECT_TRUE(near(pixelAt(map.get(), 0, 59), {1, 0, 0, 1}, 5)) << "saturation 1 at y = 120";
    EXPECT_TRUE(near(pixelAt(map.get(), 149, 59), {0, 1, 1, 1}, 5)) << "hue 0.5 in the middle";
    EXPECT_TRUE(near(pixelAt(map.get(), 149, 256), {1, 1, 1, 1}, 2)) << "white at the bottom edge";
    EXPECT_TRUE(near(pixelAt(map.get(), 297, 0), {1, 0, 0.02f, 1}, 5)) << "the hue comes round to red";
}

TEST(PickerArtwork, MarkersAreClearWhereTheirCentreIs)
{
    CairoSurfacePtr crosshair = loadPNG(artwork("crosshair@2x.png"));
    EXPECT_EQ(pixelAt(crosshair.get(), 20, 20)[3], 0);
    EXPECT_EQ(pixelAt(crosshair.get(), 20, 8)[3], 255) << "the ring";
    CairoSurfacePtr bar = loadPNG(artwork("bar_select.png"));
    EXPECT_EQ(pixelAt(bar.get(), 5, 24)[3], 0);
    EXPECT_EQ(pixelAt(bar.get(), 2, 24)[3], 255);
}

TEST(PickerArtwork, LoadsFromTheInstalledBundleAtTwoPixelsPerPoint)
{
    TestDevice device;
    installPickerArtwork(device);
    UIImageRef map = UIImage::imageWithContentsOfFile("/Library/PreferenceBundles/RuvexProprefs.bundle/colormap.png");
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->scale(), 2);
    EXPECT_EQ(map->size(), (CGSize {298, 257}));
}

TEST(PickerArtwork, ToolReportsBadArguments)
{
    EXPECT_EQ(runTool(""), 2);
    TestDevice device;
    std::string file = device.hostPath("/not-a-directory");
    std::ofstream(file) << "x";
    EXPECT_EQ(runTool(file + "/picker " + device.root() + "/label"), 1);
    EXPECT_EQ(runTool(device.root() + "/picker " + device.root() + "/label"), 0);
    EXPECT_TRUE(std::filesystem::exists(device.root() + "/label/TilesPreview@2x.png"));
}
