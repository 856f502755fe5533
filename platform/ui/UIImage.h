#pragma once

// Bitmap images loaded from PNG files, with a size in points (pixels / scale) and
// optional stretch caps.

#include "graphics/CairoPtr.h"
#include "graphics/CGGeometry.h"
#include "graphics/Painter.h"
#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <string>

class UIImage : public NSObject {
    RVX_OBJECT(UIImage)
public:
    // Larger images are refused rather than decoded.
    static constexpr int kMaxPixelsPerSide = 4096;

    UIImage() = default;
    UIImage(SharedSurface surface, CGFloat scale);

    // `path` is a phone path, resolved under the device root. An "@2x" file beside it is
    // preferred and gives scale 2. Nothing for a missing, unreadable, oversized or non-PNG
    // file, or one that is not a regular file.
    static UIImageRef imageWithContentsOfFile(std::string_view path);
    // The same for a path on the host, not resolved.
    static UIImageRef imageWithHostFile(const std::string& hostPath, CGFloat scale = 1);

    CGSize size() const;
    CGFloat scale() const { return _scale; }
    const SharedSurface& surface() const { return _surface; }

    // The right cap is width - left - 1 and the bottom cap height - top - 1: the one point
    // between them stretches. A cap of 0 stretches the whole image in that direction.
    UIImageRef stretchableImageWithLeftCapWidth(int leftCapWidth, int topCapHeight) const;
    int leftCapWidth() const { return _leftCapWidth; }
    int topCapHeight() const { return _topCapHeight; }

    // Draws the image scaled to `rect`, nine-slice when it has caps.
    void drawInRect(Painter& painter, CGRect rect) const;

private:
    SharedSurface _surface;
    CGFloat _scale = 1;
    int _leftCapWidth = 0;
    int _topCapHeight = 0;
};
