#include "ui/UIAlertView.h"

#include "ui/UIModalOverlay.h"
#include "ui/UIWindow.h"

RVX_DEFINE_CLASS(UIAlertView, NSObject)

namespace {

struct Presentation {
    UIAlertPresenter* presenter = nullptr;
    std::vector<UIAlertViewRef> shown;
};

Presentation& presentation()
{
    static Presentation state;
    return state;
}

} // namespace

UIAlertViewRef UIAlertView::initWithTitle(std::string title, std::optional<std::string> message,
    const std::shared_ptr<UIAlertViewDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
    std::vector<std::string> otherButtonTitles)
{
    auto alert = std::make_shared<UIAlertView>();
    alert->_title = std::move(title);
    alert->_message = std::move(message);
    alert->_delegate = delegate;
    if (cancelButtonTitle) {
        alert->_cancelButtonIndex = 0;
        alert->_buttons.push_back(std::move(*cancelButtonTitle));
    }
    for (std::string& other : otherButtonTitles)
        alert->_buttons.push_back(std::move(other));
    return alert;
}

std::string UIAlertView::buttonTitleAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons())
        return {};
    return _buttons[size_t(index)];
}

int UIAlertView::addButtonWithTitle(std::string title)
{
    _buttons.push_back(std::move(title));
    return numberOfButtons() - 1;
}

void UIAlertView::show()
{
    if (_visible)
        return;
    _visible = true;
    UIAlertViewRef self = selfAs<UIAlertView>();
    Presentation& state = presentation();
    if (state.presenter) {
        state.presenter->presentAlert(self);
        return;
    }
    state.shown.push_back(self);
    if (UIWindowRef window = UIWindow::keyWindow()) {
        _overlay = UIModalOverlay::overlayForAlert(self, window->bounds());
        window->addSubview(_overlay);
    }
}

void UIAlertView::dismissWithClickedButtonIndex(int index)
{
    UIAlertViewRef self = selfAs<UIAlertView>(); // the delegate may drop its last reference
    if (index >= 0 && index < numberOfButtons()) {
        if (auto delegate = _delegate.lock())
            delegate->clickedButtonAtIndex(self, index);
    }
    if (!_visible)
        return;
    _visible = false;
    if (_overlay) {
        _overlay->removeFromSuperview();
        _overlay.reset();
    }
    Presentation& state = presentation();
    if (state.presenter)
        state.presenter->dismissAlert(self);
}

void UIAlertView::setPresenter(UIAlertPresenter* presenter)
{
    presentation().presenter = presenter;
}

const std::vector<UIAlertViewRef>& UIAlertView::shownAlerts()
{
    return presentation().shown;
}

void UIAlertView::clearShownAlerts()
{
    presentation().shown.clear();
}
