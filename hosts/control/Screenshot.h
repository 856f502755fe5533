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

} // namespace control
