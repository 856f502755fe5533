#include "Screenshot.h"

#include "foundation/AtomicFile.h"
#include "ui/UIWindow.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/stat.h>

namespace control {

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

} // namespace

bool writeScreenshot(const UIWindow& window, const std::string& path, double scale, std::string& error)
{
    if (!(scale >= kLeastScale && scale <= kGreatestScale)) {
        char text[96];
        std::snprintf(text, sizeof text, "the scale must lie from %g to %g", kLeastScale, kGreatestScale);
        error = text;
        return false;
    }
    return writeScreenshot(window.renderImage(scale), path, error);
}

bool writeScreenshot(const CairoSurfacePtr& surface, const std::string& path, std::string& error)
{
    if (path.empty() || path.back() == '/') {
        error = "a screenshot needs a file name, not '" + path + "'";
        return false;
    }
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        const char* kind = S_ISLNK(existing.st_mode) ? "a link" : S_ISDIR(existing.st_mode) ? "a folder"
            : S_ISFIFO(existing.st_mode) ? "a FIFO" : "not a regular file";
        error = "could not write " + path + ": it is " + kind + " (a screenshot replaces only a regular file)";
        return false;
    }
    if (!surface) {
        error = "could not draw the window at that scale";
        return false;
    }
    std::string png;
    if (cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png) != CAIRO_STATUS_SUCCESS) {
        error = "could not encode the picture as PNG";
        return false;
    }
    errno = 0;
    if (!AtomicFile::write(path, png)) {
        error = "could not write " + path + (errno ? std::string(": ") + std::strerror(errno) : std::string());
        return false;
    }
    return true;
}

} // namespace control
