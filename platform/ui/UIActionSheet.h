#pragma once

// Action sheets: a title and buttons, the destructive button first when there is one, then
// the others in order, the cancel button last. `showInView` lists the sheet among the modals
// on screen and has it drawn, sliding up (see UIModalView).

#include "ui/UIModalView.h"

class UIActionSheet;
using UIActionSheetRef = std::shared_ptr<UIActionSheet>;

class UIActionSheetDelegate {
public:
    virtual ~UIActionSheetDelegate() = default;
    virtual void clickedButtonAtIndex(const UIActionSheetRef& sheet, int index) = 0;
};

class UIActionSheet : public UIModalView {
    RVX_OBJECT(UIActionSheet)
public:
    UIActionSheet() = default;
    static UIActionSheetRef initWithTitle(std::optional<std::string> title,
        const std::shared_ptr<UIActionSheetDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
        std::optional<std::string> destructiveButtonTitle, std::vector<std::string> otherButtonTitles = {});

    const std::optional<std::string>& title() const { return _title; }
    std::shared_ptr<UIActionSheetDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIActionSheetDelegate>& delegate) { _delegate = delegate; }

    void showInView(const UIViewRef& view) { present(view); }
    // The view it was shown in, while visible.
    UIViewRef shownInView() const { return presentedInView(); }

protected:
    void tellDelegate(int index) override;

private:
    std::weak_ptr<UIActionSheetDelegate> _delegate;
};
