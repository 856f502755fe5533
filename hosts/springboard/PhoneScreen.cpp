#include "PhoneScreen.h"

#include "ShellState.h"

#include "control/Screenshot.h"
#include "corefoundation/CFRunLoop.h"
#include "ui/UIFont.h"
#include "ui/UILabel.h"
#include "ui/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

// The dock's apps, in this order, where installed; every other app is in the grid.
const char* const kDockApps[] = { "com.apple.Preferences", "com.apple.mobilesafari", "com.apple.mobilemail", "com.apple.Music" };

constexpr CGFloat kColumnPitch = 76;
constexpr CGFloat kRowPitch = 88;
constexpr CGFloat kGridLeft = 19;
constexpr CGFloat kGridTop = PhoneScreen::kStatusBarHeight + 14;
constexpr CGFloat kBadgeSize = 24;
// A finger that moves less than this is a tap.
constexpr CGFloat kTapSlop = 10;
// A pulled Center opens when let go this far down, and a pushed one closes this far up.
constexpr CGFloat kOpenAt = PhoneScreen::kHeight / 3;

UIColorRef wallpaper() { return UIColor::colorWithRed(0.09, 0.13, 0.24, 1); }

bool isDockApp(const std::string& identifier)
{
    return std::any_of(std::begin(kDockApps), std::end(kDockApps), [&](const char* id) { return identifier == id; });
}

CGFloat distance(CGPoint a, CGPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

UILabelRef makeLabel(CGRect frame, const std::string& text, UIFontRef font, UIColorRef color)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setText(text);
    label->setFont(std::move(font));
    label->setTextColor(std::move(color));
    label->setTextAlignment(1);
    label->setBackgroundColor(UIColor::clearColor());
    return label;
}

// An app's icon: its generated artwork (a rounded square in its colour with its first
// letter) and, when asked, its name under it.
UIViewRef makeIcon(const std::string& identifier, const std::string& name, CGPoint origin, bool withName)
{
    CGFloat size = PhoneScreen::kIconSize;
    auto holder = std::make_shared<UIView>(CGRectMake(origin.x - 10, origin.y, size + 20, size + 18));
    auto square = std::make_shared<UIView>(CGRectMake(10, 0, size, size));
    square->setBackgroundColor(PhoneScreen::iconColor(identifier));
    square->layer()->setCornerRadius(10);
    square->setClipsToBounds(true);
    std::string letter = name.empty() ? "?" : name.substr(0, 1);
    square->addSubview(makeLabel(square->bounds(), letter, UIFont::boldSystemFontOfSize(30), UIColor::whiteColor()));
    holder->addSubview(square);
    if (withName)
        holder->addSubview(makeLabel(CGRectMake(0, size + 3, size + 20, 14), name, UIFont::boldSystemFontOfSize(11),
            UIColor::whiteColor()));
    return holder;
}

// One more owner of a kept picture (Cairo counts them).
CairoSurfacePtr another(const CairoSurfacePtr& picture)
{
    return CairoSurfacePtr(picture ? cairo_surface_reference(picture.get()) : nullptr);
}

void paint(cairo_t* cr, const CairoSurfacePtr& picture, CGFloat y, double scale)
{
    if (!picture)
        return;
    cairo_set_source_surface(cr, picture.get(), 0, y * scale);
    cairo_paint(cr);
}

} // namespace

PhoneScreen::PhoneScreen(WeeAppHost& host, SettingsLink settings)
    : _host(host)
    , _settings(std::move(settings))
{
    // The Center opened or closed by anything but the finger (a verb, the widget) ends the
    // touch under way: what the finger was on has gone under it or away.
    _centerObserver = ShellState::shared().addCenterObserver([this](bool) { cancelTouch(); });
}

PhoneScreen::~PhoneScreen()
{
    ShellState::shared().removeCenterObserver(_centerObserver);
}

