// Every gallery screen drawn at scale 1 and compared with the reference picture beside this
// file. The bounds: a pixel differs when one of its channels lies more than 8 (of 255) from
// the reference's; a screen matches when at most 0.1 % of its pixels (153 of 320 x 480)
// differ. On a mismatch the actual picture and a diff (differing pixels in magenta) are
// written under the build's tests/visual/failures/ and named in the failure.
//
// After a deliberate change of the looks, `scripts/record-golden` (RVX_RECORD_GOLDEN=1)
// writes the references anew; review them before committing.

#include "ImageCompare.h"
#include "VisualSupport.h"

#include "ui/FontCatalog.h"
#include "ui/UIFont.h"

#include <cstdlib>
#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

constexpr double kScale = 1;
constexpr int kChannelTolerance = 8;
constexpr double kDifferingShare = 0.001;

bool recording()
{
    const char* value = std::getenv("RVX_RECORD_GOLDEN");
    return value && *value && std::string(value) != "0";
}

std::string referencePath(const std::string& name) { return (fs::path(REFERENCE_DIR) / (name + ".png")).string(); }

class GoldenImage : public ScreenTest { };

TEST_P(GoldenImage, MatchesItsReference)
{
    CairoSurfacePtr actual = stage().render(screen().host, kScale);
    ASSERT_TRUE(actual);
    std::string reference = referencePath(screen().name);
    if (recording()) {
        ASSERT_TRUE(writePNG(actual.get(), reference)) << "could not write " << reference;
        std::printf("recorded %s\n", reference.c_str());
        return;
    }

    fs::create_directories(FAILURE_DIR);
    std::string actualPath = (fs::path(FAILURE_DIR) / (screen().name + ".actual.png")).string();
    std::string diffPath = (fs::path(FAILURE_DIR) / (screen().name + ".diff.png")).string();
    std::error_code ignored;
    fs::remove(actualPath, ignored);
    fs::remove(diffPath, ignored);

    CairoSurfacePtr expected = readPNG(reference);
    if (!expected) {
        writePNG(actual.get(), actualPath);
        FAIL() << "no reference picture " << reference << " (the actual one is " << actualPath
               << "); scripts/record-golden writes the references";
    }
    ImageDifference difference = compareImages(expected.get(), actual.get(), kChannelTolerance);
    long pixels = long(cairo_image_surface_get_width(actual.get())) * cairo_image_surface_get_height(actual.get());
    long allowed = long(kDifferingShare * double(pixels));
    if (difference.sameSize && difference.differing <= allowed)
        return;
    writePNG(actual.get(), actualPath);
    if (difference.diff)
        writePNG(difference.diff.get(), diffPath);
    if (!difference.sameSize)
        FAIL() << screen().name << " is " << cairo_image_surface_get_width(actual.get()) << " x "
               << cairo_image_surface_get_height(actual.get()) << " pixels, its reference "
               << cairo_image_surface_get_width(expected.get()) << " x " << cairo_image_surface_get_height(expected.get())
               << "; actual: " << actualPath;
    FAIL() << screen().name << ": " << difference.differing << " pixels differ by more than " << kChannelTolerance
           << " (at most " << allowed << " may; the largest difference is " << difference.largest << ")\n  reference: "
           << reference << "\n  actual:    " << actualPath << "\n  diff:      " << diffPath;
}

// The pictures hold only what every machine set up by scripts/setup has: a face from
// elsewhere (a font the machine happens to have) would change the family picker's list.
TEST(GoldenImages, AreDrawnWithTheSetupFontsAlone)
{
    std::vector<std::string> families = UIFont::familyNames();
    EXPECT_GE(families.size(), 3u);
    for (const std::string& family : families) {
        for (const std::string& face : UIFont::fontNamesForFamilyName(family)) {
            const FontFaceEntry* entry = FontCatalog::shared().find(face);
            ASSERT_TRUE(entry) << face;
            bool fixed = std::any_of(gallery::fixedFontFolders().begin(), gallery::fixedFontFolders().end(),
                [&](const std::string& folder) { return entry->file.rfind(folder + "/", 0) == 0; });
            EXPECT_TRUE(fixed) << face << " comes from " << entry->file;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Gallery, GoldenImage, ::testing::ValuesIn(everyScreen()), screenTestName);

// A screen added without a reference fails above; one renamed or removed would leave its
// old reference behind, unchecked.
TEST(GoldenImages, EveryReferenceBelongsToAScreen)
{
    if (recording()) {
        for (const auto& entry : fs::directory_iterator(REFERENCE_DIR))
            if (entry.path().extension() == ".png" && !gallery::findScreen(entry.path().stem().string()))
                fs::remove(entry.path());
        return;
    }
    std::set<std::string> names;
    for (const gallery::Screen& screen : gallery::screens()) {
        EXPECT_TRUE(names.insert(screen.name).second) << "two screens are named " << screen.name;
        EXPECT_FALSE(screen.caption.empty()) << screen.name << " has no caption";
    }
    for (const auto& entry : fs::directory_iterator(REFERENCE_DIR)) {
        if (entry.path().extension() == ".png") {
            EXPECT_TRUE(names.count(entry.path().stem().string()))
                << entry.path() << " belongs to no screen: scripts/record-golden removes it";
        }
    }
}

} // namespace
