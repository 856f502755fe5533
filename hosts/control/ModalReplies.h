#pragma once

// The `alert` and `sheet` verbs both hosts answer, over the modal of that kind shown last:
//   alert | sheet                 alert: null or {title, message, buttons: [titles]}
//                                 sheet: null or {title (or null), buttons, cancel}
//   alert | sheet tap INDEX|TITLE the button named so: its title first, then its index
// Each host taps the button its own way (the shell's Center tap, the Settings app's own
// dismissal) and adds what its reply carries beside "tapped".

#include "ControlReply.h"
#include "ControlVerbs.h"

#include "ui/UIActionSheet.h"
#include "ui/UIAlertView.h"

namespace control {

// The reply to a bare `alert` / `sheet`: the modal described, or that none is shown.
json::Value describeAlert(const UIAlertViewRef& alert);
json::Value describeSheet(const UIActionSheetRef& sheet);

// For `KIND tap WORD`: the index of the button WORD names on the modal shown; a Refusal
// (bad use for other words, a failure when none is shown or no button is named so).
int buttonToTap(const UIModalView* shown, std::string_view kind, const Words& words);

} // namespace control