const PhoneScreen::Kept* PhoneScreen::find(const std::vector<Kept>& kept, double scale)
{
    for (const Kept& picture : kept)
        if (picture.scale == scale)
            return &picture;
    return nullptr;
}

void PhoneScreen::keep(std::vector<Kept>& kept, Kept picture)
{
    std::erase_if(kept, [&](const Kept& old) { return old.scale == picture.scale; });
    if (kept.size() >= kKeptScales)
        kept.erase(kept.begin());
    kept.push_back(std::move(picture));
}

void PhoneScreen::settingsScreenChanged()
{
    _settingsScreens.clear();
    forgetFrame();
}

bool PhoneScreen::showsSettings() const
{
    const auto& front = ShellState::shared().foregroundApp();
    return !_switcherShown && front && *front == kSettingsApp && centerOffset() < kHeight;
}

UIColorRef PhoneScreen::iconColor(const std::string& identifier)
{
    // FNV-1a: the same identifier always gets the same hue.
    uint32_t hash = 2166136261u;
    for (unsigned char c : identifier)
        hash = (hash ^ c) * 16777619u;
    return UIColor::colorWithHue((hash % 360) / 360.0, 0.55 + (hash >> 9) % 30 / 100.0, 0.8, 1);
}

std::string PhoneScreen::clockText()
{
    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M", &local);
    return text;
}

std::vector<PhoneScreen::Icon> PhoneScreen::homeIcons() const
{
    std::vector<Icon> icons;
    std::vector<Icon> dock;
    for (const InstalledApp& app : ShellState::shared().installedApps()) {
        if (isDockApp(app.bundleIdentifier)) {
            dock.push_back({ app.bundleIdentifier, app.displayName, {}, true });
            continue;
        }
        size_t index = icons.size();
        CGPoint origin { kGridLeft + CGFloat(index % kColumns) * kColumnPitch, kGridTop + CGFloat(index / kColumns) * kRowPitch };
        icons.push_back({ app.bundleIdentifier, app.displayName, CGRectMake(origin.x, origin.y, kIconSize, kIconSize), false });
    }
    std::sort(dock.begin(), dock.end(), [](const Icon& a, const Icon& b) {
        auto rank = [](const Icon& icon) {
            return std::find_if(std::begin(kDockApps), std::end(kDockApps), [&](const char* id) { return icon.identifier == id; })
                - std::begin(kDockApps);
        };
        return rank(a) < rank(b);
    });
    for (size_t index = 0; index < dock.size(); ++index) {
        dock[index].frame = CGRectMake(kGridLeft + CGFloat(index) * kColumnPitch, kHeight - kDockHeight + 10, kIconSize, kIconSize);
        icons.push_back(dock[index]);
    }
    return icons;
}

std::vector<PhoneScreen::SwitcherEntry> PhoneScreen::switcherEntries() const
{
    std::vector<SwitcherEntry> entries;
    for (const PlistValue& entry : ShellState::shared().switcherList()) {
        if (!entry.string() || entries.size() == size_t(kColumns))
            continue;
        CGFloat x = kGridLeft + CGFloat(entries.size()) * kColumnPitch;
        CGFloat y = kHeight - kSwitcherHeight + 14;
        entries.push_back({ *entry.string(), CGRectMake(x, y, kIconSize, kIconSize),
            CGRectMake(x - kBadgeSize / 2 + 2, y - kBadgeSize / 2 + 2, kBadgeSize, kBadgeSize) });
    }
    return entries;
}

UIViewRef PhoneScreen::homeView() const
{
    auto home = std::make_shared<UIView>(CGRectMake(0, 0, kWidth, kHeight));
    home->setBackgroundColor(wallpaper());
    auto dock = std::make_shared<UIView>(CGRectMake(0, kHeight - kDockHeight, kWidth, kDockHeight));
    dock->setBackgroundColor(UIColor::colorWithWhite(1, 0.18));
    home->addSubview(dock);
    for (const Icon& icon : homeIcons())
        home->addSubview(makeIcon(icon.identifier, icon.name, icon.frame.origin, true));
    return home;
}

