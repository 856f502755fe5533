#include "ui/UIActionSheet.h"

#include "ui/UIModalOverlay.h"
#include "ui/UIWindow.h"

RVX_DEFINE_CLASS(UIActionSheet, NSObject)

namespace {

struct Presentation {
    UIActionSheetPresenter* presenter = nullptr;
    std::vector<UIActionSheetRef> shown;
};

Presentation& presentation()
{
    static Presentation state;
    return state;
}

} // namespace

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

std::string UIActionSheet::buttonTitleAtIndex(int index) const
{
    if (index < 0 || index >= numberOfButtons())
        return {};
    return _buttons[size_t(index)];
}

void UIActionSheet::showInView(const UIViewRef& view)
{
    if (_visible)
        return;
    _visible = true;
    _view = view;
    UIActionSheetRef self = selfAs<UIActionSheet>();
    Presentation& state = presentation();
    if (state.presenter) {
        state.presenter->presentActionSheet(self, view);
        return;
    }
    state.shown.push_back(self);
    if (UIWindowRef window = view ? view->window() : nullptr) {
        _overlay = UIModalOverlay::overlayForActionSheet(self, window->bounds());
        window->addSubview(_overlay);
    }
}

void UIActionSheet::dismissWithClickedButtonIndex(int index, bool)
{
    UIActionSheetRef self = selfAs<UIActionSheet>(); // the delegate may drop its last reference
    if (index >= 0 && index < numberOfButtons()) {
        if (auto delegate = _delegate.lock())
            delegate->clickedButtonAtIndex(self, index);
    }
    if (!_visible)
        return;
    _visible = false;
    _view.reset();
    if (_overlay) {
        _overlay->removeFromSuperview();
        _overlay.reset();
    }
    Presentation& state = presentation();
    if (state.presenter)
        state.presenter->dismissActionSheet(self);
}

void UIActionSheet::setPresenter(UIActionSheetPresenter* presenter)
{
    presentation().presenter = presenter;
}

const std::vector<UIActionSheetRef>& UIActionSheet::shownActionSheets()
{
    return presentation().shown;
}

void UIActionSheet::clearShownActionSheets()
{
    presentation().shown.clear();
}
