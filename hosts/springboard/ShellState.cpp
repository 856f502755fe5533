#include "ShellState.h"

#include <algorithm>
#include <cstdio>

ShellState& ShellState::shared()
{
    static ShellState* state = new ShellState; // outlives the classes that reach it at exit
    return *state;
}

void ShellState::reset()
{
    int nextToken = _nextObserverToken; // tokens stay unique across resets
    *this = ShellState();
    _nextObserverToken = nextToken;
}

size_t ShellState::loadInstalledApps()
{
    std::vector<InstalledApps::Skipped> skipped;
    std::vector<InstalledApp> apps = InstalledApps::read(&skipped);
    for (const InstalledApps::Skipped& folder : skipped)
        std::fprintf(stderr, "springboard: skipping %s: %s\n", folder.path.c_str(), folder.reason.c_str());
    for (InstalledApp& app : apps) {
        std::string identifier = app.bundleIdentifier;
        if (!install(std::move(app)))
            std::fprintf(stderr, "springboard: %s is installed twice; keeping the first\n", identifier.c_str());
    }
    return _installed.size();
}

bool ShellState::install(InstalledApp app)
{
    if (app.bundleIdentifier.empty() || installedApp(app.bundleIdentifier))
        return false;
    _installedIndex.emplace(app.bundleIdentifier, _installed.size());
    _installed.push_back(std::move(app));
    return true;
}

const InstalledApp* ShellState::installedApp(std::string_view identifier) const
{
    auto it = _installedIndex.find(std::string(identifier));
    return it == _installedIndex.end() ? nullptr : &_installed[it->second];
}

std::vector<std::string> ShellState::installedURLSchemes() const
{
    std::vector<std::string> schemes;
    for (const InstalledApp& app : _installed)
        schemes.insert(schemes.end(), app.urlSchemes.begin(), app.urlSchemes.end());
    return schemes;
}

bool ShellState::launch(std::string_view identifier)
{
    if (!installedApp(identifier))
        return false;
    std::string name(identifier);
    if (!isRunning(name))
        _runningIndex.emplace(name, _running.insert(_running.end(), name));
    _foreground = name;
    moveToFront(name);
    return true;
}

void ShellState::goHome()
{
    _foreground.reset();
}

bool ShellState::isRunning(std::string_view identifier) const
{
    return _runningIndex.count(std::string(identifier)) != 0;
}

const NSArray& ShellState::switcherList() const
{
    if (!_switcherArray) {
        NSArray list;
        for (const PlistValue& entry : _switcher)
            list.addObject(entry);
        _switcherArray = std::move(list);
    }
    return *_switcherArray;
}

void ShellState::moveToFront(const std::string& identifier)
{
    removeFromSwitcher(identifier);
    _switcherIndex.emplace(identifier, _switcher.insert(_switcher.begin(), PlistValue(identifier)));
    _switcherArray.reset();
}

bool ShellState::removeFromSwitcher(std::string_view identifier)
{
    auto [first, last] = _switcherIndex.equal_range(std::string(identifier));
    if (first == last)
        return false;
    for (auto it = first; it != last; ++it)
        _switcher.erase(it->second);
    _switcherIndex.erase(first, last);
    _switcherArray.reset();
    return true;
}

void ShellState::insertSwitcherEntry(PlistValue entry, size_t index)
{
    auto position = _switcher.begin();
    for (size_t i = 0; i < index && position != _switcher.end(); ++i)
        ++position;
    auto inserted = _switcher.insert(position, std::move(entry));
    if (const std::string* text = inserted->string())
        _switcherIndex.emplace(*text, inserted);
    _switcherArray.reset();
}

bool ShellState::close(std::string_view identifier)
{
    auto running = _runningIndex.find(std::string(identifier));
    bool wasRunning = running != _runningIndex.end();
    if (wasRunning) {
        _running.erase(running->second);
        _runningIndex.erase(running);
    }
    if (_foreground == identifier)
        _foreground.reset();
    bool wasListed = removeFromSwitcher(identifier);
    return wasRunning || wasListed;
}

void ShellState::setListViewActive(bool active)
{
    if (_listViewActive == active)
        return;
    _listViewActive = active;
    // A copy, since an observer may add or remove observers while it is told.
    auto observers = _centerObservers;
    for (auto& [token, observer] : observers)
        observer(active);
}

int ShellState::addCenterObserver(CenterObserver observer)
{
    int token = _nextObserverToken++;
    _centerObservers.emplace_back(token, std::move(observer));
    return token;
}

void ShellState::removeCenterObserver(int token)
{
    std::erase_if(_centerObservers, [token](const auto& entry) { return entry.first == token; });
}

void ShellState::log(std::string event)
{
    if (event.size() > kEventBytes) {
        size_t cut = kEventBytes;
        while (cut > 0 && (static_cast<unsigned char>(event[cut]) & 0xC0) == 0x80)
            --cut; // not inside a UTF-8 sequence
        event.resize(cut);
        event += "...";
    }
    if (_events.size() >= kEventBound) {
        _events.pop_front();
        ++_eventsDropped;
    }
    _events.push_back(std::move(event));
}
