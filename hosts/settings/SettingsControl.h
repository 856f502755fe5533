#pragma once

// The settings host's control requests, answered by driving the Settings app model. The
// words and reply fields are listed in SettingsControl.cpp.

#include "control/ControlReply.h"
#include "control/ControlSocket.h"
#include "SettingsHost.h"

#include <stdexcept>
#include <string>

class SettingsControl {
public:
    explicit SettingsControl(SettingsHost& host) : _host(host) { }

    // The reply to one request: {"ok":false,"error":...} when the request is refused, and
    // also when a store made during it failed.
    std::string handle(const control::Words& words);

    // A request that cannot be done: its message becomes the error reply.
    struct Refusal : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

private:
    std::string dispatch(const control::Words& words);
    std::string ping();
    std::string open(const control::Words& words);
    std::string rows();
    std::string tap(const control::Words& words);
    std::string back();
    std::string type(const control::Words& words);
    std::string clear();
    std::string pressReturn();
    std::string touch(const control::Words& words); // touch and drag
    std::string slide(const control::Words& words);
    std::string setSwitch(const control::Words& words);
    std::string sheet(const control::Words& words);
    std::string alert(const control::Words& words);
    std::string screenshot(const control::Words& words);

    // The pane on top as reply fields {pane: {class, title}, depth}, and its line of text.
    std::string paneReply(ControlReply& reply, const std::string& text);
    std::string paneReply(const std::string& text)
    {
        ControlReply reply;
        return paneReply(reply, text);
    }
    // Pops to the Settings list, ending any editing.
    void popToList();
    // Refuses with the host's reason unless `done`.
    void require(bool done);

    SettingsHost& _host;
};

namespace settings {

struct RowAddress {
    int section;
    int row;
};

// "S:R" as two numbers from 0; nothing otherwise.
std::optional<RowAddress> parseRowAddress(const std::string& text);
// The top pane's rows as JSON into `reply` (key "sections") and as lines of text.
std::string describeRows(const PSListControllerRef& pane, JsonWriter& json);
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
