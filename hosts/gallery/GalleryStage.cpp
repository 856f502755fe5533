#include "GalleryStage.h"

#include "ShellHooks.h"
#include "ShellState.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSUserDefaults.h"
#include "shared/RVXSettings.h"
#include "ui/UIAlertView.h"
#include "ui/UIApplication.h"
#include "ui/UIButton.h"

#include <fontconfig/fontconfig.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace gallery {

namespace {

struct Place {
    const char* bundle;
    const char* phoneFolder;
};

const Place kBundles[] = {
    { "RuvexPro.bundle", "/System/Library/WeeAppPlugins" },
    { "RuvexProprefs.bundle", "/Library/PreferenceBundles" },
    { "ruvexcfPrefs.bundle", "/Library/PreferenceBundles" },
};

// The apps the Excluded Apps list shows.
const std::pair<const char*, const char*> kApps[] = {
    { "com.apple.mobilesafari", "Safari" },
    { "com.apple.mobilemail", "Mail" },
    { "com.apple.MobileSMS", "Messages" },
    { "com.apple.Music", "Music" },
    { "com.apple.mobileslideshow", "Photos" },
};


// Enough steps that an animation's intermediate states are passed through, as a screen's
// refresh would; the widget's fade takes a quarter second, the colour overlay's slide 0.3 s.
constexpr double kSettleStep = 1.0 / 60;

void fail(const std::string& message)
{
    throw StepError(message);
}

// Out of line: GCC 12 misreads the variant's move inside make_shared when inlined.
[[gnu::noinline]] std::shared_ptr<PlistObject> boxed(const PlistValue& value)
{
    return std::make_shared<PlistObject>(value);
}

} // namespace

const std::vector<std::string>& fixedFontFolders()
{
    // The font folders of the packages scripts/setup installs.
    static const std::vector<std::string> folders {
        "/usr/share/fonts/truetype/dejavu",
        "/usr/share/fonts/opentype/urw-base35",
        "/usr/share/fonts/truetype/liberation2",
        "/usr/share/fonts/truetype/noto", // the faces that cover other scripts and emoji
    };
    return folders;
}

void useFixedFonts()
{
    static const bool done = [] {
        std::string config = "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n";
        for (const std::string& folder : fixedFontFolders())
            config += "  <dir>" + folder + "</dir>\n";
        config += "  <cachedir>/var/cache/fontconfig</cachedir>\n"
                  "  <cachedir prefix=\"xdg\">fontconfig</cachedir>\n</fontconfig>\n";
        FcConfig* fixed = FcConfigCreate();
        if (!fixed || !FcConfigParseAndLoadFromMemory(fixed, reinterpret_cast<const FcChar8*>(config.c_str()), FcTrue)
            || !FcConfigBuildFonts(fixed) || !FcConfigSetCurrent(fixed)) {
            if (fixed)
                FcConfigDestroy(fixed);
            return false;
        }
        FcConfigDestroy(fixed); // the current configuration keeps its own reference
        return true;
    }();
    (void)done;
}

Stage::Stage(const std::string& root, const std::string& bundlesFolder)
    : _root(root)
{
    useFixedFonts();
    std::error_code error;
    fs::create_directories(root, error);
    if (error)
        fail("could not make the device " + root + ": " + error.message());
    DeviceRoot::setRoot(fs::canonical(root).string());
    for (const char* folder : { "Applications", "var/mobile/Library/Preferences", "var/mobile/Media",
             "Library/PreferenceLoader/Preferences", "tmp" })
        fs::create_directories(fs::path(DeviceRoot::root()) / folder);
    stageBundles(bundlesFolder);
    stageApps();

    _clock = RunLoop::main().installVirtualClock();
    auto application = UIApplication::sharedApplication();
    application->clearOpenedURLs();
    UIModalView::dismissAllModals();

    ShellState& shell = ShellState::shared();
    shell.reset();
    shell.loadInstalledApps();
    ShellHooks::install();
    NSUserDefaults::setStandardDomain("com.apple.springboard");
    _center = std::make_unique<WeeAppHost>();
    if (_center->loadPlugins() != 1)
        fail("the widget did not load from " + bundlesFolder);
    NSUserDefaults::setStandardDomain("com.apple.Preferences");
    _settings = std::make_unique<SettingsHost>();
    settle();
}

Stage::~Stage()
{
    _settings.reset();
    _center.reset();
    _clock->advance(0);
    while (RunLoop::main().runOnce(0)) { }
    ShellHooks::remove();
    ShellState::shared().reset();
    UIModalView::dismissAllModals();
    RunLoop::main().installSystemClock();
}

void Stage::stageBundles(const std::string& bundlesFolder)
{
    for (const Place& place : kBundles) {
        fs::path from = fs::path(bundlesFolder) / place.bundle;
        if (!fs::is_directory(from))
            fail(std::string(place.bundle) + " is not built (looked in " + bundlesFolder + ")");
        fs::path to = DeviceRoot::resolve(std::string(place.phoneFolder) + "/" + place.bundle);
        fs::create_directories(to);
        for (const auto& entry : fs::directory_iterator(from)) {
            fs::path target = to / entry.path().filename();
            fs::remove_all(target);
            // The executable (named as its bundle) is linked: a second copy would load again.
            if (entry.path().filename() == fs::path(place.bundle).stem())
                fs::create_symlink(fs::canonical(entry.path()), target);
            else
                fs::copy(entry.path(), target, fs::copy_options::recursive);
        }
    }
    fs::path entry = fs::path(bundlesFolder).parent_path() / "PreferenceLoader" / "Preferences" / "RuvexPro.plist";
    if (!fs::exists(entry))
        fail("the PreferenceLoader entry is not built (looked for " + entry.string() + ")");
    fs::copy_file(entry, DeviceRoot::resolve("/Library/PreferenceLoader/Preferences/RuvexPro.plist"),
        fs::copy_options::overwrite_existing);
}

