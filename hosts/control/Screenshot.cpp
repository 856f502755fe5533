#include "Screenshot.h"

#include "foundation/AtomicFile.h"
#include "foundation/Posix.h"
#include "ui/UIWindow.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

namespace {

// Whole, through short reads and signals.
bool readAll(int fd, unsigned char* data, size_t size)
{
    while (size > 0) {
        ssize_t done = read(fd, data, size);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= size_t(done);
    }
    return true;
}

} // namespace

Result<void> writeRawFrame(const CairoSurfacePtr& picture, const std::string& path)
{
    if (!picture)
        return Failure { "could not draw the screen at that scale" };
    int out = open(path.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat status {};
    bool regular = out >= 0 && fstat(out, &status) == 0 && S_ISREG(status.st_mode);
    bool written = regular;
    if (regular) {
        cairo_surface_flush(picture.get());
        const unsigned char* data = cairo_image_surface_get_data(picture.get());
        int width = cairo_image_surface_get_width(picture.get());
        int height = cairo_image_surface_get_height(picture.get());
        size_t rowBytes = size_t(width) * 4;
        size_t stride = size_t(cairo_image_surface_get_stride(picture.get()));
        // Rows that follow each other go in one write; the file is cut to the frame's size
        // after, so that a smaller frame over a larger one leaves no tail.
        if (stride == rowBytes)
            written = bool(posix::writeAll(out, std::string_view(reinterpret_cast<const char*>(data), rowBytes * size_t(height))));
        for (int y = 0; stride != rowBytes && written && y < height; ++y)
            written = bool(posix::writeAll(out, std::string_view(reinterpret_cast<const char*>(data + size_t(y) * stride), rowBytes)));
        written = written && ftruncate(out, off_t(rowBytes * size_t(height))) == 0;
    }
    if (out >= 0)
        close(out);
    if (!written)
        return Failure { "could not write the frame to " + path + (regular ? "" : ": not a regular file") };
    return {};
}

CairoSurfacePtr readRawFrame(const std::string& path, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    int in = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (in < 0)
        return nullptr;
    size_t rowBytes = size_t(width) * 4;
    struct stat status {};
    CairoSurfacePtr picture;
    if (fstat(in, &status) == 0 && S_ISREG(status.st_mode) && size_t(status.st_size) == rowBytes * size_t(height)) {
        picture.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
        unsigned char* data = cairo_image_surface_get_data(picture.get());
        size_t stride = size_t(cairo_image_surface_get_stride(picture.get()));
        bool read = data != nullptr;
        if (read && stride == rowBytes)
            read = readAll(in, data, rowBytes * size_t(height));
        for (int y = 0; read && stride != rowBytes && y < height; ++y)
            read = readAll(in, data + size_t(y) * stride, rowBytes);
        if (read)
            cairo_surface_mark_dirty(picture.get());
        else
            picture.reset();
    }
    close(in);
    return picture;
}

} // namespace control
