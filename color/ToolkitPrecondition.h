#pragma once

// Reports a broken precondition of the colour toolkit through the platform's assertion
// handler, which raises: the caller does not go on.

#include "ui/UIColor.h"

#include <string_view>

namespace UIColor_Toolkit::detail {

void require(bool condition, const UIColorRef& color, std::string_view selector, int line, std::string_view message);

} // namespace UIColor_Toolkit::detail

#define RVX_TOOLKIT_REQUIRE(condition, color, selector, message) \
    ::UIColor_Toolkit::detail::require((condition), (color), (selector), __LINE__, (message))
