// Requests (tab-separated words) and what they answer besides "ok" and "text":
//   ping                          host, pid, entries, pane {class, title}, depth
//   open [CLASS]                  pane, depth: the product's root pane, or the pane of class
//                                 CLASS reached by its link row there
//   rows                          sections: [{header, rows: [{section, row, title, detail,
//                                 value, accessory, checked}]}], pane, depth
//   tap TITLE | tap S:R           pane, depth (the pane on top after the tap)
//   back                          pane, depth
//   delete                        field: one character taken back, as the keyboard's Backspace
//   type TEXT | clear | return    field (the text of the field being edited, or null), pane, depth
//   slide S:R VALUE STEPS         value, pane, depth
//   switch S:R on|off             on, changed, pane, depth
//   bar left|right|back           pane, depth (a tap on a navigation bar button)
//   touch X Y [CLASS]             view (the class hit), point {x, y} in the window, pane, depth
//   drag X1 Y1 X2 Y2 STEPS [CLASS]  the same for a finger put down at X1 Y1 and lifted at X2 Y2;
//                                 the points are the window's, or with CLASS those of the
//                                 front-most visible view of that class
//   sheet | sheet tap INDEX|TITLE sheet: null or {title, buttons, cancel} | tapped
//   alert | alert tap INDEX|TITLE alert: null or {title, message, buttons} | tapped
//   finger ... | screen PATH SCALE  the live screen's requests (see SettingsLive.h)
//   dump                          tree (the window's views)
//   screenshot PATH SCALE         path
//   quit                          (the host stops after replying)

#include "SettingsControl.h"
#include "SettingsLive.h"

#include "control/Screenshot.h"

#include "control/ControlServer.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/PreferenceFile.h"
#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITextField.h"

#include <cmath>
#include <cstdlib>

#include <unistd.h>

namespace {

using Refusal = SettingsControl::Refusal;

// The product's entry in the Settings list.
constexpr const char* kProductBundle = "RuvexProprefs";

double parseNumber(const std::string& text, const char* what)
{
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !std::isfinite(value))
        throw Refusal(std::string("not ") + what + ": " + text);
    return value;
}

settings::RowAddress rowAddress(const std::string& text)
{
    auto address = settings::parseRowAddress(text);
    if (!address)
        throw Refusal("not a row S:R (section and row from 0): " + text);
    return *address;
}

std::string rowName(settings::RowAddress address)
{
    return std::to_string(address.section) + ":" + std::to_string(address.row);
}

// The field being edited as the reply's "field" (null when none).
void writeField(ControlReply& reply);

} // namespace

// A pane's store is silent toward its sender, as on the phone; the preference writes of the
// request tell whether any failed. Then the request did its input (the pane may show the new
// value and may have posted) but nothing was stored, and the reply says so.
std::string SettingsControl::handle(const control::Words& words)
{
    unsigned long failedBefore = PreferenceFile::failures().count;
    std::string reply = dispatch(words);
    const PreferenceFile::Failures& failed = PreferenceFile::failures();
    if (failed.count == failedBefore)
        return reply;
    unsigned long count = failed.count - failedBefore;
    return control::errorReply("the setting was not stored: cannot write " + failed.path + ": " + failed.reason
        + (count > 1 ? " (" + std::to_string(count) + " stores failed)" : ""));
}

std::string SettingsControl::dispatch(const control::Words& words)
{
    try {
        const std::string& verb = words[0];
        if (verb == "ping")
            return ping();
        if (verb == "open")
            return open(words);
        if (verb == "rows" && words.size() == 1)
            return rows();
        if (verb == "tap" && words.size() == 2)
            return tap(words);
        if (verb == "back" && words.size() == 1)
            return back();
        if (verb == "type" && words.size() == 2)
            return type(words);
        if (verb == "clear" && words.size() == 1)
            return clear();
        if (verb == "delete" && words.size() == 1) {
            require(_host.deleteBackward());
            ControlReply reply;
            writeField(reply);
            return paneReply(reply, "deleted a character");
        }
        if (verb == "return" && words.size() == 1)
            return pressReturn();
        if (verb == "bar" && words.size() == 2) {
            require(_host.tapBarButton(words[1]));
            return paneReply("tapped the " + words[1] + " bar button");
        }
        if (verb == "touch" || verb == "drag")
            return touch(words);
        if (verb == "finger")
            return settings::fingerRequest(_host, words);
        if (verb == "screen")
            return settings::screenRequest(_host, words);
        if (verb == "slide")
            return slide(words);
        if (verb == "switch")
            return setSwitch(words);
        if (verb == "sheet")
            return sheet(words);
        if (verb == "alert")
            return alert(words);
        if (verb == "dump")
            return ControlReply().raw("tree", _host.dump()).finish("");
        if (verb == "screenshot")
            return screenshot(words);
        if (verb == "quit") {
            RunLoop::main().post([] { RunLoop::main().stop(); });
            return ControlReply().finish("settings stopping");
        }
        return control::errorReply("settings does not know '" + verb + "' with " + std::to_string(words.size() - 1)
            + " argument(s)");
    } catch (const Refusal& refusal) {
        return control::errorReply(refusal.what());
    }
}

