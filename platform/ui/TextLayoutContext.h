#pragma once

// The text layer's one Pango context (inside the UI library only). Pango is not thread-safe:
// everything that touches the context or a layout holds lock().

#include "graphics/CGGeometry.h"
#include "ui/UIKitTypes.h"

#include <mutex>
#include <string>

typedef struct _PangoContext PangoContext;

namespace text_layout {

std::mutex& lock();
// The measuring context: points as units, no hinting of metrics and no rounding of glyph
// positions, so that a layout measures the same at every scale it is drawn at.
PangoContext* context();

// The family name that asks for the catalogue's face `index` and nothing else.
std::string faceFamily(size_t index);

struct Metrics {
    CGFloat ascent = 0;
    CGFloat descent = 0; // positive, below the baseline
};
Metrics metrics(const UIFont& font);

} // namespace text_layout
