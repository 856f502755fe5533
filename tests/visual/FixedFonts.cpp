// The fonts are fixed before any test runs: a label made by one test would otherwise load
// the machine's whole font list for the rest of the process.

#include "GalleryStage.h"

namespace {

[[maybe_unused]] const bool fixedFonts = (gallery::useFixedFonts(), true);

} // namespace
