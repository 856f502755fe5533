#pragma once

// The springboard host's control requests, answered from the shell's state and the widget
// host. The words and reply fields are listed in SpringboardControl.cpp.

#include "PhoneScreen.h"
#include "WeeAppHost.h"

#include "control/ControlSocket.h"

#include <string>

class SpringboardControl {
public:
    SpringboardControl(WeeAppHost& host, PhoneScreen& screen) : _host(host), _screen(screen) { }

    std::string handle(const control::Words& words);
    // The settings-changed notifications heard so far (the widget hears the same posts).
    void noteSettingsChange() { ++_settingsChanges; }
    // Whether a request may change what the screen shows (the reading ones do not).
    static bool changesScreen(const control::Words& words);

private:
    std::string ping();
    std::string apps();
    std::string launch(const control::Words& words);
    std::string home(const control::Words& words);
    std::string switcher();
    std::string center(const control::Words& words);
    std::string tap(const control::Words& words);
    std::string alert(const control::Words& words);
    std::string screenshot(const control::Words& words);
    std::string urls();
    std::string events();
    std::string screen(const control::Words& words);
    std::string icons();

    WeeAppHost& _host;
    PhoneScreen& _screen;
    int _settingsChanges = 0;
};
