#include "ui/UIActionSheet.h"

RVX_DEFINE_CLASS(UIActionSheet, UIModalView)

UIActionSheetRef UIActionSheet::initWithTitle(std::optional<std::string> title,
    const std::shared_ptr<UIActionSheetDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
    std::optional<std::string> destructiveButtonTitle, std::vector<std::string> otherButtonTitles)
{
    auto sheet = std::make_shared<UIActionSheet>();
    sheet->_title = std::move(title);
    sheet->_delegate = delegate;
    if (destructiveButtonTitle) {
        sheet->_destructiveButtonIndex = 0;
        sheet->_buttons.push_back(std::move(*destructiveButtonTitle));
    }
    if (!otherButtonTitles.empty())
        sheet->_firstOtherButtonIndex = sheet->numberOfButtons();
    for (std::string& other : otherButtonTitles)
        sheet->_buttons.push_back(std::move(other));
    if (cancelButtonTitle) {
        sheet->_cancelButtonIndex = sheet->numberOfButtons();
        sheet->_buttons.push_back(std::move(*cancelButtonTitle));
    }
    return sheet;
}

void UIActionSheet::tellDelegate(int index)
{
    if (auto delegate = _delegate.lock())
        delegate->clickedButtonAtIndex(selfAs<UIActionSheet>(), index);
}
