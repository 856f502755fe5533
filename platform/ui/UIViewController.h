#pragma once

// A controller of one screenful: its view (made on first use by loadView), its navigation
// item, and the appearance and rotation calls its container makes.

#include "ui/UINavigationItem.h"
#include "ui/UIView.h"

class UIViewController;
class UINavigationController;
using UIViewControllerRef = std::shared_ptr<UIViewController>;
using UINavigationControllerRef = std::shared_ptr<UINavigationController>;

enum UIInterfaceOrientation : int {
    UIInterfaceOrientationPortrait = 1,
    UIInterfaceOrientationPortraitUpsideDown = 2,
    UIInterfaceOrientationLandscapeRight = 3,
    UIInterfaceOrientationLandscapeLeft = 4,
};

class UIViewController : public UIResponder {
    RVX_OBJECT(UIViewController)
public:
    UIViewController();

    // Loads the view on first use.
    const UIViewRef& view();
    bool isViewLoaded() const { return _view != nullptr; }
    void setView(UIViewRef view) { _view = std::move(view); }

    const UINavigationItemRef& navigationItem() const { return _navigationItem; }
    // The title is the navigation item's.
    const std::string& title() const { return _navigationItem->title(); }
    void setTitle(std::string title) { _navigationItem->setTitle(std::move(title)); }

    UINavigationControllerRef navigationController() const { return _navigationController.lock(); }
    void setNavigationController(const UINavigationControllerRef& controller) { _navigationController = controller; }

    virtual void loadView();
    virtual void viewDidLoad() { }
    virtual void viewWillAppear(bool animated) { }
    virtual void viewDidAppear(bool animated) { }
    virtual void viewWillDisappear(bool animated) { }
    virtual void viewDidDisappear(bool animated) { }
    virtual void willAnimateRotationToInterfaceOrientation(int orientation, double duration) { }

private:
    UIViewRef _view;
    UINavigationItemRef _navigationItem;
    std::weak_ptr<UINavigationController> _navigationController;
};
