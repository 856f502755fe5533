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

Result<void> writeScreenshot(const UIWindow& window, const std::string& path, double scale)
{
    if (!(scale >= kLeastScale && scale <= kGreatestScale)) {
        char text[96];
        std::snprintf(text, sizeof text, "the scale must lie from %g to %g", kLeastScale, kGreatestScale);
        return Failure { text };
    }
    return writeScreenshot(window.renderImage(scale), path);
}

Result<void> writeScreenshot(const CairoSurfacePtr& surface, const std::string& path)
{
    if (path.empty() || path.back() == '/')
        return Failure { "a screenshot needs a file name, not '" + path + "'" };
    struct stat existing {};
    if (lstat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        const char* kind = S_ISLNK(existing.st_mode) ? "a link" : S_ISDIR(existing.st_mode) ? "a folder"
            : S_ISFIFO(existing.st_mode) ? "a FIFO" : "not a regular file";
        return Failure { "could not write " + path + ": it is " + kind + " (a screenshot replaces only a regular file)" };
    }
    if (!surface)
        return Failure { "could not draw the window at that scale" };
    std::string png;
    if (cairo_surface_write_to_png_stream(surface.get(), appendBytes, &png) != CAIRO_STATUS_SUCCESS)
        return Failure { "could not encode the picture as PNG" };
    errno = 0;
    if (!AtomicFile::write(path, png))
        return Failure { "could not write " + path + (errno ? std::string(": ") + std::strerror(errno) : std::string()) };
    return {};
}

} // namespace control
