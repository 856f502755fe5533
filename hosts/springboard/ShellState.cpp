#include "ShellState.h"

#include <algorithm>
#include <cstdio>

namespace {

bool isEntry(const PlistValue& value, std::string_view identifier)
{
    const std::string* text = value.string();
    return text && *text == identifier;
}

} // namespace

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
    _installed.push_back(std::move(app));
    return true;
}

const InstalledApp* ShellState::installedApp(std::string_view identifier) const
{
    auto it = std::find_if(_installed.begin(), _installed.end(),
        [&](const InstalledApp& app) { return app.bundleIdentifier == identifier; });
    return it == _installed.end() ? nullptr : &*it;
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
        _running.push_back(name);
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
    return std::find(_running.begin(), _running.end(), identifier) != _running.end();
}

void ShellState::moveToFront(const std::string& identifier)
{
    NSArray list;
    list.addObject(identifier);
    for (const PlistValue& entry : _switcher) {
        if (!isEntry(entry, identifier))
            list.addObject(entry);
    }
    _switcher = std::move(list);
}

bool ShellState::removeFromSwitcher(std::string_view identifier)
{
    NSArray list;
    for (const PlistValue& entry : _switcher) {
        if (!isEntry(entry, identifier))
            list.addObject(entry);
    }
    bool removed = list.count() != _switcher.count();
    _switcher = std::move(list);
    return removed;
}

void ShellState::insertSwitcherEntry(PlistValue entry, size_t index)
{
    NSArray list;
    size_t position = 0;
    for (const PlistValue& existing : _switcher) {
        if (position++ == index)
            list.addObject(entry);
        list.addObject(existing);
    }
    if (index >= _switcher.count())
        list.addObject(std::move(entry));
    _switcher = std::move(list);
}

bool ShellState::close(std::string_view identifier)
{
    auto running = std::find(_running.begin(), _running.end(), identifier);
    bool wasRunning = running != _running.end();
    if (wasRunning)
        _running.erase(running);
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
    _events.push_back(std::move(event));
}
