#include "ui/UINavigationController.h"

#include "graphics/CairoPtr.h"
#include "ui/UIGraphics.h"

#include <algorithm>
#include <cmath>

RVX_DEFINE_CLASS(UINavigationController, UIViewController,
    cls.addMethod("backButtonPressed:", [](NSObject& self, const id&) -> id {
        static_cast<UINavigationController&>(self).tapBack();
        return nullptr;
    });
    cls.addMethod("leftButtonPressed:", [](NSObject& self, const id&) -> id {
        static_cast<UINavigationController&>(self).tapLeft();
        return nullptr;
    });
    cls.addMethod("rightButtonPressed:", [](NSObject& self, const id&) -> id {
        static_cast<UINavigationController&>(self).tapRight();
        return nullptr;
    }))

namespace {

constexpr CGFloat kButtonMargin = 5;
constexpr CGFloat kButtonHeight = 30;
constexpr CGFloat kButtonMinWidth = 48;
constexpr CGFloat kBackButtonMaxWidth = 110;
constexpr CGFloat kTitleMargin = 8;

// The bar's tint: a blue-grey gradient, lit along the top edge, a dark line at the bottom.
class NavigationBarView : public UIView {
public:
    using UIView::UIView;

    void drawRect(CGRect) override
    {
        CGContextRef context = UIGraphicsGetCurrentContext();
        if (!context)
            return;
        cairo_t* cr = context->painter().cairo();
        auto saved = context->painter().save();
        double w = bounds().size.width, h = bounds().size.height;
        CairoPatternPtr tint(cairo_pattern_create_linear(0, 0, 0, h));
        cairo_pattern_add_color_stop_rgb(tint.get(), 0, 176 / 255.0, 188 / 255.0, 205 / 255.0);
        cairo_pattern_add_color_stop_rgb(tint.get(), 0.5, 135 / 255.0, 152 / 255.0, 176 / 255.0);
        cairo_pattern_add_color_stop_rgb(tint.get(), 0.5, 123 / 255.0, 142 / 255.0, 168 / 255.0);
        cairo_pattern_add_color_stop_rgb(tint.get(), 1, 109 / 255.0, 132 / 255.0, 162 / 255.0);
        cairo_rectangle(cr, 0, 0, w, h);
        cairo_set_source(cr, tint.get());
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
        cairo_rectangle(cr, 0, 0, w, 1);
        cairo_fill(cr);
        cairo_set_source_rgb(cr, 45 / 255.0, 56 / 255.0, 70 / 255.0);
        cairo_rectangle(cr, 0, h - 1, w, 1);
        cairo_fill(cr);
    }
};

int buttonTypeForStyle(int style)
{
    return style == UIBarButtonItemStyleDone ? UIButtonTypeDoneBarItem : UIButtonTypeBorderedBarItem;
}

UIButtonRef barButton(const std::string& title, const id& target, const char* action, int type,
    CGFloat maxWidth = 0)
{
    UIButtonRef button = UIButton::buttonWithType(type);
    button->setTitle(title, UIControlStateNormal);
    button->sizeToFit();
    CGRect frame = button->frame();
    frame.size.width = std::ceil(std::max(frame.size.width, kButtonMinWidth));
    if (maxWidth > 0)
        frame.size.width = std::min(frame.size.width, maxWidth);
    frame.size.height = kButtonHeight;
    button->setFrame(frame);
    button->addTarget(target, action, UIControlEventTouchUpInside);
    return button;
}

} // namespace

UINavigationControllerRef UINavigationController::initWithRootViewController(const UIViewControllerRef& root)
{
    auto controller = runtime::make<UINavigationController>();
    controller->pushViewController(root, false);
    return controller;
}

void UINavigationController::loadView()
{
    auto view = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    view->setBackgroundColor(UIColor::whiteColor());
    view->setAutoresizesSubviews(true);
    _bar = std::make_shared<NavigationBarView>(CGRectMake(0, 0, 320, kBarHeight));
    _bar->setBackgroundColor(UIColor::colorWithRed(0.43, 0.52, 0.64, 1)); // under the tint
    _bar->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    view->addSubview(_bar);
    setView(view);
    showTop();
}

CGRect UINavigationController::contentFrame()
{
    CGRect bounds = view()->bounds();
    return CGRectMake(0, kBarHeight, bounds.size.width, std::max<CGFloat>(0, bounds.size.height - kBarHeight));
}

void UINavigationController::pushViewController(const UIViewControllerRef& controller, bool animated)
{
    if (!controller)
        return;
    UIViewControllerRef previous = topViewController();
    if (previous)
        previous->viewWillDisappear(animated);
    controller->setNavigationController(selfAs<UINavigationController>());
    _stack.push_back(controller);
    controller->viewWillAppear(animated);
    if (isViewLoaded())
        showTop();
    if (previous)
        previous->viewDidDisappear(animated);
    controller->viewDidAppear(animated);
}

