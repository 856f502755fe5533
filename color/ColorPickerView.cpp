#include "color/ColorPickerView.h"

#include "color/ColorPickerMapping.h"
#include "color/UIColorHSVAdditions.h"
#include "color/UIColorToolkit.h"
#include "foundation/NSBundle.h"
#include "foundation/NSString.h"
#include "ui/UILabel.h"
#include "ui/UITouch.h"

#include <charconv>

namespace Mapping = ColorPickerMapping;

RVX_DEFINE_CLASS(ColorPickerView, UIView,
    cls.addMethod("prepareObjects", runtime::method(&ColorPickerView::prepareObjects));
    cls.addMethod("setColor:", [](NSObject& self, const id& color) -> id {
        static_cast<ColorPickerView&>(self).setColor(std::dynamic_pointer_cast<UIColor>(color));
        return nullptr;
    });
    cls.addMethod("getColorShown", [](NSObject& self, const id&) -> id {
        return static_cast<ColorPickerView&>(self).getColorShown();
    }))

namespace {

UIImageRef bundleImage(const std::shared_ptr<NSBundle>& bundle, std::string_view name)
{
    if (!bundle)
        return nullptr;
    std::optional<std::string> path = bundle->pathForResource(name, "png");
    return path ? UIImage::imageWithContentsOfFile(*path) : nullptr;
}

UIImageViewRef imageViewInFrame(CGRect frame, UIImageRef image)
{
    auto view = std::make_shared<UIImageView>(frame);
    view->setImage(std::move(image));
    return view;
}

void giveBlackBorder(const UIView& view)
{
    view.layer()->setBorderColor(UIColor::blackColor()->CGColor());
    view.layer()->setBorderWidth(1);
}

void appendFixed(std::string& text, float value)
{
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, double(value), std::chars_format::fixed, 6);
    text.append(buffer, result.ptr);
}

} // namespace

ColorPickerView::ColorPickerView(CGRect frame)
    : UIView(frame)
{
}

void ColorPickerView::prepareObjects()
{
    std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithPath(kBundlePath);

    _gradientView = std::make_shared<GradientView>(CGRectMake(10, 323, 300, 40));
    _alphaView = std::make_shared<GradientAlpha>(CGRectMake(10, 370, 300, 40));

    _alphaBar = std::make_shared<UIImageView>(bundleImage(bundle, "bar_select"));
    _crossHairs = std::make_shared<UIImageView>(bundleImage(bundle, "crosshair"));
    _brightnessBar = std::make_shared<UIImageView>(bundleImage(bundle, "bar_select"));

    giveBlackBorder(*_gradientView);
    giveBlackBorder(*_alphaView);

    _showColor = std::make_shared<UIView>(CGRectMake(195, 5, 113, 49));
    giveBlackBorder(*_showColor);

    auto caption = std::make_shared<UILabel>(CGRectMake(20, 19, 107, 21));
    caption->setBackgroundColor(UIColor::clearColor());
    caption->setText("Color Preview");
    caption->setTextColor(UIColor::blackColor());

    std::string mapPath = NSString::stringByAppendingPathComponent(kBundlePath, "colormap.png");
    UIImageViewRef map = imageViewInFrame(Mapping::kMapFrame, UIImage::imageWithContentsOfFile(mapPath));
    giveBlackBorder(*map);

    UIImageViewRef previewTiles = imageViewInFrame(_showColor->frame(), bundleImage(bundle, "Tiles"));
    UIImageViewRef alphaTiles = imageViewInFrame(_alphaView->frame(), bundleImage(bundle, "LongTiles"));

    setMultipleTouchEnabled(true);

    // Back to front: each checkerboard lies under what it shows through, the markers on top.
    for (const UIViewRef& view : std::initializer_list<UIViewRef> {map, alphaTiles, _alphaView, _gradientView,
             previewTiles, _alphaBar, _showColor, _crossHairs, _brightnessBar, caption})
        addSubview(view);
}

void ColorPickerView::setColor(const UIColorRef& color)
{
    _currentHue = UIColor_HSVAdditions::hue(color);
    _currentSaturation = UIColor_HSVAdditions::saturation(color);
    _currentBrightness = UIColor_HSVAdditions::brightness(color);
    _currentAlpha = UIColor_Toolkit::alpha(color);

    UIColorRef shown = getColorShown();
    if (_gradientView)
        _gradientView->setTheColor(shown);
    if (_alphaView)
        _alphaView->setTheColor(shown);
    if (_showColor)
        _showColor->setBackgroundColor(shown);

    if (_crossHairs)
        _crossHairs->setCenter(Mapping::crossHairCenter(_currentHue, _currentSaturation));
    if (_brightnessBar && _gradientView) {
        CGFloat x = Mapping::barMarkerX(_currentBrightness, _gradientView->frame().size.width);
        _brightnessBar->setCenter({x, Mapping::kBrightnessMarkerY});
    }
    if (_alphaBar && _alphaView) {
        CGFloat x = Mapping::barMarkerX(_currentAlpha, _alphaView->frame().size.width);
        _alphaBar->setCenter({x, Mapping::kAlphaMarkerY});
    }
}

