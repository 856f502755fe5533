#pragma once

// Cairo objects held by smart pointers that destroy them with Cairo's own calls.

#include <cairo.h>

#include <memory>

namespace cairo_ptr {

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
struct ContextDeleter {
    void operator()(cairo_t* cr) const { cairo_destroy(cr); }
};
struct PatternDeleter {
    void operator()(cairo_pattern_t* pattern) const { cairo_pattern_destroy(pattern); }
};

} // namespace cairo_ptr

using CairoSurfacePtr = std::unique_ptr<cairo_surface_t, cairo_ptr::SurfaceDeleter>;
using CairoContextPtr = std::unique_ptr<cairo_t, cairo_ptr::ContextDeleter>;
using CairoPatternPtr = std::unique_ptr<cairo_pattern_t, cairo_ptr::PatternDeleter>;

// A surface shared by several owners (an image and the copies made from it).
using SharedSurface = std::shared_ptr<cairo_surface_t>;
inline SharedSurface shareSurface(CairoSurfacePtr surface)
{
    return SharedSurface(surface.release(), cairo_ptr::SurfaceDeleter {});
}
