// `ruvex window` on an X server of its own (Xvfb, started here): the mouse as a finger pulls
// the Center down from the status bar and taps the widget's bar, the Settings icon brings the
// Settings app forward and the keyboard types into its field; what the window shows is, pixel
// for pixel, what `ruvex screenshot screen` writes at the same moment.

#include "DeviceFixture.h"

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
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* kXvfb = "/usr/bin/Xvfb";

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
        ASSERT_TRUE(waitUntil([&] { return (_id = find(DefaultRootWindow(_x))) != 0; }, 15)) << "no window appeared";
        XWindowAttributes attributes;
        XGetWindowAttributes(_x, _id, &attributes);
        EXPECT_EQ(attributes.width, 320);
        EXPECT_EQ(attributes.height, 480);
        ::Window child;
        XTranslateCoordinates(_x, _id, DefaultRootWindow(_x), 0, 0, &_left, &_top, &child);
    }

    // The window whose title names the device.
    ::Window find(::Window under)
    {
        char* name = nullptr;
        if (XFetchName(_x, under, &name) && name) {
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
        XImage* image = XGetImage(_x, _id, 0, 0, 320, 480, AllPlanes, ZPixmap);
        if (!image || cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS)
            return false;
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
