#include "color/ToolkitPrecondition.h"

#include "foundation/NSAssertionHandler.h"

namespace UIColor_Toolkit::detail {

void require(bool condition, const UIColorRef& color, std::string_view selector, int line, std::string_view message)
{
    if (condition)
        return;
    NSAssertionHandler::currentHandler().handleFailureInMethod(
        selector, color.get(), "UIColor-Toolkit", line, "%.*s", int(message.size()), message.data());
}

} // namespace UIColor_Toolkit::detail
