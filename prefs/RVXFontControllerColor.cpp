// The colour overlay: a colour picker that slides up over the pane while the user picks the
// label's text colour. The pane keeps no field for it; the overlay is the frontmost picker
// among the root view's subviews, which is its last subview since nothing else is added
// while it shows.
//
//   state        screen                        bar                                entered by
//   closed       the table                     the host's, with the back button   start; end of slide-out
//   sliding in   overlay moving up, 0.3 s      Cancel, "Default", Save; no back   a tap on Font Color
//   open         the overlay covers the table  the same                           end of the slide-in
//   sliding out  overlay moving down, 0.3 s    restored as the slide-out starts   Save (after storing), Cancel
//
// "Default" leaves the overlay open. Save and Cancel act only while the bar carries the
// overlay's items, so a second tap during the slide-out neither stores nor slides again.

#include "RVXFontController.h"

#include "shared/RVXSettings.h"

#include "color/ColorPickerView.h"
#include "ui/UIButton.h"
#include "ui/UIDevice.h"
#include "ui/UINavigationController.h"

namespace {

constexpr double kSlideDuration = 0.3;

CGRect movedDownByItsHeight(CGRect frame)
{
    return CGRectMake(frame.origin.x, frame.origin.y + frame.size.height, frame.size.width, frame.size.height);
}

UIColorRef storedColor()
{
    auto text = RVXSettings::stringFor(RVXSettings::read(), RVXSettings::Keys::TextColor.name);
    if (!text || *text == "default")
        return UIColor::whiteColor();
    // Text that is not four numbers reads as white, as the swatch and the widget read it.
    auto color = RVXSettings::textColorOrWhite(*text);
    return UIColor::colorWithHue(color.hue, color.saturation, color.brightness, color.alpha);
}

UIColorRef overlayBackground()
{
    if (UIDevice::currentDevice()->userInterfaceIdiom() != UIUserInterfaceIdiomPhone)
        return UIColor::lightGrayColor();
    return UIColor::groupTableViewBackgroundColor();
}

UIButtonRef makeDefaultButton(const id& pane)
{
    auto button = UIButton::buttonWithType(UIButtonTypeBorderedBarItem);
    button->setTitle("Default", UIControlStateNormal);
    button->addTarget(pane, "def", UIControlEventTouchUpInside);
    button->sizeToFit();
    return button;
}

// The bar shows what the item holds only once it is read again.
void showItemInBar(const std::weak_ptr<UINavigationController>& navigation)
{
    if (auto controller = navigation.lock())
        controller->updateBar();
}

} // namespace

std::shared_ptr<ColorPickerView> RVXFontController::colorOverlay()
{
    if (!isViewLoaded())
        return nullptr;
    const auto& subviews = view()->subviews();
    for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
        if (auto picker = std::dynamic_pointer_cast<ColorPickerView>(*it))
            return picker;
    }
    return nullptr;
}

bool RVXFontController::isColorOverlayOpen()
{
    return colorOverlay() && navigationItem()->hidesBackButton();
}

void RVXFontController::openColorOverlay()
{
    if (isColorOverlayOpen())
        return;
    id pane = self();
    const auto& item = navigationItem();
    item->setHidesBackButton(true, false);
    item->setRightBarButtonItem(UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemSave, pane, "save"), true);
    item->setLeftBarButtonItem(UIBarButtonItem::initWithTitle("Cancel", UIBarButtonItemStyleBordered, pane, "dismissColor"), true);
    item->setTitleView(makeDefaultButton(pane));
    showItemInBar(navigationController());

    // The root view's own rectangle, so that the overlay covers the table wherever the
    // navigation bar puts the view; it starts just below the visible area.
    const UIViewRef& root = view();
    CGRect covering = root->bounds();
    auto picker = std::make_shared<ColorPickerView>(covering);
    picker->setFrame(movedDownByItsHeight(covering));
    picker->setBackgroundColor(overlayBackground());
    picker->prepareObjects();
    picker->setColor(storedColor());
    root->addSubview(picker);
    UIView::animateWithDuration(kSlideDuration, [picker, covering] { picker->setFrame(covering); });
}

void RVXFontController::def()
{
    if (auto overlay = colorOverlay()) {
        overlay->setColor(UIColor::whiteColor());
        overlay->setNeedsDisplay();
    }
}

void RVXFontController::save()
{
    if (!isColorOverlayOpen())
        return;
    id keep = self();
    auto overlay = colorOverlay();
    store(RVXSettings::Keys::TextColor.name, overlay->getColorAsString());
    // The Font Color row shows the new swatch once the overlay has gone.
    table()->reloadData();
    closeColorOverlay(overlay);
}

void RVXFontController::dismissColor()
{
    if (isColorOverlayOpen())
        closeColorOverlay(colorOverlay());
}

// The bar is restored as the slide-out starts; the overlay leaves when it ends, finished or not.
void RVXFontController::closeColorOverlay(const std::shared_ptr<ColorPickerView>& overlay)
{
    UINavigationItemRef item = navigationItem();
    std::weak_ptr<UINavigationController> navigation = navigationController();
    CGRect below = movedDownByItsHeight(overlay->frame());
    UIView::animateWithDuration(kSlideDuration,
        [overlay, item, navigation, below] {
            overlay->setFrame(below);
            item->setLeftBarButtonItem(nullptr);
            item->setHidesBackButton(false, false);
            item->setTitleView(nullptr);
            item->setRightBarButtonItem(nullptr);
            showItemInBar(navigation);
        },
        [overlay](bool) { overlay->removeFromSuperview(); });
}