CairoSurfacePtr PhoneScreen::homePicture(double scale) const
{
    // The icons drawn are the whole of what the home screen shows; their list is its key.
    std::string key;
    for (const Icon& icon : homeIcons()) {
        char place[64];
        std::snprintf(place, sizeof place, "\t%g,%g\n", double(icon.frame.origin.x), double(icon.frame.origin.y));
        key += icon.identifier + "\t" + icon.name + place;
    }
    if (const Kept* kept = find(_homes, scale); kept && kept->key == key)
        return another(kept->picture);
    CairoSurfacePtr picture = UIRenderView(*homeView(), scale);
    keep(_homes, { scale, key, another(picture) });
    return picture;
}

UIViewRef PhoneScreen::appView(const std::string& identifier) const
{
    const InstalledApp* app = ShellState::shared().installedApp(identifier);
    std::string name = app ? app->displayName : identifier;
    auto screen = std::make_shared<UIView>(CGRectMake(0, 0, kWidth, kHeight));
    screen->setBackgroundColor(UIColor::whiteColor());
    screen->addSubview(makeLabel(CGRectMake(0, kHeight / 2 - 20, kWidth, 40), name, UIFont::boldSystemFontOfSize(24),
        UIColor::darkGrayColor()));
    return screen;
}

UIViewRef PhoneScreen::switcherView() const
{
    // The home screen moved up by the row's height, the row under it.
    auto screen = std::make_shared<UIView>(CGRectMake(0, 0, kWidth, kHeight));
    screen->setBackgroundColor(UIColor::colorWithWhite(0.12, 1));
    UIViewRef home = homeView();
    home->setFrame(CGRectMake(0, -kSwitcherHeight, kWidth, kHeight));
    home->setAlpha(0.6);
    screen->addSubview(home);
    auto row = std::make_shared<UIView>(CGRectMake(0, kHeight - kSwitcherHeight, kWidth, kSwitcherHeight));
    row->setBackgroundColor(UIColor::colorWithWhite(0.12, 1));
    screen->addSubview(row);
    for (const SwitcherEntry& entry : switcherEntries()) {
        const InstalledApp* app = ShellState::shared().installedApp(entry.identifier);
        std::string name = app ? app->displayName : entry.identifier;
        screen->addSubview(makeIcon(entry.identifier, name, entry.icon.origin, true));
        auto badge = std::make_shared<UIView>(entry.badge);
        badge->setBackgroundColor(UIColor::colorWithRed(0.85, 0.1, 0.1, 1));
        badge->layer()->setCornerRadius(kBadgeSize / 2);
        badge->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
        badge->layer()->setBorderWidth(2);
        badge->setClipsToBounds(true);
        badge->addSubview(makeLabel(badge->bounds(), "\u2212", UIFont::boldSystemFontOfSize(18), UIColor::whiteColor()));
        screen->addSubview(badge);
    }
    return screen;
}

UIViewRef PhoneScreen::statusBar() const
{
    auto bar = std::make_shared<UIView>(CGRectMake(0, 0, kWidth, kStatusBarHeight));
    bar->setBackgroundColor(UIColor::blackColor());
    auto carrier = makeLabel(CGRectMake(6, 0, 80, kStatusBarHeight), "Ruvex", UIFont::boldSystemFontOfSize(12), UIColor::whiteColor());
    carrier->setTextAlignment(0);
    bar->addSubview(carrier);
    bar->addSubview(makeLabel(CGRectMake(110, 0, 100, kStatusBarHeight), clockText(), UIFont::boldSystemFontOfSize(12),
        UIColor::whiteColor()));
    // The battery: an outline, its charge and the nub.
    auto battery = std::make_shared<UIView>(CGRectMake(kWidth - 32, 5, 23, 10));
    battery->layer()->setBorderColor(UIColor::whiteColor()->CGColor());
    battery->layer()->setBorderWidth(1);
    battery->layer()->setCornerRadius(2);
    auto charge = std::make_shared<UIView>(CGRectMake(2, 2, 16, 6));
    charge->setBackgroundColor(UIColor::whiteColor());
    battery->addSubview(charge);
    bar->addSubview(battery);
    auto nub = std::make_shared<UIView>(CGRectMake(kWidth - 9, 8, 2, 4));
    nub->setBackgroundColor(UIColor::whiteColor());
    bar->addSubview(nub);
    return bar;
}

