#pragma once

// The Settings app as a model the settings host program and the tests drive: a window
// with a navigation stack whose root lists the PreferenceLoader entries; taps, typing,
// slides and switch flips go through real touches and the controls' own input calls. The
// panes' alerts and sheets are drawn over the window by the host's presenter, installed as
// the host is made.
// Every operation that can fail answers a Result: the reason when it could not be done.

#include "foundation/Result.h"
#include "preferences/PreferenceLoader.h"
#include "ui/Finger.h"
#include "ui/UIModalOverlay.h"
#include "ui/UINavigationController.h"
#include "ui/UITextField.h"
#include "ui/UIWindow.h"

#include <optional>

class SettingsHost {
public:
    static constexpr CGFloat kScreenWidth = 320;
    static constexpr CGFloat kScreenHeight = 480;

    SettingsHost();
    ~SettingsHost();
    SettingsHost(const SettingsHost&) = delete;
    SettingsHost& operator=(const SettingsHost&) = delete;

    const UIWindowRef& window() const { return _window; }
    const UINavigationControllerRef& navigation() const { return _navigation; }
    // The alerts and sheets over the window, and taps on the top one's buttons.
    UIModalOverlayPresenter& modals() { return _modals; }
    // The root list, with one row per entry in entries() order.
    const PSListControllerRef& rootPane() const { return _root; }
    const std::vector<PreferenceLoaderEntry>& entries() const;
    // The pane on top, as a list pane (nothing when the top is something else).
    PSListControllerRef topPane() const;

    // Opens the entry labelled so (without regard to case) as a tap on its root row would.
    Result<void> openEntry(std::string_view label);
    // A tap at the middle of a row's title of the top pane, scrolled into view first.
    Result<void> tapRow(int section, int row);
    // The first row of the top pane whose title is `name`.
    Result<void> tapRowNamed(std::string_view name);
    NSIndexPathRef indexPathOfRowNamed(std::string_view name) const;
    // Text up to this many characters is typed a character at a time, a change each, as a
    // keyboard types; a longer text arrives as one paste, one change, so that a pane that
    // stores at every change stores it once instead of once per character.
    static constexpr size_t kLongestTypedText = 64;

    // Input for the text field being edited. Text the field refuses (see UITextField) is
    // refused whole, before any character is typed.
    Result<void> typeText(std::string_view text);
    Result<void> deleteBackward(int count = 1);
    // Empties the field: a character at a time up to kLongestTypedText, else in one change.
    Result<void> clearField();
    Result<void> pressReturn();
    // Drags the slider of a row to a value in `steps` moves.
    Result<void> slide(int section, int row, float value, int steps = 10);
    // Taps the switch of a row.
    Result<void> flipSwitch(int section, int row);
    // Ends any editing, then pops the top pane.
    Result<void> goBack();
    Result<void> tapBarButton(std::string_view which); // "left", "right", "back"
    // One finger down at `from` (window points), moved to `to` in `steps` even moves and
    // lifted there. The touch stays with the view hit at `from`, as a real finger's does;
    // with no steps it is a tap. Made of the finger's phases below.
    Result<void> touchAlong(CGPoint from, CGPoint to, int steps);

    // The app's one finger, phase by phase, as a person's arrives: it stays down between
    // calls (and so between requests) until it is lifted or cancelled, and every phase goes
    // to the view hit where it went down.
    //   fingerDown    a finger still down is cancelled first: a finger whose sender went
    //                 away (the shell died, the window closed) never blocks the next one
    //   fingerMove    fails when no finger is down
    //   fingerLift    at the point, or where the finger last was; fails when none is down
    //   fingerCancel  true when a finger was down (its view hears touchesCancelled)
    // Scripted input of its own (touchAlong, slide) also cancels a finger left down.
    Result<void> fingerDown(CGPoint pointInWindow, int tapCount = 1);
    Result<void> fingerMove(CGPoint pointInWindow);
    Result<void> fingerLift(std::optional<CGPoint> pointInWindow = std::nullopt);
    bool fingerCancel();
    bool fingerIsDown() const { return _finger && _finger->isDown(); }
    // The view the finger went down on (nothing when none is down).
    UIViewRef fingerView() const { return fingerIsDown() ? _finger->view() : nullptr; }
    // The phase the app's finger last sent (a UITouchPhase), nothing before the first.
    std::optional<int> lastFingerPhase() const { return _lastFingerPhase; }

private:
    Result<UITableViewCellRef> visibleCell(int section, int row);
    template<typename T>
    Result<std::shared_ptr<T>> controlInRow(int section, int row, std::string_view kind);
    Result<void> tapAt(const UIViewRef& view, CGPoint point);
    template<typename T>
    std::shared_ptr<T> controlInCell(const UITableViewCellRef& cell) const;

    UIWindowRef _window;
    UIModalOverlayPresenter _modals { _window };
    UINavigationControllerRef _navigation;
    PSListControllerRef _root;
    std::optional<Finger> _finger;
    std::optional<int> _lastFingerPhase;
};
