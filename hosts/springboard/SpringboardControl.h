#pragma once

// The springboard host's control requests, answered from the shell's state and the widget
// host. The words and reply fields are listed in SpringboardControl.cpp.

#include "WeeAppHost.h"

#include "control/ControlSocket.h"

#include <string>

class SpringboardControl {
public:
    explicit SpringboardControl(WeeAppHost& host) : _host(host) { }

    std::string handle(const control::Words& words);
    // The settings-changed notifications heard so far (the widget hears the same posts).
    void noteSettingsChange() { ++_settingsChanges; }

private:
    std::string ping();
    std::string apps();
    std::string launch(const control::Words& words);
    std::string home();
    std::string switcher();
    std::string center(const control::Words& words);
    std::string tap(const control::Words& words);
    std::string alert(const control::Words& words);
    std::string screenshot(const control::Words& words);
    std::string urls();
    std::string events();

    WeeAppHost& _host;
    int _settingsChanges = 0;
};
