// Requests (tab-separated words) and what they answer besides "ok" and "text":
//   ping                          host, pid, widgets, settingsChanges
//   apps                          apps: [{id, name, running}]
//   launch ID                     foreground
//   home [double]                 foreground, switcher (shown): the Home button, pressed
//                                 once, or twice (a second press in 0.4 s is a double one)
//   icons                         icons: [{id, name, x, y, width, height, dock}] of the home
//                                 screen, badges: [{id, x, y, width, height}] of the switcher row
//   screen PATH SCALE [raw]       path: the composed phone screen as PNG, or with raw as
//                                 its pixels alone (32-bit native-endian ARGB, rows of
//                                 4 x width bytes, not synced to disk: a window's frame)
//   screen touch began|moved|ended|cancelled X Y
//                                 did (what the touch did), foreground, open, switcher;
//                                 on the Settings app each phase reaches the settings host
//                                 as it comes (cancelled: the finger left without a lift)
//   switcher                      switcher: [ids, front first], foreground (or null)
//   nc | nc open | nc close       open
//   nc tap X Y | nc tap bar | nc tap info
//                                 point {x, y}, closed: [ids], stayed: [ids], open, launched
//   alert                         alert: null or {title, message, buttons: [titles]}
//   alert tap INDEX|TITLE         tapped (index)
//   dump                          tree (the Center window's views)
//   screenshot PATH SCALE         path
//   urls                          urls: [addresses, in order]
//   events                        events: [the shell's call log]
//   quit                          (the host stops after replying)

#include "SpringboardControl.h"

#include "ShellState.h"

#include "control/ControlServer.h"
#include "control/ModalReplies.h"
#include "control/Screenshot.h"
#include "ui/UIApplication.h"
#include "ui/UIButton.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <nlohmann/json.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using control::Refusal;

std::vector<std::string> switcherIdentifiers()
{
    std::vector<std::string> identifiers;
    for (const PlistValue& entry : ShellState::shared().switcherList())
        if (entry.string())
            identifiers.push_back(*entry.string());
    return identifiers;
}

json::Value orNull(const std::optional<std::string>& text)
{
    return text ? json::Value(*text) : json::Value();
}

std::string joined(const std::vector<std::string>& list, const char* empty)
{
    if (list.empty())
        return empty;
    std::string text;
    for (const std::string& item : list)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

void collectButtons(const UIViewRef& view, std::vector<std::shared_ptr<UIButton>>& buttons)
{
    if (!view || view->isHidden())
        return;
    if (auto button = std::dynamic_pointer_cast<UIButton>(view))
        buttons.push_back(button);
    for (const UIViewRef& child : view->subviews())
        collectButtons(child, buttons);
}

double parseCoordinate(const std::string& text)
{
    std::optional<double> value = control::parseNumber(text);
    if (!value)
        throw Refusal::usage("not a coordinate: " + text);
    return *value;
}

} // namespace

SpringboardControl::SpringboardControl(WeeAppHost& host, PhoneScreen& screen)
    : _host(host)
    , _screen(screen)
    , _verbs(control::kSpringboard)
{
    _verbs.addSharedVerbs([this]() -> const UIWindow& { return *_host.window(); }, [this](ControlReply& reply) {
        reply["widgets"] = int(_host.widgets().size());
        reply["settingsChanges"] = _settingsChanges;
        return reply.finish("springboard ready, " + std::to_string(_host.widgets().size()) + " widget(s)");
    });
    _verbs.add("apps", this, &SpringboardControl::apps);
    _verbs.add("launch", "one app identifier", 1, 1, this, &SpringboardControl::launch);
    _verbs.add("home", "nothing, or double", 0, 1, this, &SpringboardControl::home);
    _verbs.add("icons", this, &SpringboardControl::icons);
    _verbs.add("screen", "PATH SCALE [raw], or touch began|moved|ended X Y", 2, 4, this, &SpringboardControl::screen);
    _verbs.add("switcher", this, &SpringboardControl::switcher);
    _verbs.add("nc", "open, close or tap", 0, 3, this, &SpringboardControl::center);
    _verbs.add("alert", "nothing, or tap INDEX|TITLE", 0, 2, this, &SpringboardControl::alert);
    _verbs.add("urls", this, &SpringboardControl::urls);
    _verbs.add("events", this, &SpringboardControl::events);
}

json::Value SpringboardControl::handle(const control::Words& words)
{
    if (!words.empty() && words[0] != "home" && changesScreen(words))
        _screen.otherInput();
    return _verbs.handle(words);
}

json::Value SpringboardControl::apps()
{
    ShellState& shell = ShellState::shared();
    ControlReply reply;
    std::string text;
    reply["apps"] = json::Value::array();
    for (const InstalledApp& app : shell.installedApps()) {
        bool running = shell.isRunning(app.bundleIdentifier);
        json::Value& entry = reply["apps"].emplace_back(json::Value::object());
        entry["id"] = app.bundleIdentifier;
        entry["name"] = app.displayName;
        entry["running"] = running;
        text += (text.empty() ? "" : "\n") + app.bundleIdentifier + "  " + app.displayName + (running ? "  (running)" : "");
    }
    return reply.finish(text.empty() ? "no apps installed" : text);
}

