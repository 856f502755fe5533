// Alerts and action sheets over the Settings app: the one of its kind shown last that is
// still on screen, and taps on its buttons by index or title.

#include "SettingsControl.h"

#include "ui/UIModalOverlay.h"

#include <nlohmann/json.hpp>

namespace {

using Refusal = SettingsControl::Refusal;

std::string describeButtons(const UIModalView& modal, json::Value& json)
{
    std::string text;
    json::Value& buttons = json["buttons"] = json::Value::array();
    for (int i = 0; i < modal.numberOfButtons(); ++i) {
        buttons.push_back(modal.buttonTitleAtIndex(i));
        text += "\n[" + std::to_string(i) + "] " + modal.buttonTitleAtIndex(i);
    }
    return text;
}

} // namespace

json::Value SettingsControl::sheet(const control::Words& words)
{
    UIActionSheetRef top = _host.modals().topActionSheet();
    if (words.size() == 1) {
        ControlReply reply;
        json::Value& sheet = reply["sheet"];
        if (!top)
            return reply.finish("no sheet");
        sheet["title"] = top->title() ? json::Value(*top->title()) : json::Value();
        std::string text = top->title().value_or("(untitled sheet)") + describeButtons(*top, sheet);
        sheet["cancel"] = top->cancelButtonIndex();
        return reply.finish(text);
    }
    if (words.size() != 3 || words[1] != "tap")
        throw Refusal("sheet takes nothing, or tap INDEX|TITLE");
    if (!top)
        throw Refusal("no sheet is shown");
    int index = top->buttonIndexNamed(words[2]);
    if (index < 0)
        throw Refusal("the sheet has no button " + words[2]);
    std::string title = top->buttonTitleAtIndex(index);
    top->dismissWithClickedButtonIndex(index, false);
    ControlReply reply;
    reply["tapped"] = index;
    return paneReply(reply, "tapped [" + std::to_string(index) + "] " + title);
}

json::Value SettingsControl::alert(const control::Words& words)
{
    UIAlertViewRef top = _host.modals().topAlert();
    if (words.size() == 1) {
        ControlReply reply;
        json::Value& alert = reply["alert"];
        if (!top)
            return reply.finish("no alert");
        alert["title"] = top->title();
        alert["message"] = top->message() ? json::Value(*top->message()) : json::Value();
        std::string text = top->title() + (top->message() ? "\n" + *top->message() : "") + describeButtons(*top, alert);
        return reply.finish(text);
    }
    if (words.size() != 3 || words[1] != "tap")
        throw Refusal("alert takes nothing, or tap INDEX|TITLE");
    if (!top)
        throw Refusal("no alert is shown");
    int index = top->buttonIndexNamed(words[2]);
    if (index < 0)
        throw Refusal("the alert has no button " + words[2]);
    std::string title = top->buttonTitleAtIndex(index);
    top->dismissWithClickedButtonIndex(index);
    ControlReply reply;
    reply["tapped"] = index;
    return paneReply(reply, "tapped [" + std::to_string(index) + "] " + title);
}
