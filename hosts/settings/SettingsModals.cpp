// Alerts and action sheets over the Settings app: the one of its kind shown last that is
// still on screen, and taps on its buttons by index or title.

#include "SettingsControl.h"

#include "ui/UIModalOverlay.h"

namespace {

using Refusal = SettingsControl::Refusal;

std::string describeButtons(const UIModalView& modal, JsonWriter& json)
{
    std::string text;
    json.key("buttons").beginArray();
    for (int i = 0; i < modal.numberOfButtons(); ++i) {
        json.value(modal.buttonTitleAtIndex(i));
        text += "\n[" + std::to_string(i) + "] " + modal.buttonTitleAtIndex(i);
    }
    json.endArray();
    return text;
}

} // namespace

std::string SettingsControl::sheet(const control::Words& words)
{
    UIActionSheetRef top = _host.modals().topActionSheet();
    if (words.size() == 1) {
        ControlReply reply;
        if (!top) {
            reply.json().key("sheet").null();
            return reply.finish("no sheet");
        }
        reply.json().key("sheet").beginObject();
        if (top->title())
            reply.json().field("title", *top->title());
        else
            reply.json().key("title").null();
        std::string text = top->title().value_or("(untitled sheet)") + describeButtons(*top, reply.json());
        reply.json().field("cancel", top->cancelButtonIndex()).endObject();
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
    reply.json().field("tapped", index);
    return paneReply(reply, "tapped [" + std::to_string(index) + "] " + title);
}

std::string SettingsControl::alert(const control::Words& words)
{
    UIAlertViewRef top = _host.modals().topAlert();
    if (words.size() == 1) {
        ControlReply reply;
        if (!top) {
            reply.json().key("alert").null();
            return reply.finish("no alert");
        }
        reply.json().key("alert").beginObject().field("title", top->title());
        if (top->message())
            reply.json().field("message", *top->message());
        else
            reply.json().key("message").null();
        std::string text = top->title() + (top->message() ? "\n" + *top->message() : "") + describeButtons(*top, reply.json());
        reply.json().endObject();
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
    reply.json().field("tapped", index);
    return paneReply(reply, "tapped [" + std::to_string(index) + "] " + title);
}
