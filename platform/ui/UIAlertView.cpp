#include "ui/UIAlertView.h"

RVX_DEFINE_CLASS(UIAlertView, UIModalView)

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
    if (!otherButtonTitles.empty())
        alert->_firstOtherButtonIndex = alert->numberOfButtons();
    for (std::string& other : otherButtonTitles)
        alert->_buttons.push_back(std::move(other));
    return alert;
}

const std::string& UIAlertView::title() const
{
    static const std::string none;
    return _title ? *_title : none;
}

void UIAlertView::tellDelegate(int index)
{
    if (auto delegate = _delegate.lock())
        delegate->clickedButtonAtIndex(selfAs<UIAlertView>(), index);
}
