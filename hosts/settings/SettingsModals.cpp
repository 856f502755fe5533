// Alerts and action sheets over the Settings app: the one of its kind shown last that is
// still on screen, and taps on its buttons by index or title.

#include "SettingsControl.h"

#include "control/ModalReplies.h"
#include "ui/UIModalOverlay.h"

json::Value SettingsControl::sheet(const control::Words& words)
{
    UIActionSheetRef top = _host.modals().topActionSheet();
    if (words.size() == 1)
        return control::describeSheet(top);
    int index = control::buttonToTap(top.get(), "sheet", words);
    std::string title = top->buttonTitleAtIndex(index);
    top->dismissWithClickedButtonIndex(index, false);
    ControlReply reply;
    reply["tapped"] = index;
    return paneReply(reply, "tapped [" + std::to_string(index) + "] " + title);
}

json::Value SettingsControl::alert(const control::Words& words)
{
    UIAlertViewRef top = _host.modals().topAlert();
    if (words.size() == 1)
        return control::describeAlert(top);
    int index = control::buttonToTap(top.get(), "alert", words);
    std::string title = top->buttonTitleAtIndex(index);
    top->dismissWithClickedButtonIndex(index);
    ControlReply reply;
    reply["tapped"] = index;
    return paneReply(reply, "tapped [" + std::to_string(index) + "] " + title);
}
