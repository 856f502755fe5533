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

#include "control/ControlServer.h"
#include "foundation/PreferenceFile.h"
#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITextField.h"

#include <cmath>
#include <cstdlib>

#include <unistd.h>

namespace {

using Refusal = SettingsControl::Refusal;
using control::rowName;

// The product's entry in the Settings list.
constexpr const char* kProductBundle = "RuvexProprefs";

double number(const std::string& text, const char* what)
{
    std::optional<double> value = control::parseNumber(text);
    if (!value)
        throw Refusal::usage(std::string("not ") + what + ": " + text);
    return *value;
}

int steps(const std::string& text)
{
    std::optional<int> count = control::parseSteps(text);
    if (!count)
        throw Refusal::usage("the steps must be a whole number from 1 to " + std::to_string(control::kMostSteps));
    return *count;
}

settings::RowAddress rowAddress(const std::string& text)
{
    auto address = control::parseRowAddress(text);
    if (!address)
        throw Refusal::usage("not a row S:R (section and row from 0): " + text);
    return *address;
}

// The field being edited as the reply's "field" (null when none).
void writeField(ControlReply& reply);

} // namespace

SettingsControl::SettingsControl(SettingsHost& host)
    : _host(host)
    , _verbs(control::kSettings)
{
    using control::Words;
    _verbs.addSharedVerbs([this]() -> const UIWindow& { return *_host.window(); }, [this](ControlReply& reply) {
        reply["entries"] = int(_host.entries().size());
        return paneReply(reply, "settings ready, " + std::to_string(_host.entries().size()) + " entr"
            + (_host.entries().size() == 1 ? "y" : "ies"));
    });
    _verbs.add("open", "at most a pane class", 0, 1, this, &SettingsControl::open);
    _verbs.add("rows", this, &SettingsControl::rows);
    _verbs.add("tap", "TITLE or S:R", 1, 1, this, &SettingsControl::tap);
    _verbs.add("back", this, &SettingsControl::back);
    _verbs.add("type", "TEXT", 1, 1, this, &SettingsControl::type);
    _verbs.add("clear", this, &SettingsControl::clear);
    _verbs.add("delete", this, &SettingsControl::deleteBackward);
    _verbs.add("return", this, &SettingsControl::pressReturn);
    _verbs.add("bar", "left|right|back", 1, 1, this, &SettingsControl::bar);
    _verbs.add("touch", "X Y [CLASS]", 2, 3, this, &SettingsControl::touch);
    _verbs.add("drag", "X1 Y1 X2 Y2 STEPS [CLASS]", 5, 6, this, &SettingsControl::touch);
    _verbs.add("slide", "S:R VALUE STEPS", 3, 3, this, &SettingsControl::slide);
    _verbs.add("switch", "S:R on|off", 2, 2, this, &SettingsControl::setSwitch);
    _verbs.add("sheet", "nothing, or tap INDEX|TITLE", 0, 2, this, &SettingsControl::sheet);
    _verbs.add("alert", "nothing, or tap INDEX|TITLE", 0, 2, this, &SettingsControl::alert);
    _verbs.add({ "finger", "nothing, began|moved|ended X Y, or cancelled", 0, 3,
        [this](const Words& words) { return settings::fingerRequest(_host, words); } });
    _verbs.add({ "screen", "PATH SCALE", 2, 2, [this](const Words& words) { return settings::screenRequest(_host, words); } });
}

// A pane's store is silent toward its sender, as on the phone; the preference writes of the
// request tell whether any failed. Then the request did its input (the pane may show the new
// value and may have posted) but nothing was stored, and the reply says so.
json::Value SettingsControl::handle(const control::Words& words)
{
    unsigned long failedBefore = PreferenceFile::failures().count;
    json::Value reply = _verbs.handle(words);
    const PreferenceFile::Failures& failed = PreferenceFile::failures();
    if (failed.count == failedBefore)
        return reply;
    unsigned long count = failed.count - failedBefore;
    return control::errorReply("the setting was not stored: cannot write " + failed.path + ": " + failed.reason
        + (count > 1 ? " (" + std::to_string(count) + " stores failed)" : ""));
}

void SettingsControl::require(const Result<void>& done)
{
    if (!done)
        throw Refusal(done.error());
}

