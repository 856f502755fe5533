#include "color/GradientView.h"

#include "color/UIColorHSVAdditions.h"
#include "ui/UIGraphics.h"

RVX_DEFINE_CLASS(GradientView, UIView,
    cls.addMethod("setupGradient", runtime::method(&GradientView::setupGradient)))

GradientView::GradientView(CGRect frame)
    : UIView(frame)
{
}

GradientView::~GradientView()
{
    CGGradientRelease(_gradient);
}

void GradientView::setupGradient()
{
    UIColorRef base = UIColor::colorWithHue(UIColor_HSVAdditions::hue(_theColor),
        UIColor_HSVAdditions::saturation(_theColor), 1.0f, 1.0f);
    const CGFloat* rgb = CGColorGetComponents(base->CGColor());
    const CGFloat components[8] = {rgb[0], rgb[1], rgb[2], 1.0f, 0, 0, 0, 1.0f};

    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    if (_gradient)
        CGGradientRelease(_gradient);
    _gradient = CGGradientCreateWithColorComponents(space, components, nullptr, 2);
    CGColorSpaceRelease(space);
}

void GradientView::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context || !_gradient)
        return;
    CGContextSaveGState(context);
    CGContextClipToRect(context, CGRectMake(0, 0, 300, 60));
    CGContextDrawLinearGradient(context, _gradient, CGPointMake(0, 0), CGPointMake(300, 0), 0);
    CGContextRestoreGState(context);
}

namespace {

CGPoint onLeftEdge(CGRect rect, double fraction)
{
    return {rect.origin.x, CGFloat(double(rect.origin.y) + double(rect.size.height) * fraction)};
}

} // namespace

CGPoint demoLGStar(CGRect rect) { return onLeftEdge(rect, 0.25); }
CGPoint demoLGEn(CGRect rect) { return onLeftEdge(rect, 0.75); }
CGPoint deoLGStart(CGRect rect) { return onLeftEdge(rect, 0.25); }
CGPoint demoLGEnd(CGRect rect) { return onLeftEdge(rect, 0.75); }
