#pragma once

// The widget's view of the Settings file: each value the row needs, read from one fresh
// dictionary with its default. Values that cannot be used (a height that is not a positive
// finite number, a size that is not finite, a colour text that is not four numbers) read as
// missing rather than reaching the views.

#include "shared/RVXSettings.h"

#include <optional>
#include <string>

namespace WidgetSettings {

inline constexpr float defaultHeight = 35;
inline constexpr const char* defaultBackground = "/System/Library/WeeAppPlugins/RuvexPro.bundle/Background.png";

float height(const NSDictionary& settings);

struct LabelStyle {
    std::string title;
    std::string fontName;
    float fontSize;
    RVXSettings::TextColor color;
    bool glow;
};
LabelStyle labelStyle(const NSDictionary& settings);

} // namespace WidgetSettings
