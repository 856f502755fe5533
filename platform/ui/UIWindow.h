#pragma once

// The root of a view tree on screen. Renders the whole tree to an image or a PNG file.

#include "graphics/CairoPtr.h"
#include "ui/UIView.h"

#include <string>

class UIWindow : public UIView {
    RVX_OBJECT(UIWindow)
public:
    using UIView::UIView;

    UIResponderRef nextResponder() const override;

    // The window that shows what no host presents itself (alerts): the last made key.
    void makeKeyAndVisible();
    static UIWindowRef keyWindow();

    // The window's tree drawn at `scale` pixels per point over an opaque white screen.
    CairoSurfacePtr renderImage(double scale = 2) const;
    // Writes the rendering as PNG; false when the file cannot be written.
    bool writePNG(const std::string& path, double scale = 2) const;
};

// Any view alone, its bounds at the image's origin, over transparent pixels; nothing for an
// empty view or a size beyond the image budget.
CairoSurfacePtr UIRenderView(const UIView& view, double scale = 2);
