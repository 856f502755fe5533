#include "ModalReplies.h"

namespace control {

namespace {

// The buttons into the reply, and the lines "[INDEX] TITLE" a person reads.
std::string describeButtons(const UIModalView& modal, json::Value& into)
{
    std::string text;
    json::Value& buttons = into["buttons"] = json::Value::array();
    for (int i = 0; i < modal.numberOfButtons(); ++i) {
        buttons.push_back(modal.buttonTitleAtIndex(i));
        text += "\n[" + std::to_string(i) + "] " + modal.buttonTitleAtIndex(i);
    }
    return text;
}

json::Value orNull(const std::optional<std::string>& text)
{
    return text ? json::Value(*text) : json::Value();
}

} // namespace

json::Value describeAlert(const UIAlertViewRef& alert)
{
    ControlReply reply;
    json::Value& described = reply["alert"];
    if (!alert)
        return reply.finish("no alert");
    described["title"] = alert->title();
    described["message"] = orNull(alert->message());
    std::string text = alert->title() + (alert->message() ? "\n" + *alert->message() : "");
    return reply.finish(text + describeButtons(*alert, described));
}

json::Value describeSheet(const UIActionSheetRef& sheet)
{
    ControlReply reply;
    json::Value& described = reply["sheet"];
    if (!sheet)
        return reply.finish("no sheet");
    described["title"] = orNull(sheet->title());
    std::string text = sheet->title().value_or("(untitled sheet)") + describeButtons(*sheet, described);
    described["cancel"] = sheet->cancelButtonIndex();
    return reply.finish(text);
}

int buttonToTap(const UIModalView* shown, std::string_view kind, const Words& words)
{
    std::string name(kind);
    if (words.size() != 3 || words[1] != "tap")
        throw Refusal::usage(name + " takes nothing, or tap INDEX|TITLE");
    if (!shown)
        throw Refusal("no " + name + " is shown");
    int index = shown->buttonIndexNamed(words[2]);
    if (index < 0)
        throw Refusal("the " + name + " has no button " + words[2]);
    return index;
}

} // namespace control
