#include "ui/UIViewController.h"

RVX_DEFINE_CLASS(UIViewController, UIResponder)

UIViewController::UIViewController()
    : _navigationItem(std::make_shared<UINavigationItem>())
{
}

const UIViewRef& UIViewController::view()
{
    if (!_view) {
        loadView();
        if (!_view)
            _view = std::make_shared<UIView>(CGRectMake(0, 0, 320, 416));
        viewDidLoad();
    }
    return _view;
}

void UIViewController::loadView()
{
    _view = std::make_shared<UIView>(CGRectMake(0, 0, 320, 416));
    _view->setBackgroundColor(UIColor::whiteColor());
}
