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

#include "control/ControlReply.h"
#include "control/ControlServer.h"
#include "control/Screenshot.h"
#include "corefoundation/CFRunLoop.h"
#include "ui/UIApplication.h"
#include "ui/UIButton.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::vector<std::string> switcherIdentifiers()
{
    std::vector<std::string> identifiers;
    for (const PlistValue& entry : ShellState::shared().switcherList())
        if (entry.string())
            identifiers.push_back(*entry.string());
    return identifiers;
}

void writeStrings(JsonWriter& json, std::string_view key, const std::vector<std::string>& list)
{
    json.key(key).beginArray();
    for (const std::string& item : list)
        json.value(item);
    json.endArray();
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
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !std::isfinite(value))
        throw Refusal("not a coordinate: " + text);
    return value;
}

} // namespace

std::string SpringboardControl::handle(const control::Words& words)
{
    try {
        const std::string& verb = words[0];
        if (verb != "home" && changesScreen(words))
            _screen.otherInput();
        if (verb == "ping")
            return ping();
        if (verb == "apps")
            return apps();
        if (verb == "launch")
            return launch(words);
        if (verb == "home")
            return home(words);
        if (verb == "icons")
            return icons();
        if (verb == "screen")
            return screen(words);
        if (verb == "switcher")
            return switcher();
        if (verb == "nc" && words.size() >= 2 && words[1] == "tap")
            return tap(words);
        if (verb == "nc")
            return center(words);
        if (verb == "alert")
            return alert(words);
        if (verb == "dump")
            return ControlReply().raw("tree", _host.window()->dump()).finish("");
        if (verb == "screenshot")
            return screenshot(words);
        if (verb == "urls")
            return urls();
        if (verb == "events")
            return events();
        if (verb == "quit") {
            RunLoop::main().post([] { RunLoop::main().stop(); });
            return ControlReply().finish("springboard stopping");
        }
        return control::errorReply("springboard does not know '" + verb + "'");
    } catch (const Refusal& refusal) {
        return control::errorReply(refusal.what());
    }
}

std::string SpringboardControl::ping()
{
    ControlReply reply;
    reply.json().field("host", "springboard").field("pid", int(getpid())).field("widgets", int(_host.widgets().size()))
        .field("settingsChanges", _settingsChanges);
    return reply.finish("springboard ready, " + std::to_string(_host.widgets().size()) + " widget(s)");
}

std::string SpringboardControl::apps()
{
    ShellState& shell = ShellState::shared();
    ControlReply reply;
    std::string text;
    reply.json().key("apps").beginArray();
    for (const InstalledApp& app : shell.installedApps()) {
        bool running = shell.isRunning(app.bundleIdentifier);
        reply.json().beginObject().field("id", app.bundleIdentifier).field("name", app.displayName)
            .field("running", running).endObject();
        text += (text.empty() ? "" : "\n") + app.bundleIdentifier + "  " + app.displayName + (running ? "  (running)" : "");
    }
    reply.json().endArray();
    return reply.finish(text.empty() ? "no apps installed" : text);
}

std::string SpringboardControl::launch(const control::Words& words)
{
    if (words.size() != 2)
        throw Refusal("launch takes one app identifier");
    if (!ShellState::shared().launch(words[1]))
        throw Refusal("no app " + words[1] + " is installed (ruvex apps lists them)");
    _screen.cancelTouch(); // the app in front changed under the finger
    ControlReply reply;
    reply.json().field("foreground", words[1]);
    return reply.finish(words[1] + " is in front");
}

std::string SpringboardControl::home(const control::Words& words)
{
    if (words.size() > 2 || (words.size() == 2 && words[1] != "double"))
        throw Refusal("home takes nothing, or double");
    _screen.pressHome(words.size() == 2);
    ControlReply reply;
    const auto& front = ShellState::shared().foregroundApp();
    if (front)
        reply.json().field("foreground", *front);
    else
        reply.json().key("foreground").null();
    reply.json().field("switcher", _screen.switcherShown());
    return reply.finish(_screen.switcherShown() ? "the app switcher" : "home screen");
}

