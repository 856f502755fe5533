#pragma once

// The preference bundle's own exported symbols. The bundle is linked with a version script
// (exports.map) so that only these and the colour bars' point functions leave it.

#include <string>

#define RVX_EXPORT __attribute__((visibility("default")))

extern "C" {

// Posts the settings-changed notification on the Darwin center: no object, no user
// information, delivered immediately. Every post of the panes has this form.
RVX_EXPORT void post();

// The title of the next quick alert; emptied once that alert shows.
RVX_EXPORT extern std::string titleString;

} // extern "C"
