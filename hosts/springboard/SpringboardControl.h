#pragma once

// The springboard host's control requests, answered from the shell's state and the widget
// host. The words and reply fields are listed in SpringboardControl.cpp.

#include "PhoneScreen.h"
#include "WeeAppHost.h"

#include "control/ControlVerbs.h"

#include <string>

class SpringboardControl {
public:
    SpringboardControl(WeeAppHost& host, PhoneScreen& screen);

    json::Value handle(const control::Words& words);
    // The settings-changed notifications heard so far (the widget hears the same posts).
    void noteSettingsChange() { ++_settingsChanges; }
    // Whether a request may change what the screen shows (the reading ones do not).
    static bool changesScreen(const control::Words& words);

private:
    json::Value apps();
    json::Value launch(const control::Words& words);
    json::Value home(const control::Words& words);
    json::Value switcher();
    json::Value center(const control::Words& words); // nc, and nc tap
    json::Value tap(const control::Words& words);
    json::Value alert(const control::Words& words);
    json::Value urls();
    json::Value events();
    json::Value screen(const control::Words& words);
    json::Value icons();

    WeeAppHost& _host;
    PhoneScreen& _screen;
    int _settingsChanges = 0;
    control::VerbTable _verbs;
};
