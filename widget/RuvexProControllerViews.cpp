// The row: background, bar and info button, built in two steps and restyled in place.

#include "RuvexProController.h"

#include "RVXExports.h"
#include "WidgetSettings.h"

#include "foundation/NSFileManager.h"
#include "foundation/NSUserDefaults.h"
#include "ui/UIFont.h"

#include <cmath>

namespace {

constexpr CGFloat kRowWidth = 316;
constexpr CGFloat kBackgroundInset = 2;
constexpr double kFadeInDuration = 0.25;

// Edges keep their size, the middle stretches.
UIImageRef stretchable(const UIImageRef& image)
{
    if (!image)
        return image;
    CGSize size = image->size();
    return image->stretchableImageWithLeftCapWidth(int(std::floor(size.width / 2)), int(std::floor(size.height / 2)));
}

void resizeHeight(const UIViewRef& view, CGFloat height)
{
    if (!view)
        return;
    CGRect frame = view->frame();
    view->setFrame(CGRectMake(frame.origin.x, frame.origin.y, frame.size.width, height));
}

} // namespace

RuvexProController::BackgroundChoice RuvexProController::chooseBackground(const NSDictionary& settings)
{
    using namespace RVXSettings;
    if (valueFor(settings, Keys::UseCustom)) {
        std::string path = stringFor(settings, Keys::Path.name).value_or("");
        if (path.empty() || !NSFileManager::defaultManager().fileExistsAtPath(path))
            return std::nullopt;
        UIImageRef image = UIImage::imageWithContentsOfFile(path);
        return valueFor(settings, Keys::Strechable) ? stretchable(image) : image;
    }
    if (valueFor(settings, Keys::Background) != 0)
        return std::nullopt;
    return stretchable(UIImage::imageWithContentsOfFile(WidgetSettings::defaultBackground));
}

void RuvexProController::loadPlaceholderView()
{
    _view = std::make_shared<UIView>(CGRectMake(0, 0, kRowWidth, viewHeight()));
    _view->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    _backgroundView = nullptr;
    BackgroundChoice image = chooseBackground(RVXSettings::read());
    if (!image)
        return;
    _backgroundView = std::make_shared<UIImageView>(*image);
    _backgroundView->setFrame(CGRectInset(_view->bounds(), kBackgroundInset, 0));
    _backgroundView->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    _view->addSubview(_backgroundView);
}

void RuvexProController::applyLabelStyle(const NSDictionary& settings)
{
    if (!but)
        return;
    WidgetSettings::LabelStyle style = WidgetSettings::labelStyle(settings);
    const auto& color = style.color;
    but->setTitleColor(UIColor::colorWithHue(color.hue, color.saturation, color.brightness, color.alpha), UIControlStateNormal);
    // An unknown face leaves the title in the font it has.
    if (UIFontRef font = UIFont::fontWithName(style.fontName, style.fontSize))
        but->titleLabel()->setFont(font);
    but->setTitle(style.title, UIControlStateNormal);
    but->setShowsTouchWhenHighlighted(style.glow);
}

void RuvexProController::loadFullView()
{
    using namespace RVXSettings;
    id keep = self();
    but = UIButton::buttonWithType(UIButtonTypeCustom);
    if (NSFileManager::defaultManager().fileExistsAtPath(path)) {
        NSDictionary settings = read();
        applyLabelStyle(settings);
        if (!valueFor(settings, Keys::HideAlpha))
            _info = UIButton::buttonWithType(UIButtonTypeInfoLight);
        if (valueFor(settings, Keys::CloseOnAppear))
            performSelector("kill");
    } else {
        _info = UIButton::buttonWithType(UIButtonTypeInfoLight);
        long long count = NSUserDefaults::standardUserDefaults().integerForKey(Keys::Count.name);
        createIfMissing(Keys::Count.name, PlistValue(count));
        but->setTitle(std::string(*Keys::Label.fallback), UIControlStateNormal);
        but->setShowsTouchWhenHighlighted(true);
    }
    layoutControls();
    but->setAlpha(0);
    but->addTarget(keep, "kill", UIControlEventTouchUpInside);
    if (_info) {
        _info->setAlpha(0);
        _info->addTarget(keep, "info", UIControlEventTouchUpInside);
    }
    if (_view) {
        _view->addSubview(but);
        if (_info)
            _view->addSubview(_info);
    }
    UIButtonRef bar = but, info = _info;
    UIView::animateWithDuration(kFadeInDuration, [bar, info] {
        bar->setAlpha(1);
        if (info)
            info->setAlpha(1);
    });
}

void RuvexProController::layoutControls()
{
    CGFloat width = _view ? _view->frame().size.width : 0;
    if (but)
        but->setFrame(CGRectMake(0, 0, width, VIEW_HEIGHT));
    if (_info)
        _info->setFrame(CGRectMake(width - 36, VIEW_HEIGHT * 0.5f - 15, 30, 30));
}

void RuvexProController::makeInfoButton()
{
    _info = UIButton::buttonWithType(UIButtonTypeInfoLight);
    _info->addTarget(self(), "info", UIControlEventTouchUpInside);
    if (_view)
        _view->addSubview(_info);
}

void RuvexProController::reload()
{
    using namespace RVXSettings;
    if (!passesIconGate())
        return;
    id keep = self();
    NSDictionary settings = read();
    BackgroundChoice image = chooseBackground(settings);
    if (image && _backgroundView)
        _backgroundView->setImage(*image);
    applyLabelStyle(settings);
    if (valueFor(settings, Keys::HideAlpha)) {
        if (_info)
            _info->removeFromSuperview();
        _info = nullptr;
    } else if (!_info) {
        makeInfoButton();
    }
    float height = viewHeight();
    if (_view && height != _view->frame().size.height) {
        resizeHeight(_view, VIEW_HEIGHT);
        resizeHeight(_backgroundView, VIEW_HEIGHT);
    }
    layoutControls();
    if (_info)
        _info->setAlpha(1);
}
