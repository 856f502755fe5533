#pragma once

// Action sheets: a title and buttons, the destructive button first when there is one, then
// the others in order, the cancel button last. `showInView` hands the sheet to the
// presenter the host installs; without one the sheet is recorded in the list of shown sheets
// and slides up over the window of the view it is shown in (see UIModalOverlay).

#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <optional>
#include <string>
#include <vector>

class UIActionSheet;
using UIActionSheetRef = std::shared_ptr<UIActionSheet>;

class UIActionSheetDelegate {
public:
    virtual ~UIActionSheetDelegate() = default;
    virtual void clickedButtonAtIndex(const UIActionSheetRef& sheet, int index) = 0;
};

class UIActionSheetPresenter {
public:
    virtual ~UIActionSheetPresenter() = default;
    virtual void presentActionSheet(const UIActionSheetRef& sheet, const UIViewRef& view) = 0;
    virtual void dismissActionSheet(const UIActionSheetRef& sheet) = 0;
};

class UIActionSheet : public NSObject {
    RVX_OBJECT(UIActionSheet)
public:
    UIActionSheet() = default;
    static UIActionSheetRef initWithTitle(std::optional<std::string> title,
        const std::shared_ptr<UIActionSheetDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
        std::optional<std::string> destructiveButtonTitle, std::vector<std::string> otherButtonTitles = {});

    const std::optional<std::string>& title() const { return _title; }
    std::shared_ptr<UIActionSheetDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIActionSheetDelegate>& delegate) { _delegate = delegate; }

    int numberOfButtons() const { return int(_buttons.size()); }
    // Nothing (an empty text) for an index that names no button.
    std::string buttonTitleAtIndex(int index) const;
    // -1 when the sheet has no such button.
    int cancelButtonIndex() const { return _cancelButtonIndex; }
    int destructiveButtonIndex() const { return _destructiveButtonIndex; }
    int firstOtherButtonIndex() const { return _firstOtherButtonIndex; }

    bool isVisible() const { return _visible; }
    void showInView(const UIViewRef& view);
    // The view it was shown in, while visible.
    UIViewRef shownInView() const { return _view.lock(); }
    // Tells the delegate which button was pressed, then dismisses the sheet. An index that
    // names no button dismisses without a delegate call.
    void dismissWithClickedButtonIndex(int index, bool animated = true);

    static void setPresenter(UIActionSheetPresenter* presenter);
    static const std::vector<UIActionSheetRef>& shownActionSheets();
    static void clearShownActionSheets();

private:
    std::optional<std::string> _title;
    std::vector<std::string> _buttons;
    int _cancelButtonIndex = -1;
    int _destructiveButtonIndex = -1;
    int _firstOtherButtonIndex = -1;
    bool _visible = false;
    std::weak_ptr<UIActionSheetDelegate> _delegate;
    std::weak_ptr<UIView> _view;
    UIViewRef _overlay;
};