void SettingsControl::require(bool done)
{
    if (!done)
        throw Refusal(_host.lastError());
}

std::string SettingsControl::paneReply(ControlReply& reply, const std::string& text)
{
    UIViewControllerRef top = _host.navigation()->topViewController();
    reply.json().key("pane").beginObject().field("class", top ? top->className() : std::string())
        .field("title", top ? top->title() : std::string()).endObject()
        .field("depth", int(_host.navigation()->viewControllers().size()));
    return reply.finish(text);
}

std::string SettingsControl::ping()
{
    ControlReply reply;
    reply.json().field("host", "settings").field("pid", int(getpid())).field("entries", int(_host.entries().size()));
    return paneReply(reply, "settings ready, " + std::to_string(_host.entries().size()) + " entr"
        + (_host.entries().size() == 1 ? "y" : "ies"));
}

void SettingsControl::popToList()
{
    if (auto field = UITextField::currentEditingField())
        field->resignFirstResponder();
    while (_host.navigation()->viewControllers().size() > 1) {
        if (!_host.goBack())
            _host.navigation()->popViewControllerAnimated(false);
    }
}

std::string SettingsControl::open(const control::Words& words)
{
    if (words.size() > 2)
        throw Refusal("open takes at most a pane class");
    const PreferenceLoaderEntry* product = nullptr;
    for (const PreferenceLoaderEntry& entry : _host.entries())
        if (entry.bundle == kProductBundle)
            product = &entry;
    if (!product)
        throw Refusal("the Settings app lists no Ruvex Pro entry: run `ruvex device create`");
    popToList();
    require(_host.openEntry(product->label));
    if (words.size() == 2) {
        PSListControllerRef root = _host.topPane();
        PSSpecifierRef link;
        for (const PSSpecifierRef& specifier : root->specifiers())
            if (specifier && specifier->detailControllerClass() && specifier->detailControllerClass()->name() == words[1])
                link = specifier;
        if (!link)
            throw Refusal("no row of " + product->label + " leads to " + words[1]);
        NSIndexPathRef path = root->indexPathForSpecifier(link);
        require(_host.tapRow(path->section(), path->row()));
        UIViewControllerRef top = _host.navigation()->topViewController();
        if (!top || top->className() != words[1])
            throw Refusal("the row \"" + link->name() + "\" did not open " + words[1]);
    }
    UIViewControllerRef top = _host.navigation()->topViewController();
    return paneReply("opened " + top->className() + " (\"" + top->title() + "\")");
}

std::string SettingsControl::rows()
{
    PSListControllerRef pane = _host.topPane();
    if (!pane)
        throw Refusal("the pane on top is not a list");
    ControlReply reply;
    std::string text = settings::describeRows(pane, reply.json());
    return paneReply(reply, text);
}

std::string SettingsControl::tap(const control::Words& words)
{
    std::optional<settings::RowAddress> address = settings::parseRowAddress(words[1]);
    if (!address) {
        NSIndexPathRef path = _host.indexPathOfRowNamed(words[1]);
        if (!path)
            throw Refusal("no row named \"" + words[1] + "\" in the pane (`ruvex settings rows` lists them)");
        address = settings::RowAddress { path->section(), path->row() };
    }
    PSListControllerRef pane = _host.topPane();
    require(_host.tapRow(address->section, address->row));
    // A finger on a row with a text field lands in the field, which starts editing.
    if (pane && pane == _host.topPane() && !UITextField::currentEditingField()) {
        if (auto field = settings::findSubview<UITextField>(settings::cellOfRow(pane, *address)))
            field->becomeFirstResponder();
    }
    UIViewControllerRef top = _host.navigation()->topViewController();
    return paneReply("tapped " + words[1] + "; on top: " + top->className());
}

std::string SettingsControl::back()
{
    require(_host.goBack());
    return paneReply("back at " + _host.navigation()->topViewController()->className());
}

namespace {

void writeField(ControlReply& reply)
{
    if (UITextFieldRef field = UITextField::currentEditingField())
        reply.json().field("field", field->text());
    else
        reply.json().key("field").null();
}

} // namespace

std::string SettingsControl::type(const control::Words& words)
{
    require(_host.typeText(words[1]));
    ControlReply reply;
    writeField(reply);
    bool pasted = UITextField::characterCount(words[1]) > SettingsHost::kLongestTypedText;
    return paneReply(reply, "typed \"" + words[1] + "\"" + (pasted ? " as one change" : ""));
}

std::string SettingsControl::clear()
{
    require(_host.clearField());
    ControlReply reply;
    writeField(reply);
    return paneReply(reply, "cleared the field");
}

std::string SettingsControl::pressReturn()
{
    require(_host.pressReturn());
    ControlReply reply;
    writeField(reply);
    return paneReply(reply, "pressed return");
}

