#include "ui/UIWindow.h"

#include "ui/UIApplication.h"

#include <cmath>

RVX_DEFINE_CLASS(UIWindow, UIView)

namespace {

// Large enough for any screen at any scale used here, small enough to never exhaust memory.
constexpr double kMaxPixels = 8192.0 * 8192.0;

CairoSurfacePtr renderSurface(const UIView& view, double scale, bool opaqueWhite)
{
    CGRect bounds = view.bounds();
    double width = std::ceil(bounds.size.width * scale);
    double height = std::ceil(bounds.size.height * scale);
    if (!(scale > 0) || !(width >= 1) || !(height >= 1) || width * height > kMaxPixels)
        return nullptr;
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(width), int(height)));
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    CairoContextPtr cr(cairo_create(surface.get()));
    if (opaqueWhite) {
        cairo_set_source_rgb(cr.get(), 1, 1, 1);
        cairo_paint(cr.get());
    }
    cairo_scale(cr.get(), scale, scale);
    CGRect shown = view.presentationFrame();
    cairo_translate(cr.get(), -shown.origin.x, -shown.origin.y);
    Painter painter(cr.get());
    view.render(painter);
    cairo_surface_flush(surface.get());
    return surface;
}

} // namespace

namespace {

std::weak_ptr<UIWindow>& keyWindowSlot()
{
    static std::weak_ptr<UIWindow> window;
    return window;
}

} // namespace

void UIWindow::makeKeyAndVisible()
{
    setHidden(false);
    keyWindowSlot() = selfAs<UIWindow>();
}

UIWindowRef UIWindow::keyWindow()
{
    return keyWindowSlot().lock();
}

UIResponderRef UIWindow::nextResponder() const
{
    return UIApplication::sharedApplication();
}

CairoSurfacePtr UIWindow::renderImage(double scale) const
{
    return renderSurface(*this, scale, true);
}

bool UIWindow::writePNG(const std::string& path, double scale) const
{
    CairoSurfacePtr surface = renderImage(scale);
    return surface && cairo_surface_write_to_png(surface.get(), path.c_str()) == CAIRO_STATUS_SUCCESS;
}

CairoSurfacePtr UIRenderView(const UIView& view, double scale)
{
    return renderSurface(view, scale, false);
}
