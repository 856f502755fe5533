#pragma once

// The simulated home-screen shell: which apps are installed, which run, which is in front,
// the app switcher's list, the Notification Center's state, and a log of every call made to
// the shell's services. The registered shell classes (SBAppSwitcherModel, ...) are thin
// views of this one object. Main thread only.

#include "foundation/InstalledApp.h"
#include "foundation/PlistValue.h"

#include <functional>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <deque>
#include <unordered_map>
#include <vector>

class ShellState {
public:
    static ShellState& shared();

    // Back to a new device: nothing installed or running, home screen, Center closed,
    // home-screen map with an icon model, empty log, no Center observers.
    void reset();

    // Reads every /Applications/NAME.app/Info.plist of the device root. An app without a
    // CFBundleIdentifier, or with one already installed, is skipped with a one-line message
    // on stderr. Answers the number of apps installed.
    size_t loadInstalledApps();
    bool install(InstalledApp app);
    const InstalledApp* installedApp(std::string_view identifier) const;
    const std::vector<InstalledApp>& installedApps() const { return _installed; }
    // Every URL scheme that an installed app declares.
    std::vector<std::string> installedURLSchemes() const;

    // The app starts running if it does not, comes to the front and moves to the front of
    // the switcher. False for an identifier that is not installed.
    bool launch(std::string_view identifier);
    // Back to the home screen: no app in front; the apps keep running and stay listed.
    void goHome();
    const std::optional<std::string>& foregroundApp() const { return _foreground; }
    bool isRunning(std::string_view identifier) const;
    std::vector<std::string> runningApps() const { return { _running.begin(), _running.end() }; }

    // The switcher's list, front first.
    const NSArray& switcherList() const;
    // Takes the entry off the list; the app keeps running. False when it was not listed.
    bool removeFromSwitcher(std::string_view identifier);
    // Puts any value into the list, as a damaged or foreign entry would be.
    void insertSwitcherEntry(PlistValue entry, size_t index);
    // Stops the app and takes it off the list; the front app closed leaves the home screen.
    // False when the app was neither running nor listed.
    bool close(std::string_view identifier);

    bool listViewIsActive() const { return _listViewActive; }
    // Opens or closes the Center and tells the observers when the state changes.
    void setListViewActive(bool active);
    using CenterObserver = std::function<void(bool active)>;
    int addCenterObserver(CenterObserver observer);
    void removeCenterObserver(int token);

    bool homescreenMapHasIconModel() const { return _mapHasIconModel; }
    void setHomescreenMapHasIconModel(bool has) { _mapHasIconModel = has; }

    // The call log is a ring of the latest kEventBound events, each cut at kEventBytes bytes:
    // a long session keeps its memory and its `events` reply bounded.
    static constexpr size_t kEventBound = 1000;
    static constexpr size_t kEventBytes = 512;
    void log(std::string event);
    std::vector<std::string> events() const { return { _events.begin(), _events.end() }; }
    // Events that fell out of the ring.
    size_t eventsDropped() const { return _eventsDropped; }
    void clearEvents()
    {
        _events.clear();
        _eventsDropped = 0;
    }

private:
    ShellState() = default;
    void moveToFront(const std::string& identifier);

    // Each app's lookup, start, close and switcher removal costs the same however many apps
    // there are, so that closing them all grows with their number only: the lists are linked
    // and indexed by identifier, and the switcher's array is made when asked for.
    std::vector<InstalledApp> _installed;
    std::unordered_map<std::string, size_t> _installedIndex;
    std::list<std::string> _running;
    std::unordered_map<std::string, std::list<std::string>::iterator> _runningIndex;
    std::optional<std::string> _foreground;
    std::list<PlistValue> _switcher;
    std::unordered_multimap<std::string, std::list<PlistValue>::iterator> _switcherIndex;
    mutable std::optional<NSArray> _switcherArray;
    bool _listViewActive { false };
    bool _mapHasIconModel { true };
    std::vector<std::pair<int, CenterObserver>> _centerObservers;
    int _nextObserverToken { 1 };
    std::deque<std::string> _events;
    size_t _eventsDropped = 0;
};
