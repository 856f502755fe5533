#include "ui/UIGraphics.h"

#include <vector>

namespace {

std::vector<CGContextRef>& contexts()
{
    static thread_local std::vector<CGContextRef> stack;
    return stack;
}

} // namespace

CGContextRef UIGraphicsGetCurrentContext()
{
    return contexts().empty() ? nullptr : contexts().back();
}

void UIGraphicsPushContext(CGContextRef context)
{
    contexts().push_back(context);
}

void UIGraphicsPopContext()
{
    if (!contexts().empty())
        contexts().pop_back();
}
