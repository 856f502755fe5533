// `ruvex window` on an X server of its own (Xvfb, started here): the mouse as a finger pulls
// the Center down from the status bar and taps the widget's bar, the Settings icon brings the
// Settings app forward and the keyboard types into its field, a drag moves the Size slider
// before the button is let go; what the window shows is, pixel for pixel, what `ruvex
// screenshot screen` writes at the same moment.
//
// The window is looked for by its title, which it takes with its first frame, and read only
// once it is viewable. An X error (a window gone, one not viewable) is recorded, not left to
// Xlib's default handler, which would end the whole test program.

#include "DeviceFixture.h"

#include "control/ControlClient.h"

#include "graphics/CairoPtr.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* kXvfb = "/usr/bin/Xvfb";

// The last X error seen (0 for none), with its request's major opcode.
int gXError = 0;
int gXErrorRequest = 0;

int recordXError(Display*, XErrorEvent* error)
{
    gXError = error->error_code;
    gXErrorRequest = error->request_code;
    return 0;
}

pid_t spawn(const std::vector<std::string>& words, const std::string& display, const std::string& log)
{
    pid_t child = fork();
    if (child == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        FILE* out = std::freopen(log.c_str(), "w", stdout);
        (void)out;
        dup2(1, 2);
        std::vector<char*> argv;
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    return child;
}

void stop(pid_t& child)
{
    if (child > 0) {
        kill(child, SIGTERM);
        waitpid(child, nullptr, 0);
        child = -1;
    }
}

class Window : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        if (access(kXvfb, X_OK) != 0)
            GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it): the window is not tried";
        for (int number = 100 + getpid() % 400;; ++number) {
            if (!std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))
                && !std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock")) {
                _display = ":" + std::to_string(number);
                break;
            }
        }
        _xvfb = spawn({ kXvfb, _display, "-screen", "0", "800x1000x24", "-nolisten", "tcp" }, _display, scratch() + "/xvfb.log");
        ASSERT_TRUE(waitUntil([&] { return (_x = XOpenDisplay(_display.c_str())) != nullptr; }, 15)) << "Xvfb did not start";
        XSetErrorHandler(recordXError);
        int event, error, major, minor;
        ASSERT_TRUE(XTestQueryExtension(_x, &event, &error, &major, &minor));
    }
    void TearDown() override
    {
        stop(_window);
        if (_x)
            XCloseDisplay(_x);
        stop(_xvfb);
        DeviceFixture::TearDown();
    }

    void openWindow()
    {
        _window = spawn({ RUVEX_PATH, "--device", device(), "window", "--scale", "1" }, _display, scratch() + "/window.log");
        XWindowAttributes attributes {};
        ASSERT_TRUE(waitUntil([&] {
            _id = find(DefaultRootWindow(_x));
            return _id && checked([&] { return XGetWindowAttributes(_x, _id, &attributes) != 0; })
                && attributes.map_state == IsViewable;
        }, 15)) << "no window was shown";
        EXPECT_EQ(attributes.width, 320);
        EXPECT_EQ(attributes.height, 480);
        ::Window child;
        XTranslateCoordinates(_x, _id, DefaultRootWindow(_x), 0, 0, &_left, &_top, &child);
    }

    // Whether `call` succeeded with no X error in the meantime (the call's request is waited for).
    bool checked(const std::function<bool()>& call)
    {
        XSync(_x, False);
        gXError = 0;
        bool done = call();
        XSync(_x, False);
        return done && gXError == 0;
    }

    // The window whose title names the device.
    ::Window find(::Window under)
    {
        char* name = nullptr;
        if (checked([&] { return XFetchName(_x, under, &name) != 0; }) && name) {
            bool ours = std::string(name) == "Ruvex - " + device();
            XFree(name);
            if (ours)
                return under;
        }
        ::Window root, parent, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(_x, under, &root, &parent, &children, &count))
            return 0;
        ::Window found = 0;
        for (unsigned i = 0; i < count && !found; ++i)
            found = find(children[i]);
        if (children)
            XFree(children);
        return found;
    }

    // Whether the window's pixels equal the composed screen written now.
    bool showsTheScreen(std::string* why = nullptr)
    {
        std::string path = scratch() + "/screen.png";
        if (ruvex("screenshot screen " + shellQuoted(path) + " --scale 1").status != 0)
            return false;
        CairoSurfacePtr picture(cairo_image_surface_create_from_png(path.c_str()));
        XImage* image = nullptr;
        if (!checked([&] { return (image = XGetImage(_x, _id, 0, 0, 320, 480, AllPlanes, ZPixmap)) != nullptr; })) {
            if (why)
                *why = "the window could not be read: X error " + std::to_string(gXError) + " of request "
                    + std::to_string(gXErrorRequest);
            if (image)
                XDestroyImage(image);
            return false;
        }
        if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS) {
            XDestroyImage(image);
            return false;
        }
        const uint8_t* data = cairo_image_surface_get_data(picture.get());
        int stride = cairo_image_surface_get_stride(picture.get());
        int differing = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 320; ++x)
                if ((XGetPixel(image, x, y) & 0xffffff) != (reinterpret_cast<const uint32_t*>(data + y * stride)[x] & 0xffffff))
                    ++differing;
        XDestroyImage(image);
        if (why)
            *why = std::to_string(differing) + " pixels differ";
        return differing == 0;
    }
    void expectTheScreen(int line)
    {
        SCOPED_TRACE(line);
        std::string why;
        EXPECT_TRUE(waitUntil([&] { return showsTheScreen(&why); }, 10)) << why;
    }

    void press(int x, int y)
    {
        XTestFakeMotionEvent(_x, -1, _left + x, _top + y, 0);
        XTestFakeButtonEvent(_x, 1, True, 0);
        XSync(_x, False);
    }
    void moveTo(int x, int y)
    {
        XTestFakeMotionEvent(_x, -1, _left + x, _top + y, 0);
        XSync(_x, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    void release()
    {
        XTestFakeButtonEvent(_x, 1, False, 0);
        XSync(_x, False);
    }
    void click(int x, int y)
    {
        press(x, y);
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        release();
    }
    void key(KeySym symbol)
    {
        KeyCode code = XKeysymToKeycode(_x, symbol);
        XTestFakeKeyEvent(_x, code, True, 0);
        XTestFakeKeyEvent(_x, code, False, 0);
        XSync(_x, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
    }

    // The settings host's finger: {down, phase, view}.
    json::Value fingerState()
    {
        control::Exchange exchange = control::request(control::socketPath(device(), control::kSettings), { "finger" });
        std::optional<json::Value> reply = json::read(exchange.reply);
        EXPECT_TRUE(reply) << exchange.error;
        return reply ? *reply : json::Value();
    }

    std::string foreground()
    {
        json::Value front = json::member(ask("switcher"), "foreground");
        return front.is_null() ? std::string() : json::text(front);
    }

    std::string _display;
    pid_t _xvfb = -1;
    pid_t _window = -1;
    Display* _x = nullptr;
    ::Window _id = 0;
    int _left = 0, _top = 0;
};

TEST_F(Window, TheMouseIsAFingerAndTheWindowShowsTheScreen)
{
    createAndBoot();
    ask("launch com.apple.mobilemail");
    ask("launch com.apple.Music");
    openWindow();
    expectTheScreen(__LINE__);

    // A drag down from the status bar pulls the Center open.
    press(160, 5);
    for (int y = 40; y <= 400; y += 40)
        moveTo(160, y);
    release();
    EXPECT_TRUE(waitUntil([&] { return json::flag(json::member(ask("nc"), "open")); }, 10));
    expectTheScreen(__LINE__);

    // A click on the widget's bar closes the apps behind the front one.
    click(100, 37);
    EXPECT_TRUE(waitUntil([&] { return json::items(json::member(ask("switcher"), "switcher")).size() == 1; }, 10));
    expectTheScreen(__LINE__);

    // The CLI beside the window: what it does shows at once.
    ask("nc close");
    expectTheScreen(__LINE__);

    // Escape is the Home button; the Settings icon brings the Settings app forward.
    key(XK_Escape);
    EXPECT_TRUE(waitUntil([&] { return foreground().empty(); }, 10));
    json::Value icons = ask("icons");
    for (const json::Value& icon : json::items(json::member(icons, "icons")))
        if (json::text(json::member(icon, "id")) == "com.apple.Preferences")
            click(int(json::numeric(json::member(icon, "x"))) + 28, int(json::numeric(json::member(icon, "y"))) + 28);
    EXPECT_TRUE(waitUntil([&] { return foreground() == "com.apple.Preferences"; }, 10));
    expectTheScreen(__LINE__);

    // The keyboard types into the label field; Backspace takes a character back, Return stores.
    ask("settings open RVXFontController");
    ask("settings tap 0:0");
    ask("settings clear");
    for (KeySym symbol : { XK_w, XK_i, XK_n, XK_x, XK_BackSpace, XK_Return })
        key(symbol);
    EXPECT_TRUE(waitUntil([&] {
        std::optional<NSDictionary> settings = settingsFile();
        return settings && settings->objectForKey("Label") && *settings->objectForKey("Label")->string() == "win";
    }, 10));
    expectTheScreen(__LINE__);

    // Closing the window leaves the device running.
    stop(_window);
    EXPECT_EQ(foreground(), "com.apple.Preferences");
    EXPECT_TRUE(json::flag(json::member(ask("nc open"), "open")));
}

// A drag on the Size slider of the Label & Font pane: the slider follows the mouse while the
// button is down (the window shows it moved, the pane has stored each step), the release
// lifts the finger in the settings host, and Escape in the middle of a second drag cancels it.
TEST_F(Window, TheSettingsAppFollowsTheMouseBeforeTheRelease)
{
    createAndBoot();
    ask("launch com.apple.Preferences");
    ask("settings open RVXFontController");
    openWindow();
    expectTheScreen(__LINE__);
    auto size = [&] {
        std::optional<NSDictionary> settings = settingsFile();
        const PlistValue* value = settings ? settings->objectForKey("Size") : nullptr;
        return value && value->doubleValue() ? *value->doubleValue() : -1.0;
    };
    auto sliderValue = [&] { return json::numeric(json::member(sizeRow(ask("settings rows")), "value")); };
    double before = sliderValue();

    // The slider lies at y 425 of the Settings app's window, under the 20-point status bar.
    press(100, 445);
    for (int x = 110; x <= 180; x += 10)
        moveTo(x, 445);
    EXPECT_TRUE(waitUntil([&] { return sliderValue() > before + 5; }, 10)) << "the slider moved before the release";
    EXPECT_GT(size(), before + 5) << "each step was stored, as the pane does";
    EXPECT_TRUE(json::flag(json::member(fingerState(), "down")));
    expectTheScreen(__LINE__);
    std::string midDrag = scratch() + "/mid-drag.png";
    ruvex("screenshot screen " + shellQuoted(midDrag) + " --scale 1");
    release();
    EXPECT_TRUE(waitUntil([&] { return json::text(json::member(fingerState(), "phase")) == "ended"; }, 10));
    EXPECT_FALSE(json::flag(json::member(fingerState(), "down")));

    // Escape mid-drag is the Home button: the finger is cancelled in the settings host.
    press(100, 445);
    moveTo(120, 445);
    EXPECT_TRUE(waitUntil([&] { return json::flag(json::member(fingerState(), "down")); }, 10));
    key(XK_Escape);
    EXPECT_TRUE(waitUntil([&] { return json::text(json::member(fingerState(), "phase")) == "cancelled"; }, 10));
    EXPECT_TRUE(foreground().empty());
    release();
    EXPECT_EQ(json::text(json::member(fingerState(), "phase")), "cancelled") << "the release after Home reaches nothing";
}

using WindowWithoutDisplay = DeviceFixture;

TEST_F(WindowWithoutDisplay, FailsWithOneLineAndBadUseIsTold)
{
    createAndBoot();
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("SDL_VIDEODRIVER");
    RunResult result = ruvex("window");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_NE(result.err.find("no display"), std::string::npos) << result.err;
    for (const char* line : { "window --scale 3", "window --scale", "window extra" })
        EXPECT_EQ(ruvex(line).status, 2) << line;
    ask("shutdown");
    EXPECT_NE(ruvex("window").err.find("not booted"), std::string::npos) << "a device that is not booted is said first";
}

} // namespace