UIViewControllerRef UINavigationController::popViewControllerAnimated(bool animated)
{
    if (_stack.size() < 2)
        return nullptr;
    UIViewControllerRef popped = _stack.back();
    popped->viewWillDisappear(animated);
    _stack.pop_back();
    UIViewControllerRef top = topViewController();
    top->viewWillAppear(animated);
    if (isViewLoaded())
        showTop();
    popped->viewDidDisappear(animated);
    popped->setNavigationController(nullptr);
    top->viewDidAppear(animated);
    return popped;
}

void UINavigationController::showTop()
{
    if (_shownView)
        _shownView->removeFromSuperview();
    _shownView.reset();
    if (UIViewControllerRef top = topViewController()) {
        _shownView = top->view();
        _shownView->setFrame(contentFrame());
        view()->addSubview(_shownView);
    }
    updateBar();
}

bool UINavigationController::backButtonShown() const
{
    UIViewControllerRef top = topViewController();
    return _stack.size() > 1 && !top->navigationItem()->hidesBackButton() && !top->navigationItem()->leftBarButtonItem();
}

void UINavigationController::updateBar()
{
    if (!_bar)
        return;
    for (const UIViewRef& child : std::vector<UIViewRef>(_bar->subviews()))
        child->removeFromSuperview();
    UIViewControllerRef top = topViewController();
    if (!top)
        return;
    const UINavigationItemRef& item = top->navigationItem();
    CGFloat width = _bar->bounds().size.width;
    id me = self();
    CGFloat leftEdge = kButtonMargin;
    CGFloat rightEdge = width - kButtonMargin;
    auto place = [&](UIViewRef button, bool left) {
        CGRect frame = button->frame();
        frame.origin = {left ? leftEdge : rightEdge - frame.size.width, (kBarHeight - frame.size.height) / 2};
        button->setFrame(frame);
        if (left)
            leftEdge += frame.size.width + kButtonMargin;
        else
            rightEdge -= frame.size.width + kButtonMargin;
        _bar->addSubview(button);
    };
    auto itemView = [&](const UIBarButtonItemRef& barItem, const char* action) -> UIViewRef {
        if (barItem->customView())
            return barItem->customView();
        return barButton(barItem->title(), me, action, buttonTypeForStyle(barItem->style()));
    };
    if (item->leftBarButtonItem())
        place(itemView(item->leftBarButtonItem(), "leftButtonPressed:"), true);
    else if (backButtonShown()) {
        const std::string& below = _stack[_stack.size() - 2]->title();
        place(barButton(below.empty() ? "Back" : below, me, "backButtonPressed:", UIButtonTypeBackBarItem,
                  kBackButtonMaxWidth), true);
    }
    if (item->rightBarButtonItem())
        place(itemView(item->rightBarButtonItem(), "rightButtonPressed:"), false);
    UIViewRef titleView = item->titleView();
    // The title is centred on the bar where the buttons leave it room, else in the room
    // they leave, and cut with an ellipsis when even that is too narrow.
    CGFloat roomLeft = leftEdge + kTitleMargin - kButtonMargin;
    CGFloat roomRight = rightEdge - kTitleMargin + kButtonMargin;
    CGFloat room = std::max<CGFloat>(0, roomRight - roomLeft);
    if (!titleView) {
        auto label = std::make_shared<UILabel>();
        label->setBackgroundColor(UIColor::clearColor());
        label->setText(item->title());
        label->setFont(UIFont::boldSystemFontOfSize(20));
        label->setTextColor(UIColor::whiteColor());
        label->setShadowColor(UIColor::colorWithWhite(0, 0.5));
        label->setShadowOffset({0, -1});
        label->setTextAlignment(UITextAlignmentCenter);
        label->setLineBreakMode(UILineBreakModeTailTruncation);
        CGFloat natural = label->sizeThatFits(CGSizeZero).width;
        label->setFrame(CGRectMake(0, 0, std::min(natural, room), kBarHeight));
        titleView = label;
    }
    CGRect frame = titleView->frame();
    CGFloat x = (width - frame.size.width) / 2;
    if (frame.size.width <= room)
        x = std::clamp(x, roomLeft, roomRight - frame.size.width);
    frame.origin = {std::round(x), std::round((kBarHeight - frame.size.height) / 2)};
    titleView->setFrame(frame);
    _bar->addSubview(titleView);
}

bool UINavigationController::tapBack()
{
    if (!backButtonShown())
        return false;
    popViewControllerAnimated(true);
    return true;
}

bool UINavigationController::tapLeft()
{
    UIViewControllerRef top = topViewController();
    if (!top || !top->navigationItem()->leftBarButtonItem())
        return false;
    UIBarButtonItemRef item = top->navigationItem()->leftBarButtonItem();
    item->tap();
    updateBar();
    return true;
}

bool UINavigationController::tapRight()
{
    UIViewControllerRef top = topViewController();
    if (!top || !top->navigationItem()->rightBarButtonItem())
        return false;
    UIBarButtonItemRef item = top->navigationItem()->rightBarButtonItem();
    item->tap();
    updateBar();
    return true;
}

void UINavigationController::rotateToInterfaceOrientation(int orientation, double duration)
{
    if (UIViewControllerRef top = topViewController())
        top->willAnimateRotationToInterfaceOrientation(orientation, duration);
}