UIColorRef ColorPickerView::getColorShown() const
{
    return UIColor::colorWithHue(_currentHue, _currentSaturation, _currentBrightness, _currentAlpha);
}

std::string ColorPickerView::getColorAsString() const
{
    std::string text;
    appendFixed(text, _currentHue);
    text += ',';
    appendFixed(text, _currentSaturation);
    text += ',';
    appendFixed(text, _currentBrightness);
    text += ',';
    appendFixed(text, _currentAlpha);
    return text;
}

void ColorPickerView::dispatchTouchEvent(CGPoint point)
{
    // Before prepareObjects there is nothing to touch.
    if (!_gradientView || !_alphaView)
        return;
    switch (Mapping::areaAtPoint(point, _gradientView->frame(), _alphaView->frame())) {
    case Mapping::Area::Map:
        animateView(_crossHairs, point);
        updateHueSatWithMovement(point);
        break;
    case Mapping::Area::Brightness:
        animateView(_brightnessBar, {point.x, Mapping::kBrightnessMarkerY});
        updateBrightnessWithMovement(point);
        break;
    case Mapping::Area::Alpha:
        animateView(_alphaBar, {point.x, Mapping::kAlphaMarkerY});
        updateAlphaWithMovement(point);
        break;
    case Mapping::Area::None:
        break;
    }
}

void ColorPickerView::updateHueSatWithMovement(CGPoint point)
{
    Mapping::HueSaturation values = Mapping::hueSaturationAtPoint(point);
    _currentHue = values.hue;
    _currentSaturation = values.saturation;

    if (_gradientView) {
        // The brightness bar takes only hue and saturation from its colour.
        _gradientView->setTheColor(UIColor::colorWithHue(values.hue, values.saturation, 0.5f, 1.0f));
        _gradientView->setupGradient();
        _gradientView->setNeedsDisplay();
    }
    if (_alphaView) {
        _alphaView->setTheColor(UIColor::colorWithHue(values.hue, values.saturation, _currentBrightness, 1.0f));
        _alphaView->setupAlpha();
        _alphaView->setNeedsDisplay();
    }
    showColorWithBrightness(_currentBrightness, _currentAlpha);
    _defaultColor = false;
}

void ColorPickerView::updateBrightnessWithMovement(CGPoint point)
{
    if (!_gradientView)
        return;
    float brightness = Mapping::barValueAtX(point.x, _gradientView->frame().size.width);
    _currentBrightness = brightness;

    if (_alphaView) {
        _alphaView->setTheColor(UIColor::colorWithHue(_currentHue, _currentSaturation, brightness, 1.0f));
        _alphaView->setupAlpha();
        _alphaView->setNeedsDisplay();
    }
    showColorWithBrightness(brightness, _currentAlpha);
    _defaultColor = false;
}

void ColorPickerView::updateAlphaWithMovement(CGPoint point)
{
    if (!_alphaView)
        return;
    _currentAlpha = Mapping::barValueAtX(point.x, _alphaView->frame().size.width);
    showColorWithBrightness(_currentBrightness, _currentAlpha);
    _defaultColor = false;
}

void ColorPickerView::showColorWithBrightness(float brightness, float alpha)
{
    if (_showColor)
        _showColor->setBackgroundColor(UIColor::colorWithHue(_currentHue, _currentSaturation, brightness, alpha));
}

void ColorPickerView::animateView(const UIViewRef& view, CGPoint position)
{
    if (!view)
        return;
    UIView::animateWithDuration(kMarkerAnimationDuration, [&] {
        view->setCenter(position);
        view->setTransform(CGAffineTransformIdentity);
    });
}

void ColorPickerView::touchesBegan(const UITouchSet& touches, const UIEventRef&)
{
    touchesChanged(touches);
}

void ColorPickerView::touchesMoved(const UITouchSet& touches, const UIEventRef&)
{
    touchesChanged(touches);
}

void ColorPickerView::touchesChanged(const UITouchSet& touches)
{
    for (const UITouchRef& touch : touches) {
        if (touch)
            dispatchTouchEvent(touch->locationInView(this));
    }
}

void ColorPickerView::drawRect(CGRect)
{
    if (_gradientView)
        _gradientView->setupGradient();
    if (_alphaView)
        _alphaView->setupAlpha();
    if (_alphaView)
        _alphaView->setNeedsDisplay();
    if (_gradientView)
        _gradientView->setNeedsDisplay();
}
