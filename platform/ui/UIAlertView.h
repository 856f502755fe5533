#pragma once

// Alerts: a title, a message and buttons, the cancel button first when there is one. `show`
// lists the alert among the modals on screen and has it drawn (see UIModalView).

#include "ui/UIModalView.h"

class UIAlertViewDelegate {
public:
    virtual ~UIAlertViewDelegate() = default;
    virtual void clickedButtonAtIndex(const UIAlertViewRef& alert, int index) = 0;
};

class UIAlertView : public UIModalView {
    RVX_OBJECT(UIAlertView)
public:
    UIAlertView() = default;

    static UIAlertViewRef initWithTitle(std::string title, std::optional<std::string> message,
        const std::shared_ptr<UIAlertViewDelegate>& delegate, std::optional<std::string> cancelButtonTitle,
        std::vector<std::string> otherButtonTitles = {});

    const std::string& title() const;
    const std::optional<std::string>& message() const { return _message; }
    std::shared_ptr<UIAlertViewDelegate> delegate() const { return _delegate.lock(); }
    void setDelegate(const std::shared_ptr<UIAlertViewDelegate>& delegate) { _delegate = delegate; }

    void show() { present(nullptr); }

protected:
    void tellDelegate(int index) override;

private:
    std::optional<std::string> _message;
    std::weak_ptr<UIAlertViewDelegate> _delegate;
};
