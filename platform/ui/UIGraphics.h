#pragma once

// The current drawing context while a view draws its content (drawRect:).

#include "graphics/CGContext.h"

// Nothing outside a drawing pass.
CGContextRef UIGraphicsGetCurrentContext();
void UIGraphicsPushContext(CGContextRef context);
void UIGraphicsPopContext();

// Makes `context` current for the life of the scope.
class UIGraphicsContextScope {
public:
    explicit UIGraphicsContextScope(CGContextRef context) { UIGraphicsPushContext(context); }
    ~UIGraphicsContextScope() { UIGraphicsPopContext(); }
    UIGraphicsContextScope(const UIGraphicsContextScope&) = delete;
    UIGraphicsContextScope& operator=(const UIGraphicsContextScope&) = delete;
};
