#pragma once

// A stack of controllers under a navigation bar. The view holds the bar (44 points) and
// the top controller's view below it. The bar shows the top item's title or title view, its
// left item or else a back button titled after the controller below (unless the item hides
// it), and its right item; tapping them is done through tapLeft / tapRight / tapBack.

#include "ui/UIButton.h"
#include "ui/UILabel.h"
#include "ui/UIViewController.h"

class UINavigationController : public UIViewController {
    RVX_OBJECT(UINavigationController)
public:
    static constexpr CGFloat kBarHeight = 44;

    UINavigationController() = default;
    static UINavigationControllerRef initWithRootViewController(const UIViewControllerRef& root);

    const std::vector<UIViewControllerRef>& viewControllers() const { return _stack; }
    UIViewControllerRef topViewController() const { return _stack.empty() ? nullptr : _stack.back(); }

    // The incoming controller hears viewWillAppear and viewDidAppear, the outgoing one
    // viewWillDisappear and viewDidDisappear.
    void pushViewController(const UIViewControllerRef& controller, bool animated);
    // The root stays; answers the controller popped, or nothing.
    UIViewControllerRef popViewControllerAnimated(bool animated);

    // Re-reads the top item into the bar (after a pane changed its navigation item).
    void updateBar();
    // The bar's buttons as the user taps them; each answers whether there was one.
    bool tapBack();
    bool tapLeft();
    bool tapRight();
    bool backButtonShown() const;

    // Sends the rotation call to the top controller.
    void rotateToInterfaceOrientation(int orientation, double duration);

    void loadView() override;

private:
    void showTop();
    CGRect contentFrame();

    std::vector<UIViewControllerRef> _stack;
    UIViewRef _bar;
    UIViewRef _shownView;
};
