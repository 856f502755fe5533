#pragma once

// The Notification Center's widget host: loads the widget bundles of the device, creates
// each principal controller and drives it through BBWeeAppController, laying the widgets
// out one under the other in the Center's window.
//
// Calling order, each optional call made only when the controller answers it:
//   load:    a layout (no views yet)
//   layout:  viewHeight and view; the view goes into its container, 316 points wide
//   open:    loadPlaceholderView and loadFullView where the views are not built (the first
//            opening, or one after an unload), layout, viewWillAppear, viewDidAppear
//   close:   viewWillDisappear, viewDidDisappear
//   tap:     launchURLForTapLocation: with the point in the widget's coordinates
//   unload:  unloadView

#include "springboard/BBWeeAppController.h"
#include "ui/UIModalOverlay.h"
#include "ui/UIWindow.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class WeeAppHost {
public:
    static constexpr CGFloat centerWidth = 320;
    static constexpr CGFloat centerHeight = 480;
    static constexpr CGFloat widgetWidth = 316;
    static constexpr CGFloat firstWidgetY = 20; // below the status bar
    static constexpr std::string_view pluginsFolder = "/System/Library/WeeAppPlugins";

    struct Widget {
        std::string bundlePath;
        std::shared_ptr<springboard::BBWeeAppController> controller;
        std::shared_ptr<UIView> container;
        bool viewsLoaded = false;
    };

    // Makes the Center's window, installs the presenter that draws alerts over it and
    // follows the Center's state in ShellState.
    WeeAppHost();
    // Unloads every widget's views and stops presenting alerts.
    ~WeeAppHost();
    WeeAppHost(const WeeAppHost&) = delete;
    WeeAppHost& operator=(const WeeAppHost&) = delete;

    // Loads every NAME.bundle of the plugins folder, in name order. A bundle that cannot be
    // loaded or whose principal class is not a widget controller is skipped with a one-line
    // message (stderr and messages()). Answers the number of widgets loaded.
    size_t loadPlugins();
    bool loadPlugin(std::string_view bundlePhonePath);
    const std::vector<std::string>& messages() const { return _messages; }

    const std::vector<Widget>& widgets() const { return _widgets; }
    const std::shared_ptr<UIWindow>& window() const { return _window; }

    // Asks every widget its height and view and stacks them in their containers.
    void layout();
    // Opens or closes the Center through ShellState; the widgets hear of it from there.
    void openCenter();
    void closeCenter();

    // A tap at a point in the widget's coordinates. Answers what the widget asks to open
    // (an address is opened through the shared application), or nothing.
    id tapWidget(size_t index, CGPoint point);
    // A tap at a point of the Center's window, given to the widget under it.
    id tapCenter(CGPoint point);

    // Drops every widget's views (unloadView) and takes them out of their containers;
    // a widget whose views are already dropped is not asked again.
    void unloadViews();
    // Builds the dropped views again: placeholder, full view, then a layout.
    void reloadViews();

    // The alerts over the Center, and taps on the top one's buttons.
    UIModalOverlayPresenter& alerts() { return *_alerts; }

    bool writePNG(const std::string& path, double scale = 2) const { return _window->writePNG(path, scale); }

private:
    void centerChanged(bool active);
    void loadViews(Widget& widget);
    void send(Widget& widget, std::string_view selector);
    void log(const Widget& widget, std::string_view call) const;
    void skip(std::string_view bundlePath, std::string_view reason);

    std::shared_ptr<UIWindow> _window;
    std::unique_ptr<UIModalOverlayPresenter> _alerts;
    std::vector<Widget> _widgets;
    std::vector<std::string> _messages;
    int _centerObserver = 0;
};
