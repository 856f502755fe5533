#pragma once

// A drawing context in CoreGraphics' procedural style, over a Painter. Saves and restores
// must pair as on the platform; any left open are restored when the context goes.

#include "graphics/CGColor.h"
#include "graphics/CGGeometry.h"
#include "graphics/CGGradient.h"
#include "graphics/Painter.h"

enum CGGradientDrawingOptions : unsigned {
    kCGGradientDrawsBeforeStartLocation = 1u << 0,
    kCGGradientDrawsAfterEndLocation = 1u << 1,
};

class CGContext {
public:
    explicit CGContext(Painter& painter) : _painter(painter) { }
    ~CGContext();
    CGContext(const CGContext&) = delete;
    CGContext& operator=(const CGContext&) = delete;

    Painter& painter() { return _painter; }
    void saveGState();
    // A restore without a save is ignored rather than unbalancing the painter's own saves.
    void restoreGState();

    RGBA fillColor() const { return _fill.back(); }
    void setFillColor(RGBA color) { _fill.back() = color; }

private:
    Painter& _painter;
    int _depth = 0;
    std::vector<RGBA> _fill {RGBA {0, 0, 0, 1}};
};

using CGContextRef = CGContext*;

void CGContextSaveGState(CGContextRef context);
void CGContextRestoreGState(CGContextRef context);
void CGContextClipToRect(CGContextRef context, CGRect rect);
void CGContextSetFillColorWithColor(CGContextRef context, const CGColorRef& color);
void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha);
void CGContextFillRect(CGContextRef context, CGRect rect);
// Paints the gradient along the line from `start` to `end` over the current clip; beyond
// the ends the end colours continue only when `options` asks.
void CGContextDrawLinearGradient(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end,
    unsigned options);