CGFloat PhoneScreen::centerOffset() const
{
    if (_pull)
        return *_pull;
    return ShellState::shared().listViewIsActive() ? kHeight : 0;
}

CairoSurfacePtr PhoneScreen::render(double scale) const
{
    if (!(scale >= control::kLeastScale && scale <= control::kGreatestScale))
        return nullptr;
    std::string clock = clockText();
    if (const Kept* kept = find(_frames, scale); kept && kept->key == clock)
        return another(kept->picture);
    CairoSurfacePtr picture = compose(scale);
    keep(_frames, { scale, clock, another(picture) });
    return picture;
}

CairoSurfacePtr PhoneScreen::settingsPicture(double scale) const
{
    if (const Kept* kept = find(_settingsScreens, scale))
        return another(kept->picture);
    CairoSurfacePtr picture = _settings.screen ? _settings.screen(scale) : nullptr;
    if (picture)
        keep(_settingsScreens, { scale, {}, another(picture) });
    return picture;
}

CairoSurfacePtr PhoneScreen::compose(double scale) const
{
    int width = int(std::lround(kWidth * scale));
    int height = int(std::lround(kHeight * scale));
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    cairo_t* cr = cairo_create(surface.get());
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);

    const auto& front = ShellState::shared().foregroundApp();
    if (_switcherShown) {
        paint(cr, UIRenderView(*switcherView(), scale), 0, scale);
    } else if (!front) {
        paint(cr, homePicture(scale), 0, scale);
    } else if (*front == kSettingsApp && _settings.screen) {
        CairoSurfacePtr settings = settingsPicture(scale);
        // The app's window lies under the status bar, as an app's does on the phone.
        if (settings)
            paint(cr, settings, kStatusBarHeight, scale);
        else
            paint(cr, UIRenderView(*appView(*front), scale), 0, scale);
    } else {
        paint(cr, UIRenderView(*appView(*front), scale), 0, scale);
    }
    CGFloat hanging = centerOffset();
    if (hanging > 0) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, width, hanging * scale);
        cairo_clip(cr);
        paint(cr, _host.window()->renderImage(scale), hanging - kHeight, scale);
        cairo_restore(cr);
    }
    paint(cr, UIRenderView(*statusBar(), scale), 0, scale);
    cairo_destroy(cr);
    cairo_surface_flush(surface.get());
    return surface;
}

const PhoneScreen::Icon* PhoneScreen::iconAt(CGPoint point) const
{
    static thread_local std::vector<Icon> icons;
    icons = homeIcons();
    for (const Icon& icon : icons)
        if (CGRectContainsPoint(CGRectInset(icon.frame, -8, -8), point))
            return &icon;
    return nullptr;
}

void PhoneScreen::pressHome(bool twice)
{
    double now = RunLoop::main().now();
    bool doubled = twice || (_lastHomePress >= 0 && now - _lastHomePress <= kDoublePressSeconds && !_switcherShown);
    _lastHomePress = twice ? -1 : now;
    cancelTouch();
    forgetFrame();
    if (ShellState::shared().listViewIsActive())
        _host.closeCenter();
    if (doubled) {
        _switcherShown = true;
        _lastHomePress = -1;
        return;
    }
    _switcherShown = false;
    ShellState::shared().goHome();
}

