#pragma once

// A host's window written as PNG at a host path, for the `screenshot` request. The picture
// goes to a temporary file beside the target and is renamed over it, so that a failed write
// (a full disk) leaves what lay there before. Only a regular file is replaced or a new name
// made: a FIFO, a device, a folder or a link at the path is refused, never opened.

#include "foundation/Result.h"
#include "graphics/CairoPtr.h"

#include <string>

class UIWindow;

namespace control {

inline constexpr double kLeastScale = 0.1;
inline constexpr double kGreatestScale = 8;

Result<void> writeScreenshot(const UIWindow& window, const std::string& path, double scale);
// A picture already drawn (a composed screen), written the same way.
Result<void> writeScreenshot(const CairoSurfacePtr& picture, const std::string& path);

// A frame for a live screen: the picture's pixels alone (32-bit native-endian ARGB, rows of
// 4 x width bytes), written in place at the path without a sync, since a frame is read at
// once and never kept. Only a regular file is written or made; a link is not followed.
Result<void> writeRawFrame(const CairoSurfacePtr& picture, const std::string& path);
// Such a frame of `width` by `height` pixels read into a picture; nothing when the file is
// not a regular file of exactly that size.
CairoSurfacePtr readRawFrame(const std::string& path, int width, int height);

} // namespace control
