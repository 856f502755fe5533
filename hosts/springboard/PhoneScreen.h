#pragma once

// The phone's one screen as a person sees it: the status bar, then what is in front (the
// home screen, an app's screen, or the app switcher's row under the home screen), and the
// Notification Center over it when open or while a finger pulls it down. The screen takes a
// finger's touches in its own points (began, moved, ended) and the Home button.
//
// The Settings app lives in its own process: its screen is asked of the settings host, and
// a finger on it reaches the settings host phase by phase as it comes, so that a slider or
// the colour picker follows the finger before the lift. A finger that leaves the app
// without a lift (the Home button, the Center opened or another app brought forward under
// it, a new touch) is cancelled there.
//
// Frames are drawn only when something may have changed: the composed screen and the
// Settings app's screen are kept per scale until forgotten (forgetFrame, after every input
// and with the shell's screen-changed announcements; settingsScreenChanged, when the
// settings host announces its own), and a composed frame is redrawn when the clock's minute
// turns.

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

    enum class Phase { Began, Moved, Ended, Cancelled };

    // The settings host's screen at a scale as a picture, and one phase of a finger on it at
    // a point of its window; both may be missing (a shell without a settings host).
    struct SettingsLink {
        std::function<CairoSurfacePtr(double scale)> screen;
        std::function<void(Phase phase, CGPoint point)> finger;
    };

    PhoneScreen(WeeAppHost& host, SettingsLink settings);
    ~PhoneScreen();
    PhoneScreen(const PhoneScreen&) = delete;
    PhoneScreen& operator=(const PhoneScreen&) = delete;

    // The composed screen at `scale` pixels per point; nothing when the scale is out of range.
    // The picture is kept for the next call until forgotten: it is not to be drawn into.
    CairoSurfacePtr render(double scale) const;
    // Drops the kept frames, so that the next render draws anew.
    void forgetFrame() const { _frames.clear(); }
    // The settings host's window may have changed: its kept screen is dropped too.
    void settingsScreenChanged();
    // Whether the Settings app's screen shows now (in front, not under the open Center).
    bool showsSettings() const;

    // One finger's touch at a point of the screen. Answers what it did, in a few words.
    // A touch that begins while another is under way cancels that one first.
    std::string touch(Phase phase, CGPoint point);
    // Ends the touch under way as cancelled: a pull lets the Center go back, a finger on the
    // Settings app is cancelled in the settings host. Nothing when no finger is down.
    void cancelTouch();
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
    void toSettings(Phase phase, CGPoint point);
    CairoSurfacePtr settingsPicture(double scale) const;
    CairoSurfacePtr compose(double scale) const;
    CairoSurfacePtr homePicture(double scale) const;

    // Pictures kept per scale (a window and a screenshot may ask at two scales); a handful at most.
    struct Kept {
        double scale;
        std::string key; // what else the picture depends on (the clock's text, the icons)
        CairoSurfacePtr picture;
    };
    static constexpr size_t kKeptScales = 3;
    static const Kept* find(const std::vector<Kept>& kept, double scale);
    static void keep(std::vector<Kept>& kept, Kept picture);

    WeeAppHost& _host;
    SettingsLink _settings;
    bool _switcherShown = false;
    double _lastHomePress = -1;
    Gesture _gesture = Gesture::None;
    CGPoint _start {};
    CGPoint _last {};
    std::optional<CGFloat> _pull; // the Center's hanging height while pulled or pushed
    int _centerObserver = 0;
    mutable std::vector<Kept> _frames;
    mutable std::vector<Kept> _settingsScreens;
    mutable std::vector<Kept> _homes;
};