json::Value SpringboardControl::launch(const control::Words& words)
{
    if (!ShellState::shared().launch(words[1]))
        throw Refusal("no app " + words[1] + " is installed (ruvex apps lists them)");
    _screen.cancelTouch(); // the app in front changed under the finger
    ControlReply reply;
    reply["foreground"] = words[1];
    return reply.finish(words[1] + " is in front");
}

json::Value SpringboardControl::home(const control::Words& words)
{
    if (words.size() == 2 && words[1] != "double")
        throw Refusal::usage("home takes nothing, or double");
    _screen.pressHome(words.size() == 2);
    ControlReply reply;
    reply["foreground"] = orNull(ShellState::shared().foregroundApp());
    reply["switcher"] = _screen.switcherShown();
    return reply.finish(_screen.switcherShown() ? "the app switcher" : "home screen");
}

namespace {

void writeRect(json::Value& json, CGRect rect)
{
    json["x"] = json::readable(rect.origin.x);
    json["y"] = json::readable(rect.origin.y);
    json["width"] = json::readable(rect.size.width);
    json["height"] = json::readable(rect.size.height);
}

} // namespace

json::Value SpringboardControl::icons()
{
    ControlReply reply;
    std::string text;
    json::Value& icons = reply["icons"] = json::Value::array();
    for (const PhoneScreen::Icon& icon : _screen.homeIcons()) {
        json::Value& entry = icons.emplace_back(json::Value::object());
        entry["id"] = icon.identifier;
        entry["name"] = icon.name;
        writeRect(entry, icon.frame);
        entry["dock"] = icon.inDock;
        char line[160];
        std::snprintf(line, sizeof line, "%s  %g,%g%s", icon.identifier.c_str(), double(icon.frame.origin.x),
            double(icon.frame.origin.y), icon.inDock ? "  (dock)" : "");
        text += (text.empty() ? "" : "\n") + std::string(line);
    }
    json::Value& badges = reply["badges"] = json::Value::array();
    if (_screen.switcherShown()) {
        for (const PhoneScreen::SwitcherEntry& entry : _screen.switcherEntries()) {
            json::Value& badge = badges.emplace_back(json::Value::object());
            badge["id"] = entry.identifier;
            writeRect(badge, entry.badge);
        }
    }
    return reply.finish(text.empty() ? "no icons" : text);
}

json::Value SpringboardControl::screen(const control::Words& words)
{
    if (words.size() == 5 && words[1] == "touch") {
        PhoneScreen::Phase phase;
        if (words[2] == "began")
            phase = PhoneScreen::Phase::Began;
        else if (words[2] == "moved")
            phase = PhoneScreen::Phase::Moved;
        else if (words[2] == "ended")
            phase = PhoneScreen::Phase::Ended;
        else if (words[2] == "cancelled")
            phase = PhoneScreen::Phase::Cancelled;
        else
            throw Refusal::usage("a touch is began, moved, ended or cancelled, not " + words[2]);
        std::string did = _screen.touch(phase, CGPointMake(parseCoordinate(words[3]), parseCoordinate(words[4])));
        ControlReply reply;
        reply["did"] = did;
        reply["foreground"] = orNull(ShellState::shared().foregroundApp());
        reply["open"] = ShellState::shared().listViewIsActive();
        reply["switcher"] = _screen.switcherShown();
        return reply.finish(did);
    }
    bool raw = words.size() == 4 && words[3] == "raw";
    if (words.size() != 3 && !raw)
        throw Refusal::usage("screen takes PATH SCALE [raw], or touch began|moved|ended|cancelled X Y");
    std::optional<double> scale = control::parseNumber(words[2]);
    if (!scale)
        throw Refusal::usage("not a scale: " + words[2]);
    if (!(*scale >= control::kLeastScale && *scale <= control::kGreatestScale))
        throw Refusal("the scale must lie from 0.1 to 8");
    if (raw) {
        if (Result<void> written = control::writeRawFrame(_screen.render(*scale), words[1]); !written)
            throw Refusal(written.error());
    } else if (Result<void> written = control::writeScreenshot(_screen.render(*scale), words[1]); !written) {
        throw Refusal(written.error());
    }
    ControlReply reply;
    reply["path"] = words[1];
    return reply.finish("wrote " + words[1]);
}

bool SpringboardControl::changesScreen(const control::Words& words)
{
    static const char* const reading[] = { "ping", "apps", "switcher", "alert", "dump", "screenshot", "urls", "events", "icons" };
    if (words.empty() || (words[0] == "screen" && (words.size() < 2 || words[1] != "touch")))
        return false;
    if (words[0] == "nc" && words.size() == 1)
        return false;
    if (words[0] == "alert" && words.size() > 1)
        return true;
    return std::none_of(std::begin(reading), std::end(reading), [&](const char* verb) { return words[0] == verb; });
}

