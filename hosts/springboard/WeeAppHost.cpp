#include "WeeAppHost.h"

#include "SBBulletinListIconContainerView.h"
#include "ShellState.h"

#include "foundation/DeviceRoot.h"
#include "foundation/LoadProblems.h"
#include "foundation/NSBundle.h"
#include "foundation/NSURL.h"
#include "ui/UIApplication.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string bundleName(std::string_view path)
{
    return fs::path(path).stem().string();
}

std::vector<std::string> bundlesIn(std::string_view phoneFolder)
{
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator it(DeviceRoot::resolve(phoneFolder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        if (it->path().extension() == ".bundle" && it->is_directory(ignored))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

WeeAppHost::WeeAppHost()
    : _window(std::make_shared<UIWindow>(CGRectMake(0, 0, centerWidth, centerHeight)))
    , _alerts(std::make_unique<UIModalOverlayPresenter>(_window))
{
    _window->setBackgroundColor(UIColor::colorWithWhite(0.12, 1));
    UIModalView::setPresenter(_alerts.get());
    _centerObserver = ShellState::shared().addCenterObserver([this](bool active) { centerChanged(active); });
}

WeeAppHost::~WeeAppHost()
{
    ShellState::shared().removeCenterObserver(_centerObserver);
    unloadViews();
    // The presenter, as it goes, stops presenting and dismisses the alerts still up.
}

size_t WeeAppHost::loadPlugins()
{
    size_t loaded = 0;
    for (const std::string& name : bundlesIn(pluginsFolder)) {
        if (loadPlugin(std::string(pluginsFolder) + "/" + name))
            ++loaded;
    }
    return loaded;
}

bool WeeAppHost::loadPlugin(std::string_view bundlePhonePath)
{
    auto bundle = NSBundle::bundleWithPath(bundlePhonePath);
    if (!bundle) {
        skip(bundlePhonePath, "no such bundle");
        return false;
    }
    if (Result<void> loaded = bundle->load(); !loaded) {
        skip(bundlePhonePath, loaded.error());
        return false;
    }
    const Class* principal = bundle->principalClass();
    if (!principal) {
        const PlistValue* name = bundle->objectForInfoDictionaryKey("NSPrincipalClass");
        skip(bundlePhonePath, !bundle->infoProblem().empty() ? bundle->infoProblem()
                : name && name->string() ? "no class named " + *name->string() : "its Info.plist names no NSPrincipalClass");
        return false;
    }
    auto controller = std::dynamic_pointer_cast<springboard::BBWeeAppController>(principal->createInstance());
    if (!controller) {
        skip(bundlePhonePath, principal->name() + " is not a widget controller");
        return false;
    }
    Widget widget { std::string(bundlePhonePath), std::move(controller), std::make_shared<SBBulletinListIconContainerView>(), false };
    _window->addSubview(widget.container);
    _widgets.push_back(widget);
    // The views wait for the Center's first opening, so that the widget's first build reads
    // the Settings file as it is then.
    layout();
    return true;
}

void WeeAppHost::skip(std::string_view bundlePath, std::string_view reason)
{
    std::string message = "springboard: skipping widget " + std::string(bundlePath) + ": " + std::string(reason);
    LoadProblems::note("widget " + std::string(bundlePath) + " skipped: " + std::string(reason)); // logs it
    _messages.push_back(std::move(message));
}

void WeeAppHost::log(const Widget& widget, std::string_view call) const
{
    ShellState::shared().log("widget " + bundleName(widget.bundlePath) + " " + std::string(call));
}

void WeeAppHost::send(Widget& widget, std::string_view selector)
{
    if (!widget.controller->respondsToSelector(selector))
        return;
    log(widget, selector);
    widget.controller->performSelector(selector);
}

void WeeAppHost::loadViews(Widget& widget)
{
    widget.viewsLoaded = true;
    send(widget, "loadPlaceholderView");
    send(widget, "loadFullView");
}

void WeeAppHost::layout()
{
    CGFloat y = firstWidgetY;
    for (Widget& widget : _widgets) {
        auto& controller = widget.controller;
        std::shared_ptr<UIView> view = controller->view();
        CGFloat height = view ? view->frame().size.height : 0;
        if (controller->respondsToSelector("viewHeight")) {
            log(widget, "viewHeight");
            height = controller->viewHeight();
        }
        widget.container->setFrame(CGRectMake((centerWidth - widgetWidth) / 2, y, widgetWidth, height));
        if (view) {
            view->setFrame(CGRectMake(0, 0, widgetWidth, height));
            if (view->superview().get() != widget.container.get())
                widget.container->addSubview(view);
        }
        y += height;
    }
}

void WeeAppHost::openCenter()
{
    ShellState::shared().setListViewActive(true);
}

void WeeAppHost::closeCenter()
{
    ShellState::shared().setListViewActive(false);
}

void WeeAppHost::centerChanged(bool active)
{
    if (active)
        reloadViews(); // the views of the first opening (or of one after an unload), then a layout
    // A copy: a widget's call may reach the host again (a widget hiding the Center).
    auto widgets = _widgets;
    for (Widget& widget : widgets) {
        send(widget, active ? "viewWillAppear" : "viewWillDisappear");
        send(widget, active ? "viewDidAppear" : "viewDidDisappear");
    }
}

id WeeAppHost::tapWidget(size_t index, CGPoint point)
{
    if (index >= _widgets.size())
        return nullptr;
    Widget widget = _widgets[index]; // the widget stays alive through its own call
    if (!widget.controller->respondsToSelector("launchURLForTapLocation:"))
        return nullptr;
    log(widget, "launchURLForTapLocation:");
    id launch = widget.controller->launchURLForTapLocation(point);
    if (auto url = std::dynamic_pointer_cast<NSURL>(launch)) {
        ShellState::shared().log("open " + url->absoluteString());
        UIApplication::sharedApplication()->openURL(url);
    }
    return launch;
}

id WeeAppHost::tapCenter(CGPoint point)
{
    for (size_t index = 0; index < _widgets.size(); ++index) {
        const auto& container = _widgets[index].container;
        if (CGRectContainsPoint(container->frame(), point)) {
            CGPoint local = _window->convertPointToView(point, container.get());
            return tapWidget(index, local);
        }
    }
    return nullptr;
}

void WeeAppHost::unloadViews()
{
    for (size_t index = 0; index < _widgets.size(); ++index) {
        if (!_widgets[index].viewsLoaded)
            continue;
        _widgets[index].viewsLoaded = false;
        Widget widget = _widgets[index]; // alive through its own call
        for (const auto& view : std::vector(widget.container->subviews()))
            view->removeFromSuperview();
        send(widget, "unloadView");
    }
}

void WeeAppHost::reloadViews()
{
    for (size_t index = 0; index < _widgets.size(); ++index) {
        if (_widgets[index].viewsLoaded)
            continue;
        Widget widget = _widgets[index];
        loadViews(widget);
        _widgets[index].viewsLoaded = true;
    }
    layout();
}
