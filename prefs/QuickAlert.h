#pragma once

// One-button alerts any object can show, with a title set in advance for the next one.
// The three are added to NSObject by selector name when the bundle loads:
//
//   setQuickQlertTitle:              titleString becomes the object's text
//   quickAlert:                      an alert with the object's text as its message
//   quickAlertWithObject:withObject: the two objects' texts, one per line
//
// An alert has titleString as its title (none when it is empty), no delegate and the one
// button "OK"; titleString is emptied right after it shows.

#include "foundation/PlistValue.h"
#include "runtime/NSObject.h"

#include <string>

namespace NSObject_QuickAlert {

// The text "%@" gives for an object: a property-list string as is, a number in its
// shortest form, an address as its text, "(null)" for nil, else "<ClassName>".
std::string description(const id& object);

void setQuickQlertTitle(NSObject& receiver, const id& title);
void quickAlert(NSObject& receiver, const id& message);
void quickAlertWithObject(NSObject& receiver, const id& first, const id& second);

} // namespace NSObject_QuickAlert
