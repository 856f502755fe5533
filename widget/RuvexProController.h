#pragma once

// The widget's principal class: builds the row (background, bar, info button), restyles it
// when the settings change, closes the background apps, turns the host's taps into touches
// and shows the About dialog.

#include "springboard/BBWeeAppController.h"
#include "ui/UIAlertView.h"
#include "ui/UIButton.h"
#include "ui/UIImageView.h"

#include <optional>

class NSDictionary;

class RuvexProController : public springboard::BBWeeAppController, public UIAlertViewDelegate {
    RVX_OBJECT(RuvexProController)
public:
    RuvexProController() = default;
    ~RuvexProController() override;

    std::shared_ptr<UIView> view() override { return _view; }
    void setView(std::shared_ptr<UIView> view) { _view = std::move(view); }

    float viewHeight() override;
    void loadPlaceholderView() override;
    void loadFullView() override;
    void viewDidAppear() override;
    void viewDidDisappear() override;
    void unloadView() override;
    id launchURLForTapLocation(CGPoint point) override;

    // Reapplies the settings to the built row; VEVChanged sends it.
    void reload();
    // The close-all action (the bar's touch-up-inside).
    void kill();
    // The About dialog (the info button's touch-up-inside).
    void info();
    void clickedButtonAtIndex(const UIAlertViewRef& alert, int index) override;

    // The controller that registered for the settings-changed notification last.
    static std::shared_ptr<RuvexProController> controllerOfRecord();

private:
    // An image, possibly one that failed to load, or no image at all.
    using BackgroundChoice = std::optional<UIImageRef>;
    static BackgroundChoice chooseBackground(const NSDictionary& settings);

    bool passesIconGate() const;
    void applyLabelStyle(const NSDictionary& settings);
    void makeInfoButton();
    void layoutControls();

    std::shared_ptr<UIView> _view;
    UIImageViewRef _backgroundView;
    UIButtonRef but;
    UIButtonRef _info; // `info` names the action
};
