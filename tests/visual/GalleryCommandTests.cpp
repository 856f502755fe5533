// `ruvex gallery` as a user runs it: bad use refused with one line, a full run writing every
// screen and the contact sheet without touching the default device or leaving devices behind.

#include "GalleryScreens.h"
#include "ImageCompare.h"
#include "support/CommandRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Outcome = CommandRun;

class GalleryCommand : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(_home + "/tmp"); }

    // ruvex with its home, data folder and temporary folder inside the test's own folder.
    Outcome ruvex(const std::string& arguments)
    {
        std::string home = shellQuoted(_home);
        return runCommand("cd " + home + " && HOME=" + home + " XDG_DATA_HOME=" + shellQuoted(_home + "/data")
                + " TMPDIR=" + shellQuoted(_home + "/tmp") + " " + RUVEX_PATH + " " + arguments,
            _home + "/stderr");
    }

    ScratchFolder _folder { "rvx-gallery-cli" };
    std::string _home = _folder.path();
};

size_t lines(const std::string& text)
{
    return size_t(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(GalleryCommand, BadUseIsRefusedWithOneLine)
{
    for (const char* arguments : { "gallery --scale 0", "gallery --scale lots", "gallery --scale", "gallery --colour red",
             "gallery one two", "gallery --work", "gallery --only center-default,nothing-such" }) {
        Outcome run = ruvex(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(lines(run.err), 1u) << arguments << ": " << run.err;
        EXPECT_EQ(run.out, "") << arguments;
    }
    std::ofstream(_home + "/taken") << "a file, not a folder";
    Outcome run = ruvex("gallery taken");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines(run.err), 1u) << run.err;
    EXPECT_NE(ruvex("gallery --help").out.find("--scale N"), std::string::npos);
}

TEST_F(GalleryCommand, WritesEveryScreenAndTheSheetOnDevicesOfItsOwn)
{
    Outcome run = ruvex("gallery shots --scale 0.5");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto& screens = gallery::screens();
    EXPECT_EQ(lines(run.out), screens.size() + 1) << run.out; // a line a screen, then the sheet's
    for (const gallery::Screen& screen : screens) {
        std::string path = "shots/" + screen.name + ".png";
        EXPECT_NE(run.out.find(path), std::string::npos) << screen.name;
        CairoSurfacePtr picture = readPNG(_home + "/" + path);
        ASSERT_TRUE(picture) << path;
        EXPECT_EQ(cairo_image_surface_get_width(picture.get()), 160);
        EXPECT_EQ(cairo_image_surface_get_height(picture.get()), 240);
    }
    CairoSurfacePtr sheet = readPNG(_home + "/shots/contact-sheet.png");
    ASSERT_TRUE(sheet);
    EXPECT_GT(cairo_image_surface_get_width(sheet.get()), 4 * 160);
    EXPECT_NE(run.out.find("shots/contact-sheet.png"), std::string::npos);

    // The default device was never made, and the temporary devices are gone.
    EXPECT_FALSE(fs::exists(_home + "/data/ruvex"));
    EXPECT_TRUE(fs::is_empty(_home + "/tmp"));
}

TEST_F(GalleryCommand, KeepsItsDevicesWhereToldTo)
{
    Outcome run = ruvex("gallery shots --scale 0.5 --work devices --only center-custom,about-dialog");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out), 4u) << run.out; // two screens, the sheet, the kept devices
    EXPECT_TRUE(fs::exists(_home + "/shots/about-dialog.png"));
    EXPECT_FALSE(fs::exists(_home + "/shots/center-default.png"));
    EXPECT_TRUE(fs::exists(_home + "/devices/center-custom/var/mobile/Library/Preferences/com.vastelmark.ruvexpro.plist"));
    EXPECT_NE(run.out.find("devices kept in devices"), std::string::npos) << run.out;

    // Again into the same folder: its own devices are replaced; a folder of other files is refused.
    EXPECT_EQ(ruvex("gallery shots --scale 0.5 --work devices --only center-default").status, 0);
    fs::create_directories(_home + "/mine");
    std::ofstream(_home + "/mine/center-default") << "not a device";
    run = ruvex("gallery shots --scale 0.5 --work mine --only center-default");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(lines(run.err), 1u) << run.err;
    EXPECT_TRUE(fs::is_regular_file(_home + "/mine/center-default"));
}

} // namespace