json::Value SpringboardControl::switcher()
{
    const auto& front = ShellState::shared().foregroundApp();
    ControlReply reply;
    std::vector<std::string> list = switcherIdentifiers();
    reply["switcher"] = list;
    reply["foreground"] = orNull(front);
    std::string text;
    for (const std::string& identifier : list)
        text += (text.empty() ? "" : "\n") + identifier + (front && *front == identifier ? "  (front)" : "");
    return reply.finish(text.empty() ? "the switcher is empty" : text);
}

json::Value SpringboardControl::center(const control::Words& words)
{
    if (words.size() >= 2 && words[1] == "tap")
        return tap(words);
    if (words.size() == 2 && words[1] == "open")
        _host.openCenter();
    else if (words.size() == 2 && words[1] == "close")
        _host.closeCenter();
    else if (words.size() != 1)
        throw Refusal::usage("nc takes open, close or tap");
    bool open = ShellState::shared().listViewIsActive();
    ControlReply reply;
    reply["open"] = open;
    return reply.finish(open ? "open" : "closed");
}

json::Value SpringboardControl::tap(const control::Words& words)
{
    if (!ShellState::shared().listViewIsActive())
        throw Refusal("the Notification Center is closed: run `ruvex nc open` first");
    if (_host.widgets().empty())
        throw Refusal("no widget is loaded in the Notification Center");
    const auto& widget = _host.widgets().front();
    UIViewRef root = widget.controller->view();
    CGPoint point {};
    if (words.size() == 4) {
        point = CGPointMake(parseCoordinate(words[2]), parseCoordinate(words[3]));
    } else if (words.size() == 3 && (words[2] == "bar" || words[2] == "info")) {
        if (!root)
            throw Refusal("the widget has no view");
        std::vector<std::shared_ptr<UIButton>> buttons;
        collectButtons(root, buttons);
        std::shared_ptr<UIButton> found;
        for (const auto& button : buttons) {
            bool info = button->buttonType() == UIButtonTypeInfoLight || button->buttonType() == UIButtonTypeInfoDark;
            if (words[2] == "info" ? info : !info) {
                auto area = [](const UIButton& b) { return b.frame().size.width * b.frame().size.height; };
                if (!found || area(*button) > area(*found))
                    found = button;
            }
        }
        if (!found)
            throw Refusal("the widget shows no " + std::string(words[2] == "bar" ? "bar" : "info button"));
        CGRect bounds = found->bounds();
        point = found->convertPointToView(CGPointMake(CGRectGetMidX(bounds), CGRectGetMidY(bounds)), root.get());
    } else {
        throw Refusal::usage("nc tap takes X Y, bar or info");
    }

    std::vector<std::string> before = switcherIdentifiers();
    id launched = _host.tapWidget(0, point);
    std::vector<std::string> after = switcherIdentifiers();
    std::vector<std::string> closed;
    for (const std::string& identifier : before)
        if (std::find(after.begin(), after.end(), identifier) == after.end())
            closed.push_back(identifier);
    bool open = ShellState::shared().listViewIsActive();

    ControlReply reply;
    reply["point"] = json::Value::object();
    reply["point"]["x"] = json::readable(point.x);
    reply["point"]["y"] = json::readable(point.y);
    reply["closed"] = closed;
    reply["stayed"] = after;
    reply["open"] = open;
    auto url = std::dynamic_pointer_cast<NSURL>(launched);
    reply["launched"] = url ? json::Value(url->absoluteString()) : json::Value();
    return reply.finish("closed: " + joined(closed, "none") + "; stayed: " + joined(after, "none")
        + "; the Center is " + (open ? "open" : "closed"));
}

json::Value SpringboardControl::alert(const control::Words& words)
{
    UIAlertViewRef top = _host.alerts().topAlert();
    if (words.size() == 1)
        return control::describeAlert(top);
    int index = control::buttonToTap(top.get(), "alert", words);
    if (!_host.alerts().tapButton(index))
        throw Refusal("the alert has no button " + words[2]);
    ControlReply reply;
    reply["tapped"] = index;
    return reply.finish("tapped [" + std::to_string(index) + "] " + top->buttonTitleAtIndex(index));
}

json::Value SpringboardControl::urls()
{
    ControlReply reply;
    const auto& opened = UIApplication::sharedApplication()->openedURLs();
    reply["urls"] = opened;
    std::string text;
    for (const std::string& url : opened)
        text += (text.empty() ? "" : "\n") + url;
    return reply.finish(text.empty() ? "no address opened" : text);
}

json::Value SpringboardControl::events()
{
    ControlReply reply;
    ShellState& shell = ShellState::shared();
    std::vector<std::string> events = shell.events();
    reply["events"] = events;
    reply["dropped"] = int(shell.eventsDropped());
    std::string text = joined(events, "no events");
    if (shell.eventsDropped())
        text = "(" + std::to_string(shell.eventsDropped()) + " earlier events dropped)\n" + text;
    return reply.finish(text);
}
