#include "color/GradientAlpha.h"

#include "color/UIColorHSVAdditions.h"
#include "graphics/CAGradientLayer.h"

RVX_DEFINE_CLASS(GradientAlpha, UIView,
    cls.addMethod("setupAlpha", runtime::method(&GradientAlpha::setupAlpha)))

GradientAlpha::GradientAlpha(CGRect frame)
    : UIView(frame)
{
}

void GradientAlpha::setupAlpha()
{
    layer()->setSublayers({});

    CAGradientLayerRef fade = CAGradientLayer::layer();
    fade->setStartPoint(CGPointMake(0, 0.5f));
    fade->setEndPoint(CGPointMake(1.0f, 0.5f));
    fade->setFrame(bounds());
    UIColorRef opaque = UIColor::colorWithHue(UIColor_HSVAdditions::hue(_theColor),
        UIColor_HSVAdditions::saturation(_theColor), UIColor_HSVAdditions::brightness(_theColor), 1.0f);
    fade->setColors({opaque->CGColor(), UIColor::colorWithWhite(1.0f, 0)->CGColor()});
    layer()->insertSublayer(fade, 0);
}