namespace {

void writeRect(JsonWriter& json, CGRect rect)
{
    json.field("x", double(rect.origin.x)).field("y", double(rect.origin.y)).field("width", double(rect.size.width))
        .field("height", double(rect.size.height));
}

} // namespace

std::string SpringboardControl::icons()
{
    ControlReply reply;
    std::string text;
    reply.json().key("icons").beginArray();
    for (const PhoneScreen::Icon& icon : _screen.homeIcons()) {
        reply.json().beginObject().field("id", icon.identifier).field("name", icon.name);
        writeRect(reply.json(), icon.frame);
        reply.json().field("dock", icon.inDock).endObject();
        char line[160];
        std::snprintf(line, sizeof line, "%s  %g,%g%s", icon.identifier.c_str(), double(icon.frame.origin.x),
            double(icon.frame.origin.y), icon.inDock ? "  (dock)" : "");
        text += (text.empty() ? "" : "\n") + std::string(line);
    }
    reply.json().endArray().key("badges").beginArray();
    if (_screen.switcherShown()) {
        for (const PhoneScreen::SwitcherEntry& entry : _screen.switcherEntries()) {
            reply.json().beginObject().field("id", entry.identifier);
            writeRect(reply.json(), entry.badge);
            reply.json().endObject();
        }
    }
    reply.json().endArray();
    return reply.finish(text.empty() ? "no icons" : text);
}

std::string SpringboardControl::screen(const control::Words& words)
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
            throw Refusal("a touch is began, moved, ended or cancelled, not " + words[2]);
        std::string did = _screen.touch(phase, CGPointMake(parseCoordinate(words[3]), parseCoordinate(words[4])));
        ControlReply reply;
        const auto& front = ShellState::shared().foregroundApp();
        reply.json().field("did", did);
        if (front)
            reply.json().field("foreground", *front);
        else
            reply.json().key("foreground").null();
        reply.json().field("open", ShellState::shared().listViewIsActive()).field("switcher", _screen.switcherShown());
        return reply.finish(did);
    }
    bool raw = words.size() == 4 && words[3] == "raw";
    if (words.size() != 3 && !raw)
        throw Refusal("screen takes PATH SCALE [raw], or touch began|moved|ended|cancelled X Y");
    double scale = parseCoordinate(words[2]);
    if (!(scale >= control::kLeastScale && scale <= control::kGreatestScale))
        throw Refusal("the scale must lie from 0.1 to 8");
    std::string error;
    if (raw) {
        if (!control::writeRawFrame(_screen.render(scale), words[1], error))
            throw Refusal(error);
    } else if (!control::writeScreenshot(_screen.render(scale), words[1], error)) {
        throw Refusal(error);
    }
    ControlReply reply;
    reply.json().field("path", words[1]);
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

std::string SpringboardControl::switcher()
{
    const auto& front = ShellState::shared().foregroundApp();
    ControlReply reply;
    std::vector<std::string> list = switcherIdentifiers();
    writeStrings(reply.json(), "switcher", list);
    if (front)
        reply.json().field("foreground", *front);
    else
        reply.json().key("foreground").null();
    std::string text;
    for (const std::string& identifier : list)
        text += (text.empty() ? "" : "\n") + identifier + (front && *front == identifier ? "  (front)" : "");
    return reply.finish(text.empty() ? "the switcher is empty" : text);
}

std::string SpringboardControl::center(const control::Words& words)
{
    if (words.size() == 2 && words[1] == "open")
        _host.openCenter();
    else if (words.size() == 2 && words[1] == "close")
        _host.closeCenter();
    else if (words.size() != 1)
        throw Refusal("nc takes open, close or tap");
    bool open = ShellState::shared().listViewIsActive();
    ControlReply reply;
    reply.json().field("open", open);
    return reply.finish(open ? "open" : "closed");
}