std::string SettingsControl::slide(const control::Words& words)
{
    if (words.size() != 4)
        throw Refusal("slide takes S:R VALUE STEPS");
    settings::RowAddress address = rowAddress(words[1]);
    double value = parseNumber(words[2], "a value");
    double steps = parseNumber(words[3], "a count of steps");
    if (steps < 1 || steps > 1000 || steps != std::floor(steps))
        throw Refusal("the steps must be a whole number from 1 to 1000");
    require(_host.slide(address.section, address.row, float(value), int(steps)));
    ControlReply reply;
    PSListControllerRef pane = _host.topPane();
    auto slider = pane ? settings::findSubview<UISlider>(settings::cellOfRow(pane, address)) : nullptr;
    double now = slider ? slider->value() : value;
    reply.json().field("value", now);
    char text[64];
    std::snprintf(text, sizeof text, "slid %s to %g", rowName(address).c_str(), now);
    return paneReply(reply, text);
}

namespace {

bool isShown(const UIView& view)
{
    for (const UIView* v = &view; v; v = v->superview().get())
        if (v->isHidden() || v->alpha() < 0.01f)
            return false;
    return true;
}

// The view of that class drawn last, so in front; nothing when none is shown.
UIViewRef frontMostView(const UIViewRef& view, const std::string& className)
{
    UIViewRef found;
    if (view->className() == className && isShown(*view))
        found = view;
    for (const UIViewRef& child : view->subviews())
        if (UIViewRef inChild = frontMostView(child, className))
            found = inChild;
    return found;
}

} // namespace

std::string SettingsControl::touch(const control::Words& words)
{
    bool isDrag = words[0] == "drag";
    size_t numbers = isDrag ? 5 : 2;
    if (words.size() != numbers + 1 && words.size() != numbers + 2)
        throw Refusal(isDrag ? "drag takes X1 Y1 X2 Y2 STEPS [CLASS]" : "touch takes X Y [CLASS]");
    std::vector<double> values;
    for (size_t i = 1; i <= numbers; ++i)
        values.push_back(parseNumber(words[i], i == 5 ? "a count of steps" : "a coordinate"));
    int steps = isDrag ? int(values[4]) : 0;
    if (isDrag && (values[4] < 1 || values[4] > 1000 || values[4] != std::floor(values[4])))
        throw Refusal("the steps must be a whole number from 1 to 1000");
    CGPoint from { CGFloat(values[0]), CGFloat(values[1]) };
    CGPoint to = isDrag ? CGPoint { CGFloat(values[2]), CGFloat(values[3]) } : from;
    if (words.size() == numbers + 2) {
        UIViewRef space = frontMostView(_host.window(), words.back());
        if (!space)
            throw Refusal("no " + words.back() + " is shown");
        from = space->convertPointToView(from, nullptr);
        to = space->convertPointToView(to, nullptr);
    }
    UIViewRef hit = _host.window()->hitTest(from, nullptr);
    require(_host.touchAlong(from, to, steps));
    ControlReply reply;
    reply.json().field("view", hit->className());
    reply.json().key("point").beginObject().field("x", double(from.x)).field("y", double(from.y)).endObject();
    char text[160];
    std::snprintf(text, sizeof text, "%s %g,%g in the window, on %s", isDrag ? "dragged from" : "touched at",
        double(from.x), double(from.y), hit->className().c_str());
    return paneReply(reply, text);
}

std::string SettingsControl::setSwitch(const control::Words& words)
{
    if (words.size() != 3 || (words[2] != "on" && words[2] != "off"))
        throw Refusal("switch takes S:R on|off");
    settings::RowAddress address = rowAddress(words[1]);
    PSListControllerRef pane = _host.topPane();
    if (!pane)
        throw Refusal("the pane on top is not a list");
    UITableViewCellRef cell = settings::cellOfRow(pane, address);
    if (!cell)
        throw Refusal("no row " + rowName(address) + " in the pane");
    auto toggle = settings::findSubview<UISwitch>(cell);
    if (!toggle)
        throw Refusal("row " + rowName(address) + " has no switch");
    bool wanted = words[2] == "on";
    bool changed = toggle->isOn() != wanted;
    if (changed) {
        require(_host.flipSwitch(address.section, address.row));
        if (toggle->isOn() != wanted)
            throw Refusal("the switch of row " + rowName(address) + " did not turn " + words[2]);
    }
    ControlReply reply;
    reply.json().field("on", wanted).field("changed", changed);
    return paneReply(reply, "switch " + rowName(address) + (changed ? " turned " : " was already ") + words[2]);
}

std::string SettingsControl::screenshot(const control::Words& words)
{
    if (words.size() != 3)
        throw Refusal("screenshot takes PATH SCALE");
    double scale = parseNumber(words[2], "a scale");
    if (!(scale > 0 && scale <= 8))
        throw Refusal("the scale must lie above 0 and at most 8");
    std::string error;
    if (!control::writeScreenshot(*_host.window(), words[1], scale, error))
        throw Refusal(error);
    ControlReply reply;
    reply.json().field("path", words[1]);
    return reply.finish("wrote " + words[1]);
}
