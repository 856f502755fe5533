#pragma once

// The platform's drawing of alerts and action sheets: a view over the whole screen that dims
// what lies behind and holds the panel, whose buttons dismiss the alert or sheet with their
// index when tapped; and the presenter a host installs to have its modals drawn so over its
// own window.
//
//   alert   284 points wide, centred; a dark blue translucent panel with a light rounded
//           border and a gloss; the title bold 18 pt and the message 16 pt, white with a dark
//           shadow, centred and wrapped; two buttons side by side (cancel on the left),
//           otherwise stacked with the cancel button last; the panel grows with its text.
//   sheet   slides up from the bottom; the title 13 pt; buttons stacked 280 points wide,
//           light with dark titles, the destructive one red, the cancel one dark and last.

#include "ui/UIActionSheet.h"
#include "ui/UIAlertView.h"
#include "ui/UIButton.h"
#include "ui/UIWindow.h"

class UIModalOverlay : public UIView {
    RVX_OBJECT(UIModalOverlay)
public:
    static constexpr CGFloat kAlertWidth = 284;
    static constexpr CGFloat kSheetButtonWidth = 280;
    static constexpr CGFloat kButtonHeight = 43;
    static constexpr double kSlideDuration = 0.3;

    UIModalOverlay() = default;
    static std::shared_ptr<UIModalOverlay> overlayForAlert(const UIAlertViewRef& alert, CGRect screen);
    static std::shared_ptr<UIModalOverlay> overlayForActionSheet(const UIActionSheetRef& sheet, CGRect screen);
    // The overlay of an alert or a sheet, put over the whole of `window`; nothing without a
    // window, or for a modal of another kind.
    static std::shared_ptr<UIModalOverlay> showOverWindow(const UIModalViewRef& modal, const UIWindowRef& window);

    // The panel, and its buttons by the index they dismiss with.
    const UIViewRef& panel() const { return _panel; }
    UIButtonRef buttonAtIndex(int index) const;

    void drawRect(CGRect rect) override;

private:
    void buttonPressed(std::shared_ptr<UIButton> sender);
    UIButtonRef addButton(const std::string& title, int index, int look, CGRect frame);

    UIViewRef _panel;
    std::vector<UIButtonRef> _buttons;
    std::weak_ptr<UIModalView> _modal;
    bool _sheet = false;
};

// Draws every modal shown while it is installed over one window, the latest on top, as the
// shell does over the Notification Center and the Settings app over its list. A sheet goes
// over this window whichever view it was shown in. Once the window is gone, modals are
// listed but not drawn.
class UIModalOverlayPresenter : public UIModalPresenter {
public:
    explicit UIModalOverlayPresenter(std::weak_ptr<UIWindow> window) : _window(std::move(window)) { }

    UIViewRef presentModal(const UIModalViewRef& modal, const UIViewRef& view) override;

    UIAlertViewRef topAlert() const { return top<UIAlertView>(); }
    UIActionSheetRef topActionSheet() const { return top<UIActionSheet>(); }

private:
    std::weak_ptr<UIWindow> _window;
};
