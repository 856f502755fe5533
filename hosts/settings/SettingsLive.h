#pragma once

// The settings host's requests for a screen that shows the app live (the shell's phone
// screen, and through it `ruvex window`): the app's one finger, phase by phase, and the
// window's pixels without PNG.
//
//   finger                        down, phase (the last one sent, or null), view (the class
//                                 the finger is on, or null): the finger's state
//   finger began X Y              down, view, point {x, y}: a finger put down at X Y in the
//                                 window; one still down is cancelled first
//   finger moved X Y              down, point
//   finger ended X Y              down: lifted at X Y
//   finger cancelled              down, cancelled (whether a finger was down)
//   screen PATH SCALE             path, width, height: the window's pixels (32-bit
//                                 native-endian ARGB, rows of 4 x width bytes, not synced)
//
// A finger stays down between requests. One whose sender stops sending (the shell killed
// mid-drag, a window closed without its release) stays on its view, which keeps tracking it,
// until the next `began` (a tap or drag verb counts) or `cancelled`: the view hears
// touchesCancelled then, and nothing else is held meanwhile, so every other verb works.

#include "SettingsHost.h"

#include "control/ControlSocket.h"
#include "foundation/Json.h"

#include <string>

namespace settings {

json::Value fingerRequest(SettingsHost& host, const control::Words& words);
json::Value screenRequest(SettingsHost& host, const control::Words& words);

} // namespace settings