json::Value SettingsControl::paneReply(ControlReply& reply, const std::string& text)
{
    UIViewControllerRef top = _host.navigation()->topViewController();
    json::Value pane = json::Value::object();
    pane["class"] = top ? top->className() : std::string();
    pane["title"] = top ? top->title() : std::string();
    reply["pane"] = std::move(pane);
    reply["depth"] = int(_host.navigation()->viewControllers().size());
    return reply.finish(text);
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

json::Value SettingsControl::open(const control::Words& words)
{
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

json::Value SettingsControl::rows()
{
    PSListControllerRef pane = _host.topPane();
    if (!pane)
        throw Refusal("the pane on top is not a list");
    ControlReply reply;
    std::string text = settings::describeRows(pane, reply.json());
    return paneReply(reply, text);
}

json::Value SettingsControl::tap(const control::Words& words)
{
    std::optional<settings::RowAddress> address = control::parseRowAddress(words[1]);
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

json::Value SettingsControl::back()
{
    require(_host.goBack());
    return paneReply("back at " + _host.navigation()->topViewController()->className());
}

namespace {

void writeField(ControlReply& reply)
{
    UITextFieldRef field = UITextField::currentEditingField();
    reply["field"] = field ? json::Value(field->text()) : json::Value();
}

} // namespace

json::Value SettingsControl::type(const control::Words& words)
{
    require(_host.typeText(words[1]));
    ControlReply reply;
    writeField(reply);
    bool pasted = UITextField::characterCount(words[1]) > SettingsHost::kLongestTypedText;
    return paneReply(reply, "typed \"" + words[1] + "\"" + (pasted ? " as one change" : ""));
}

json::Value SettingsControl::clear()
{
    require(_host.clearField());
    ControlReply reply;
    writeField(reply);
    return paneReply(reply, "cleared the field");
}

json::Value SettingsControl::pressReturn()
{
    require(_host.pressReturn());
    ControlReply reply;
    writeField(reply);
    return paneReply(reply, "pressed return");
}

json::Value SettingsControl::deleteBackward()
{
    require(_host.deleteBackward());
    ControlReply reply;
    writeField(reply);
    return paneReply(reply, "deleted a character");
}

json::Value SettingsControl::bar(const control::Words& words)
{
    require(_host.tapBarButton(words[1]));
    return paneReply("tapped the " + words[1] + " bar button");
}

json::Value SettingsControl::slide(const control::Words& words)
{
    settings::RowAddress address = rowAddress(words[1]);
    double value = number(words[2], "a value");
    int count = steps(words[3]);
    require(_host.slide(address.section, address.row, float(value), count));
    ControlReply reply;
    PSListControllerRef pane = _host.topPane();
    auto slider = pane ? settings::findSubview<UISlider>(settings::cellOfRow(pane, address)) : nullptr;
    double now = slider ? slider->value() : value;
    reply["value"] = json::readable(now);
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

json::Value SettingsControl::touch(const control::Words& words)
{
    bool isDrag = words[0] == "drag";
    size_t coordinates = isDrag ? 4 : 2;
    size_t numbers = isDrag ? 5 : 2;
    std::vector<double> values;
    for (size_t i = 1; i <= coordinates; ++i)
        values.push_back(number(words[i], "a coordinate"));
    int count = isDrag ? steps(words[5]) : 0;
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
    require(_host.touchAlong(from, to, count));
    ControlReply reply;
    reply["view"] = hit->className();
    reply["point"] = json::Value::object();
    reply["point"]["x"] = json::readable(from.x);
    reply["point"]["y"] = json::readable(from.y);
    char text[160];
    std::snprintf(text, sizeof text, "%s %g,%g in the window, on %s", isDrag ? "dragged from" : "touched at",
        double(from.x), double(from.y), hit->className().c_str());
    return paneReply(reply, text);
}

json::Value SettingsControl::setSwitch(const control::Words& words)
{
    if (words[2] != "on" && words[2] != "off")
        throw Refusal::usage("switch takes S:R on|off");
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
    reply["on"] = wanted;
    reply["changed"] = changed;
    return paneReply(reply, "switch " + rowName(address) + (changed ? " turned " : " was already ") + words[2]);
}
