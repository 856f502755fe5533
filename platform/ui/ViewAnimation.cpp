#include "ui/ViewAnimation.h"

#include "corefoundation/CFRunLoop.h"

#include <vector>

namespace view_animation {

namespace {

std::vector<Span>& blocks()
{
    static std::vector<Span> stack;
    return stack;
}

} // namespace

std::optional<Span> currentBlock()
{
    if (blocks().empty())
        return std::nullopt;
    return blocks().back();
}

void runBlock(double duration, const std::function<void()>& animations)
{
    if (!animations)
        return;
    blocks().push_back({now(), duration});
    struct Pop {
        ~Pop() { blocks().pop_back(); }
    } pop;
    animations();
}

double now()
{
    return RunLoop::main().now();
}

double easeInOut(double progress)
{
    // Close to the platform's cubic curve and symmetric about the midpoint.
    if (progress <= 0)
        return 0;
    if (progress >= 1)
        return 1;
    return progress * progress * (3 - 2 * progress);
}

} // namespace view_animation
