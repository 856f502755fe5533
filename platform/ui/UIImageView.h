#pragma once

// A view showing an image scaled to its bounds (nine-slice for stretchable images).

#include "ui/UIImage.h"
#include "ui/UIView.h"

class UIImageView : public UIView {
    RVX_OBJECT(UIImageView)
public:
    explicit UIImageView(CGRect frame = CGRectZero);
    // Sized to the image.
    explicit UIImageView(UIImageRef image);

    const UIImageRef& image() const { return _image; }
    void setImage(UIImageRef image);

    CGSize sizeThatFits(CGSize size) const override;
    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

private:
    UIImageRef _image;
};
