// gallery: every screen of the product as a PNG, drawn on a fresh device of its own, and a
// contact sheet of them all.

#include "Command.h"
#include "Hosts.h"

#include "ContactSheet.h"
#include "GalleryScreens.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace ruvex {
namespace {

namespace fs = std::filesystem;

const char* kWorkMarker = ".ruvex-gallery";

struct GalleryRequest {
    std::string folder = "gallery";
    double scale = 2;
    std::string work; // empty: a temporary folder, removed at the end
    std::vector<const gallery::Screen*> screens;
};

std::vector<const gallery::Screen*> chosenScreens(const std::string& names)
{
    std::vector<const gallery::Screen*> chosen;
    size_t start = 0;
    while (start <= names.size()) {
        size_t comma = std::min(names.find(',', start), names.size());
        std::string name = names.substr(start, comma - start);
        const gallery::Screen* screen = gallery::findScreen(name);
        if (!screen) {
            std::string known;
            for (const gallery::Screen& each : gallery::screens())
                known += (known.empty() ? "" : ", ") + each.name;
            throw UsageError("no screen '" + name + "' (the screens: " + known + ")");
        }
        chosen.push_back(screen);
        start = comma + 1;
    }
    return chosen;
}

GalleryRequest parse(const Arguments& arguments)
{
    GalleryRequest request;
    bool folderGiven = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (word == "--scale" || word == "--work" || word == "--only") {
            if (i + 1 >= arguments.size())
                throw UsageError(word + " needs a value (ruvex gallery --help)");
            const std::string& value = arguments[++i];
            if (word == "--work") {
                request.work = value;
                continue;
            }
            if (word == "--only") {
                request.screens = chosenScreens(value);
                continue;
            }
            std::optional<double> scale = parseNumber(value);
            if (!scale || !(*scale >= 0.5 && *scale <= 4))
                throw UsageError("--scale takes a number from 0.5 to 4, not '" + value + "'");
            request.scale = *scale;
        } else if (word.size() > 1 && word[0] == '-') {
            throw UsageError("unknown option '" + word + "' (ruvex gallery --help)");
        } else if (folderGiven) {
            throw UsageError("'gallery' takes one folder, not also '" + word + "'");
        } else {
            request.folder = word;
            folderGiven = true;
        }
    }
    if (request.screens.empty())
        for (const gallery::Screen& screen : gallery::screens())
            request.screens.push_back(&screen);
    return request;
}

void makeFolder(const std::string& folder, const char* what)
{
    std::error_code error;
    if (fs::exists(folder, error) && !fs::is_directory(folder, error))
        throw ActionError(std::string(what) + " " + folder + " is not a folder");
    fs::create_directories(folder, error);
    if (error)
        throw ActionError(std::string("could not make ") + what + " " + folder + ": " + error.message());
}

std::string temporaryFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/ruvex-gallery-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw ActionError("could not make a temporary folder in " + fs::path(pattern).parent_path().string());
    return pattern;
}

bool writePNG(cairo_surface_t* surface, const std::string& path)
{
    return cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

int runGallery(const Options&, const Arguments& arguments)
{
    GalleryRequest request = parse(arguments);
    makeFolder(request.folder, "the gallery folder");
    bool keepWork = !request.work.empty();
    if (keepWork) {
        // Each run replaces the devices it made before; a folder of anything else is left alone.
        std::error_code error;
        fs::path marker = fs::path(request.work) / kWorkMarker;
        if (fs::is_directory(request.work, error) && !fs::is_empty(request.work, error) && !fs::exists(marker, error))
            throw ActionError("the work folder " + request.work + " holds other files; give an empty or new one");
        makeFolder(request.work, "the work folder");
        std::ofstream(marker) << "Devices of `ruvex gallery`, replaced at each run with this folder.\n";
    }
    std::string work = keepWork ? request.work : temporaryFolder();
    // Removes the temporary devices however the run ends.
    struct Cleanup {
        std::string folder;
        ~Cleanup()
        {
            std::error_code ignored;
            if (!folder.empty())
                fs::remove_all(folder, ignored);
        }
    } cleanup { keepWork ? std::string() : work };

    std::string bundles = executableDirectory() + "/../bundles";
    const auto& all = request.screens;
    std::vector<gallery::SheetEntry> entries;
    int index = 0;
    for (const gallery::Screen* chosen : all) {
        const gallery::Screen& screen = *chosen;
        ++index;
        std::string path = (fs::path(request.folder) / (screen.name + ".png")).string();
        // Each screen on a device of its own, so that one screen's steps never show in another.
        std::string device = (fs::path(work) / screen.name).string();
        std::error_code ignored;
        fs::remove_all(device, ignored);
        SharedSurface picture;
        try {
            auto stage = gallery::reach(screen, device, bundles);
            picture = shareSurface(stage->render(screen.host, request.scale));
        } catch (const gallery::StepError& error) {
            throw ActionError(std::string("could not reach ") + error.what());
        }
        if (!writePNG(picture.get(), path))
            throw ActionError("could not write " + path);
        std::printf("[%2d/%zu] %-28s %s\n", index, all.size(), screen.name.c_str(), path.c_str());
        std::fflush(stdout);
        entries.push_back({ screen.name, screen.caption, picture });
    }

    std::string sheetPath = (fs::path(request.folder) / "contact-sheet.png").string();
    CairoSurfacePtr sheet = gallery::drawContactSheet("Ruvex Pro: every screen", entries, request.scale);
    if (!sheet || !writePNG(sheet.get(), sheetPath))
        throw ActionError("could not write " + sheetPath);
    std::printf("contact sheet: %s\n", sheetPath.c_str());
    if (keepWork)
        std::printf("devices kept in %s\n", work.c_str());
    return 0;
}

CommandRegistration galleryVerb({ "gallery", "[DIR] [--scale N] [--only NAME,...] [--work DIR]",
    "write every screen of the product as PNG into DIR (default ./gallery), and a contact sheet",
    "Makes a fresh device for each screen (never the --device one), brings the shell and\n"
    "the Settings app up on it in this process on a virtual clock, reaches the screen (the\n"
    "Settings file written, the Center opened, its buttons, the panes' rows tapped) and\n"
    "draws it once every animation has ended. Prints a line per screen, then the path of\n"
    "contact-sheet.png, all the screens captioned.\n"
    "  --scale N         pixels per point, 0.5 to 4 (default 2)\n"
    "  --only NAME,...   only these screens, named as their files without .png\n"
    "  --work DIR        make the devices under DIR and keep them; DIR is new, empty or\n"
    "                    an earlier run's (default: a temporary folder, removed at the end)",
    0, 7, runGallery });

} // namespace
} // namespace ruvex