void Stage::stageApps()
{
    for (const auto& [identifier, name] : kApps) {
        NSDictionary info { { "CFBundleIdentifier", identifier }, { "CFBundleDisplayName", name } };
        std::string phonePath = "/Applications/" + std::string(name) + ".app/Info.plist";
        fs::create_directories(fs::path(DeviceRoot::resolve(phonePath)).parent_path());
        if (!info.writeToFile(phonePath, false))
            fail("could not write " + DeviceRoot::resolve(phonePath));
    }
}

const UIWindowRef& Stage::window(Host host) const
{
    return host == Host::Center ? _center->window() : _settings->window();
}

void Stage::settle(double seconds)
{
    for (double passed = 0; passed < seconds; passed += kSettleStep) {
        _clock->advance(kSettleStep);
        while (RunLoop::main().runOnce(0)) { }
    }
}

void Stage::changeSettings(const std::vector<std::pair<std::string, PlistValue>>& values)
{
    bool written = RVXSettings::changeWith([&](NSDictionary& settings) {
        for (const auto& [key, value] : values)
            settings.setObject(value, key);
        return true;
    });
    if (!written)
        fail("could not write the Settings file");
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), RVXSettings::notificationName,
        nullptr, nullptr, true);
    settle();
}

void Stage::writeSampleImage(std::string_view phonePath, CGSize size)
{
    int width = int(size.width), height = int(size.height);
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
    CairoContextPtr cr(cairo_create(surface.get()));
    cairo_set_source_rgb(cr.get(), 0.85, 0.35, 0.1);
    cairo_paint(cr.get());
    cairo_set_source_rgb(cr.get(), 0.1, 0.3, 0.75);
    cairo_rectangle(cr.get(), 4, 4, width - 8, height - 8);
    cairo_fill(cr.get());
    cairo_set_source_rgb(cr.get(), 0.95, 0.85, 0.2);
    cairo_rectangle(cr.get(), 0, height / 2.0 - 2, width, 4);
    cairo_fill(cr.get());
    cairo_surface_flush(surface.get());
    std::string path = DeviceRoot::resolve(phonePath);
    fs::create_directories(fs::path(path).parent_path());
    if (cairo_surface_write_to_png(surface.get(), path.c_str()) != CAIRO_STATUS_SUCCESS)
        fail("could not write " + path);
}

void Stage::openCenter()
{
    UIModalView::setPresenter(&_center->alerts());
    _center->openCenter();
    settle();
}

void Stage::tapInfo()
{
    if (_center->widgets().empty() || !_center->widgets().front().controller)
        fail("no widget in the Center");
    UIViewRef root = _center->widgets().front().controller->view();
    for (const UIViewRef& view : root ? root->subviews() : std::vector<UIViewRef> {}) {
        auto button = std::dynamic_pointer_cast<UIButton>(view);
        if (button && !button->isHidden() && button->buttonType() == UIButtonTypeInfoLight) {
            CGRect frame = button->frame();
            _center->tapWidget(0, { CGRectGetMidX(frame), CGRectGetMidY(frame) });
            settle();
            if (!_center->alerts().topAlert())
                fail("the info button showed no alert");
            return;
        }
    }
    fail("the widget shows no info button");
}

void Stage::tapAlertButton(std::string_view title)
{
    UIAlertViewRef top = UIModalView::topVisible<UIAlertView>();
    if (!top)
        fail("no alert is shown");
    for (int index = 0; index < top->numberOfButtons(); ++index) {
        if (top->buttonTitleAtIndex(index) == title) {
            top->dismissWithClickedButtonIndex(index);
            settle();
            return;
        }
    }
    fail("the alert \"" + top->title() + "\" has no button \"" + std::string(title) + "\"");
}

void Stage::openSettings(const std::vector<std::string>& rows)
{
    UIModalView::setPresenter(&_settings->modals());
    if (Result<void> opened = _settings->openEntry("Ruvex Pro"); !opened)
        fail("could not open Ruvex Pro in Settings: " + opened.error());
    settle();
    for (const std::string& row : rows)
        tapRow(row);
}

void Stage::tapRow(std::string_view title)
{
    if (Result<void> tapped = _settings->tapRowNamed(title); !tapped)
        fail("could not tap \"" + std::string(title) + "\": " + tapped.error());
    settle();
}

void Stage::sendToPane(const std::string& selector, const PlistValue& argument)
{
    PSListControllerRef pane = _settings->topPane();
    if (!pane)
        fail("no pane is on top to send " + selector + " to");
    if (!pane->respondsToSelector(selector))
        fail(pane->className() + " does not answer " + selector);
    pane->performSelector(selector, boxed(argument));
    settle();
}

CairoSurfacePtr Stage::render(Host host, double scale) const
{
    CairoSurfacePtr picture = window(host)->renderImage(scale);
    if (!picture)
        fail("the window could not be drawn at scale " + std::to_string(scale));
    return picture;
}

} // namespace gallery