std::string PhoneScreen::touch(Phase phase, CGPoint point)
{
    point.x = std::clamp<CGFloat>(point.x, 0, kWidth);
    point.y = std::clamp<CGFloat>(point.y, 0, kHeight);
    ShellState& shell = ShellState::shared();
    otherInput();
    forgetFrame();
    if (phase == Phase::Began) {
        cancelTouch();
        _start = _last = point;
        if (_switcherShown)
            _gesture = Gesture::Switcher;
        else if (shell.listViewIsActive())
            _gesture = Gesture::Center;
        else if (point.y < kStatusBarHeight)
            _gesture = Gesture::Pull;
        else if (!shell.foregroundApp())
            _gesture = Gesture::Home;
        else if (*shell.foregroundApp() == kSettingsApp)
            _gesture = Gesture::Settings;
        else
            _gesture = Gesture::App;
        if (_gesture == Gesture::Pull)
            _pull = point.y;
        else if (_gesture == Gesture::Settings)
            toSettings(Phase::Began, point);
        return "began";
    }
    if (_gesture == Gesture::None)
        return "no finger is down";
    if (phase == Phase::Cancelled) {
        cancelTouch();
        return "cancelled";
    }
    if (phase == Phase::Moved) {
        _last = point;
        if (_gesture == Gesture::Pull)
            _pull = point.y;
        else if (_gesture == Gesture::Center && _start.y - point.y > kTapSlop)
            _pull = kHeight - (_start.y - point.y);
        else if (_gesture == Gesture::Settings)
            toSettings(Phase::Moved, point);
        return "moved";
    }

    // Ended.
    Gesture gesture = _gesture;
    _gesture = Gesture::None;
    _pull.reset();
    _last = point;
    bool tapped = distance(_start, point) < kTapSlop;
    switch (gesture) {
    case Gesture::Pull:
        if (point.y >= kOpenAt) {
            _host.openCenter();
            return "opened the Notification Center";
        }
        return "the Notification Center stayed closed";
    case Gesture::Center:
        if (_start.y - point.y >= kOpenAt) {
            _host.closeCenter();
            return "closed the Notification Center";
        }
        if (tapped) {
            _host.tapCenter(point);
            return "tapped the Notification Center";
        }
        return "the Notification Center stayed open";
    case Gesture::Home:
        if (tapped) {
            if (const Icon* icon = iconAt(point)) {
                std::string identifier = icon->identifier;
                shell.launch(identifier);
                return "launched " + identifier;
            }
        }
        return "nothing under the finger";
    case Gesture::Settings:
        toSettings(Phase::Ended, point);
        return "touched Settings";
    case Gesture::Switcher:
        if (!tapped)
            return "nothing under the finger";
        for (const SwitcherEntry& entry : switcherEntries()) {
            if (CGRectContainsPoint(CGRectInset(entry.badge, -4, -4), point)) {
                shell.close(entry.identifier);
                return "closed " + entry.identifier;
            }
        }
        for (const SwitcherEntry& entry : switcherEntries()) {
            if (CGRectContainsPoint(entry.icon, point)) {
                _switcherShown = false;
                shell.launch(entry.identifier);
                return "launched " + entry.identifier;
            }
        }
        if (point.y < kHeight - kSwitcherHeight)
            _switcherShown = false;
        return "nothing under the finger";
    case Gesture::App:
    case Gesture::None:
        break;
    }
    return "nothing under the finger";
}

void PhoneScreen::toSettings(Phase phase, CGPoint point)
{
    // Whatever the finger does there may change the app's screen.
    _settingsScreens.clear();
    forgetFrame();
    if (_settings.finger)
        _settings.finger(phase, CGPointMake(point.x, point.y - kStatusBarHeight));
}

void PhoneScreen::cancelTouch()
{
    Gesture gesture = _gesture;
    if (gesture == Gesture::None)
        return;
    _gesture = Gesture::None;
    _pull.reset();
    forgetFrame();
    if (gesture == Gesture::Settings)
        toSettings(Phase::Cancelled, _last);
}
