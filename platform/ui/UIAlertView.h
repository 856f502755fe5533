#pragma once

// Alerts: a title, a message and buttons, the cancel button first when there is one.
// `show` hands the alert to the presenter the host installs; without one the alert is
// recorded in the list of shown alerts (dismissed ones stay listed, no longer visible) and
// drawn over the key window, when there is one (see UIModalOverlay).

#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <optional>
#include <string>
#include <vector>

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    virtual void clickedButtonAtIndex(const UIAlertViewRef& alert, int index) = 0;
};

class UIAlertPresenter {
public:
    virtual ~UIAlertPresenter() = default;
    virtual void presentAlert(const UIAlertViewRef& alert) = 0;
    virtual void dismissAlert(const UIAlertViewRef& alert) = 0;
};

class UIAlertView : public NSObject {
    RVX_OBJECT(UIAlertView)
public:
    UIAlertView() = default;

    static UIAlertViewRef initWithTitle(std::string title, std::optional<std::string> message,
        const std::shared_ptr<UIAlertViewDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
        std::vector<std::string> otherButtonTitles = {});

    const std::string& title() const { return _title; }
    const std::optional<std::string>& message() const { return _message; }
    int tag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }
    std::shared_ptr<UIAlertViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIAlertViewDelegate>& delegate) { _delegate = delegate; }

    int numberOfButtons() const { return int(_buttons.size()); }
    // Nothing (an empty text) for an index that names no button.
    std::string buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return _cancelButtonIndex; }
    int addButtonWithTitle(std::string title);
    bool isVisible() const { return _visible; }

    void show();
    // Tells the delegate which button was tapped, then dismisses the alert. An index that
    // names no button dismisses without a delegate call.
    void dismissWithClickedButtonIndex(int index);

    // The presenter is held by the host; the platform keeps only a plain pointer.
    static void setPresenter(UIAlertPresenter* presenter);
    static const std::vector<UIAlertViewRef>& shownAlerts();
    static void clearShownAlerts();

private:
    std::string _title;
    std::optional<std::string> _message;
    std::vector<std::string> _buttons;
    int _cancelButtonIndex = -1;
    int _tag = 0;
    bool _visible = false;
    std::weak_ptr<UIAlertViewDelegate> _delegate;
    UIViewRef _overlay;
};
