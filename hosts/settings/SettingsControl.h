#pragma once

// The settings host's control requests, answered by driving the Settings app model. The
// words and reply fields are listed in SettingsControl.cpp.

#include "control/ControlReply.h"
#include "control/ControlVerbs.h"
#include "SettingsHost.h"

#include <string>

class SettingsControl {
public:
    explicit SettingsControl(SettingsHost& host);

    // The reply to one request: {"ok":false,"error":...} when the request is refused, and
    // also when a store made during it failed.
    json::Value handle(const control::Words& words);

    using Refusal = control::Refusal;

private:
    json::Value open(const control::Words& words);
    json::Value rows();
    json::Value tap(const control::Words& words);
    json::Value back();
    json::Value type(const control::Words& words);
    json::Value clear();
    json::Value deleteBackward();
    json::Value pressReturn();
    json::Value bar(const control::Words& words);
    json::Value touch(const control::Words& words); // touch and drag
    json::Value slide(const control::Words& words);
    json::Value setSwitch(const control::Words& words);
    json::Value sheet(const control::Words& words);
    json::Value alert(const control::Words& words);

    // The pane on top as reply fields {pane: {class, title}, depth}, and its line of text.
    json::Value paneReply(ControlReply& reply, const std::string& text);
    json::Value paneReply(const std::string& text)
    {
        ControlReply reply;
        return paneReply(reply, text);
    }
    // Pops to the Settings list, ending any editing.
    void popToList();
    // Refuses with the host's reason unless `done`.
    void require(const Result<void>& done);

    SettingsHost& _host;
    control::VerbTable _verbs;
};

namespace settings {

using control::RowAddress;

// The top pane's rows as JSON into `reply` (key "sections") and as lines of text.
std::string describeRows(const PSListControllerRef& pane, json::Value& reply);
// The cell of a row of the pane, scrolled into view; nothing when the pane has no such row.
UITableViewCellRef cellOfRow(const PSListControllerRef& pane, RowAddress address);

// The first view of kind T in the tree under `view`, depth first.
template<typename T>
std::shared_ptr<T> findSubview(const UIViewRef& view)
{
    if (!view)
        return nullptr;
    if (auto found = std::dynamic_pointer_cast<T>(view))
        return found;
    for (const UIViewRef& child : view->subviews())
        if (auto found = findSubview<T>(child))
            return found;
    return nullptr;
}

} // namespace settings