std::string SpringboardControl::tap(const control::Words& words)
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
        throw Refusal("nc tap takes X Y, bar or info");
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
    reply.json().key("point").beginObject().field("x", double(point.x)).field("y", double(point.y)).endObject();
    writeStrings(reply.json(), "closed", closed);
    writeStrings(reply.json(), "stayed", after);
    reply.json().field("open", open);
    auto url = std::dynamic_pointer_cast<NSURL>(launched);
    if (url)
        reply.json().field("launched", url->absoluteString());
    else
        reply.json().key("launched").null();
    return reply.finish("closed: " + joined(closed, "none") + "; stayed: " + joined(after, "none")
        + "; the Center is " + (open ? "open" : "closed"));
}

std::string SpringboardControl::alert(const control::Words& words)
{
    UIAlertViewRef top = _host.alerts().topAlert();
    if (words.size() == 1) {
        ControlReply reply;
        if (!top) {
            reply.json().key("alert").null();
            return reply.finish("no alert");
        }
        std::string text = top->title();
        if (top->message())
            text += "\n" + *top->message();
        reply.json().key("alert").beginObject().field("title", top->title());
        if (top->message())
            reply.json().field("message", *top->message());
        else
            reply.json().key("message").null();
        reply.json().key("buttons").beginArray();
        for (int i = 0; i < top->numberOfButtons(); ++i) {
            reply.json().value(top->buttonTitleAtIndex(i));
            text += "\n[" + std::to_string(i) + "] " + top->buttonTitleAtIndex(i);
        }
        reply.json().endArray().endObject();
        return reply.finish(text);
    }
    if (words.size() != 3 || words[1] != "tap")
        throw Refusal("alert takes nothing, or tap INDEX|TITLE");
    if (!top)
        throw Refusal("no alert is shown");
    int index = -1;
    for (int i = 0; i < top->numberOfButtons(); ++i)
        if (top->buttonTitleAtIndex(i) == words[2])
            index = i;
    if (index < 0) {
        char* end = nullptr;
        long number = std::strtol(words[2].c_str(), &end, 10);
        if (!words[2].empty() && !*end && number >= 0 && number < top->numberOfButtons())
            index = int(number);
    }
    if (index < 0 || !_host.alerts().tapButton(index))
        throw Refusal("the alert has no button " + words[2]);
    ControlReply reply;
    reply.json().field("tapped", index);
    return reply.finish("tapped [" + std::to_string(index) + "] " + top->buttonTitleAtIndex(index));
}

std::string SpringboardControl::screenshot(const control::Words& words)
{
    if (words.size() != 3)
        throw Refusal("screenshot takes PATH SCALE");
    double scale = parseCoordinate(words[2]);
    std::string error;
    if (!control::writeScreenshot(*_host.window(), words[1], scale, error))
        throw Refusal(error);
    ControlReply reply;
    reply.json().field("path", words[1]);
    return reply.finish("wrote " + words[1]);
}

std::string SpringboardControl::urls()
{
    ControlReply reply;
    const auto& opened = UIApplication::sharedApplication()->openedURLs();
    writeStrings(reply.json(), "urls", opened);
    std::string text;
    for (const std::string& url : opened)
        text += (text.empty() ? "" : "\n") + url;
    return reply.finish(text.empty() ? "no address opened" : text);
}

std::string SpringboardControl::events()
{
    ControlReply reply;
    ShellState& shell = ShellState::shared();
    std::vector<std::string> events = shell.events();
    writeStrings(reply.json(), "events", events);
    reply.json().field("dropped", int(shell.eventsDropped()));
    std::string text = joined(events, "no events");
    if (shell.eventsDropped())
        text = "(" + std::to_string(shell.eventsDropped()) + " earlier events dropped)\n" + text;
    return reply.finish(text);
}
