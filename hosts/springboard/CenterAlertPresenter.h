#pragma once

// Shows alerts over the Notification Center's window, the latest on top, and lets a caller
// (a test, the command line) tap one of the top alert's buttons.

#include "ui/UIAlertView.h"
#include "ui/UIWindow.h"

#include <memory>
#include <vector>

class CenterAlertPresenter : public UIAlertPresenter {
public:
    explicit CenterAlertPresenter(std::weak_ptr<UIWindow> window) : _window(std::move(window)) { }

    void presentAlert(const UIAlertViewRef& alert) override;
    void dismissAlert(const UIAlertViewRef& alert) override;

    // The alerts on screen, oldest first.
    std::vector<UIAlertViewRef> visibleAlerts() const;
    UIAlertViewRef topAlert() const;
    // Taps a button of the top alert; false when no alert shows or the index names no button.
    bool tapButton(int index);

private:
    struct Shown {
        UIAlertViewRef alert;
        UIViewRef overlay;
    };
    UIViewRef makeOverlay(const UIAlertViewRef& alert) const;

    std::weak_ptr<UIWindow> _window;
    std::vector<Shown> _shown;
};
