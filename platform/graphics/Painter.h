#pragma once

// The drawing state of one render: a Cairo context with save/restore bound to scopes.

#include "graphics/CGColor.h"
#include "graphics/CGGeometry.h"

#include <cairo.h>

class Painter {
public:
    // Takes its own reference to `cr`.
    explicit Painter(cairo_t* cr);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // Restores the state saved at its creation when it leaves the scope.
    class [[nodiscard]] SavedState {
    public:
        explicit SavedState(Painter& painter);
        ~SavedState();
        SavedState(const SavedState&) = delete;
        SavedState& operator=(const SavedState&) = delete;

    private:
        Painter& _painter;
    };
    SavedState save() { return SavedState(*this); }

    cairo_t* cairo() const { return _cr; }

    void translate(CGFloat dx, CGFloat dy);
    void clipToRect(CGRect rect);
    void clipToRoundedRect(CGRect rect, CGFloat radius);
    void fillRect(CGRect rect, RGBA color);
    void fillRoundedRect(CGRect rect, CGFloat radius, RGBA color);
    // A border of `width` lying inside `rect`, as a layer's border does.
    void strokeInside(CGRect rect, CGFloat radius, CGFloat width, RGBA color);

    // Draws what follows into a group painted at `alpha` when the group ends.
    void beginGroup();
    void endGroup(double alpha);

private:
    void roundedRectPath(CGRect rect, CGFloat radius);
    void setSource(RGBA color);

    cairo_t* _cr;
};
