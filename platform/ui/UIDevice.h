#pragma once

// The device the code runs on. The idiom is the host's to set (a test plays an iPad so).

#include "runtime/NSObject.h"

#include <string>

enum UIUserInterfaceIdiom : int {
    UIUserInterfaceIdiomPhone = 0,
    UIUserInterfaceIdiomPad = 1,
};

class UIDevice : public NSObject {
    RVX_OBJECT(UIDevice)
public:
    UIDevice() = default;
    static std::shared_ptr<UIDevice> currentDevice();

    int userInterfaceIdiom() const { return _idiom; }
    void setUserInterfaceIdiom(int idiom) { _idiom = idiom; }
    std::string model() const { return _idiom == UIUserInterfaceIdiomPad ? "iPad" : "iPhone"; }
    std::string systemVersion() const { return "6.1"; }

private:
    int _idiom = UIUserInterfaceIdiomPhone;
};
