#pragma once

// The phone's one screen as a person sees it: the status bar, then what is in front (the
// home screen, an app's screen, or the app switcher's row under the home screen), and the
// Notification Center over it when open or while a finger pulls it down. The screen takes a
// finger's touches in its own points (began, moved, ended) and the Home button.
//
// The Settings app lives in its own process: its screen is asked of the settings host
// (`appScreen`), and touches on it are sent there as one tap or drag when the finger lifts.

#include "WeeAppHost.h"

#include "graphics/CairoPtr.h"
#include "ui/UIView.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class PhoneScreen {
public:
    static constexpr CGFloat kWidth = 320;
    static constexpr CGFloat kHeight = 480;
    static constexpr CGFloat kStatusBarHeight = 20;
    static constexpr CGFloat kIconSize = 57;
    static constexpr int kColumns = 4;
    static constexpr CGFloat kDockHeight = 92;
    static constexpr CGFloat kSwitcherHeight = 92;
    static constexpr double kDoublePressSeconds = 0.4;
    static inline const std::string kSettingsApp = "com.apple.Preferences";

    // The settings host's screen at a scale as a picture, and a touch on it (a tap when
    // `from` equals `to`); both may be missing (a shell without a settings host).
    struct SettingsLink {
        std::function<CairoSurfacePtr(double scale)> screen;
        std::function<void(CGPoint from, CGPoint to, int steps)> touch;
    };

    PhoneScreen(WeeAppHost& host, SettingsLink settings);

    // The composed screen at `scale` pixels per point; nothing when the scale is out of range.
    CairoSurfacePtr render(double scale) const;

    enum class Phase { Began, Moved, Ended };
    // One finger's touch at a point of the screen. Answers what it did, in a few words.
    std::string touch(Phase phase, CGPoint point);
    // The Home button: the home screen (the Center closes, the switcher goes); a second
    // press within kDoublePressSeconds, or `twice`, shows the switcher.
    void pressHome(bool twice = false);

    // Anything else done on the device between two presses makes them two single ones.
    void otherInput() { _lastHomePress = -1; }

    bool switcherShown() const { return _switcherShown; }
    // How far the Center hangs down while a finger pulls it (kHeight when open, 0 closed).
    CGFloat centerOffset() const;

    // The home screen's icons: identifier and frame in screen points, dock last.
    struct Icon {
        std::string identifier;
        std::string name;
        CGRect frame;
        bool inDock;
    };
    std::vector<Icon> homeIcons() const;
    // The switcher row's entries: identifier, icon frame and close badge frame.
    struct SwitcherEntry {
        std::string identifier;
        CGRect icon;
        CGRect badge;
    };
    std::vector<SwitcherEntry> switcherEntries() const;

    // The colour of an app's generated icon, taken from its identifier.
    static UIColorRef iconColor(const std::string& identifier);
    // The clock's text in the status bar ("14:05").
    static std::string clockText();

private:
    enum class Gesture { None, Home, App, Settings, Pull, Center, Switcher };
    UIViewRef homeView() const;
    UIViewRef appView(const std::string& identifier) const;
    UIViewRef switcherView() const;
    UIViewRef statusBar() const;
    const Icon* iconAt(CGPoint point) const;

    WeeAppHost& _host;
    SettingsLink _settings;
    bool _switcherShown = false;
    double _lastHomePress = -1;
    Gesture _gesture = Gesture::None;
    CGPoint _start {};
    CGPoint _last {};
    int _moves = 0;
    std::optional<CGFloat> _pull; // the Center's hanging height while pulled or pushed
};
