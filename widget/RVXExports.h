#pragma once

// The widget bundle's only exported symbols; everything else in it is hidden.

#include "corefoundation/CFNotificationCenter.h"

#define RVX_EXPORT __attribute__((visibility("default")))

extern "C" {

// The last height read from the Settings file; every frame of the row takes its height here.
RVX_EXPORT extern float VIEW_HEIGHT;

// The settings-changed callback: sends reload to the controller of record.
RVX_EXPORT void VEVChanged(CFNotificationCenterRef center, void* observer, CFStringRef name,
    const void* object, CFDictionaryRef userInfo);

} // extern "C"
