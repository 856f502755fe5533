#include "color/ColorPickerMapping.h"

namespace ColorPickerMapping {

Area areaAtPoint(CGPoint point, CGRect brightnessFrame, CGRect alphaFrame)
{
    if (CGRectContainsPoint(kMapFrame, point))
        return Area::Map;
    if (CGRectContainsPoint(brightnessFrame, point))
        return Area::Brightness;
    if (CGRectContainsPoint(alphaFrame, point))
        return Area::Alpha;
    return Area::None;
}

HueSaturation hueSaturationAtPoint(CGPoint point)
{
    double hue = (double(point.x) - kHueOrigin) / kHueSpan;
    double saturation = (double(point.y) - kSaturationLine) / -kSaturationSpan + 1;
    return {float(hue), float(saturation)};
}

CGPoint crossHairCenter(float hue, float saturation)
{
    double x = double(hue) * kHueSpan + kHueOrigin;
    double y = (1 - double(saturation)) * kSaturationSpan + kSaturationLine;
    return {CGFloat(x), CGFloat(y)};
}

float barValueAtX(CGFloat x, CGFloat barWidth)
{
    return float(1 - double(x) / double(barWidth) + kBarOffset);
}

CGFloat barMarkerX(float value, CGFloat barWidth)
{
    return CGFloat(double(barWidth) * (kBarInverseOffset - double(value)));
}

} // namespace ColorPickerMapping
