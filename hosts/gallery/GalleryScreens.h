#pragma once

// Every screen of the product, each with the steps that reach it from a fresh device: the
// one list that `ruvex gallery`, the golden-image tests and the screens benchmark share.

#include "GalleryStage.h"

#include <functional>
#include <string>
#include <vector>

namespace gallery {

struct Screen {
    std::string name;    // the picture's file name without ".png": "center-default"
    std::string caption; // one line under the picture on the contact sheet
    Host host;           // whose window shows it
    std::function<void(Stage&)> reach;
};

// In the order a person would meet them: the Center, its dialogs, then the Settings app.
const std::vector<Screen>& screens();
// The screen of that name, or nothing.
const Screen* findScreen(const std::string& name);

// A fresh stage at `root` with the screen reached on it.
std::unique_ptr<Stage> reach(const Screen& screen, const std::string& root, const std::string& bundlesFolder);

} // namespace gallery
