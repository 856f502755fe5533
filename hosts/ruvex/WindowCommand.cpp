// `ruvex window`: the device's screen live in a window of the desktop. The mouse is a finger
// (its press, moves and release go to the shell as the touches `ruvex screen drag` sends),
// the keyboard types into the Settings app's field being edited, H or Escape is the Home
// button. A frame is fetched only when a host says that its window may have changed (the
// hosts post the screen-changed notification after such a request), and once a minute for
// the status bar's clock. Closing the window leaves the device running.

#include "Hosts.h"

#include "control/ControlSocket.h"
#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/DeviceRoot.h"

#include <SDL.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>
#include <string>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ruvex {

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 480;
constexpr double kClockSeconds = 60;

bool gScreenChanged = true;

void screenChanged(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    gScreenChanged = true;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

class ScreenWindow {
public:
    ScreenWindow(int scale)
        : _scale(scale)
        , _framePath(DeviceRoot::resolve("/tmp/window-frame-" + std::to_string(getpid()) + ".raw"))
    {
    }
    ~ScreenWindow()
    {
        std::remove(_framePath.c_str());
        if (_texture)
            SDL_DestroyTexture(_texture);
        if (_renderer)
            SDL_DestroyRenderer(_renderer);
        if (_window)
            SDL_DestroyWindow(_window);
        SDL_Quit();
    }

    void open()
    {
        // SDL falls back on drivers that show nothing (offscreen, dummy): without a desktop
        // to show the window on there is no window, whatever SDL would make of it.
        const char* driver = SDL_getenv("SDL_VIDEODRIVER");
        const char* x11 = SDL_getenv("DISPLAY");
        const char* wayland = SDL_getenv("WAYLAND_DISPLAY");
        bool invisible = driver && (!std::strcmp(driver, "dummy") || !std::strcmp(driver, "offscreen"));
        bool desktop = (x11 && *x11) || (wayland && *wayland);
        if (invisible || (!driver && !desktop))
            throw ActionError(std::string("no display to open a window on (") + (invisible ? "the video driver shows nothing"
                : "DISPLAY and WAYLAND_DISPLAY are not set") + "); `ruvex screenshot screen FILE` writes the screen instead");
        if (SDL_Init(SDL_INIT_VIDEO) != 0)
            throw ActionError(std::string("no display to open a window on: ") + SDL_GetError());
        // Hidden and untitled until its first frame is shown: SDL may replace the desktop's
        // window while it makes the renderer (for one that suits OpenGL), so that a window
        // found by its title before then may be gone a moment later.
        _window = SDL_CreateWindow("Ruvex", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth * _scale,
            kHeight * _scale, SDL_WINDOW_HIDDEN);
        if (!_window)
            throw ActionError(std::string("could not open a window: ") + SDL_GetError());
        _renderer = SDL_CreateRenderer(_window, -1, 0);
        if (!_renderer)
            _renderer = SDL_CreateRenderer(_window, -1, SDL_RENDERER_SOFTWARE);
        if (!_renderer)
            throw ActionError(std::string("could not draw in the window: ") + SDL_GetError());
        _texture = SDL_CreateTexture(_renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING, kWidth * _scale,
            kHeight * _scale);
        if (!_texture)
            throw ActionError(std::string("could not make the window's picture: ") + SDL_GetError());
        SDL_StartTextInput();
    }

    // The composed screen from the shell, shown.
    void showFrame()
    {
        // The pixels alone: no PNG to encode and decode, no sync to disk; mapped, not copied.
        askHost(control::kSpringboard, { "screen", _framePath, std::to_string(_scale), "raw" });
        size_t size = size_t(kWidth) * _scale * kHeight * _scale * 4;
        int in = ::open(_framePath.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        struct stat status {};
        void* pixels = in >= 0 && fstat(in, &status) == 0 && S_ISREG(status.st_mode) && size_t(status.st_size) == size
            ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, in, 0) : MAP_FAILED;
        if (in >= 0)
            ::close(in);
        if (pixels == MAP_FAILED)
            throw ActionError("the shell's frame could not be read from " + _framePath);
        // Cairo's ARGB32 is the native-endian 32-bit pixel that SDL calls ARGB8888.
        SDL_UpdateTexture(_texture, nullptr, pixels, kWidth * _scale * 4);
        munmap(pixels, size);
        SDL_RenderClear(_renderer);
        SDL_RenderCopy(_renderer, _texture, nullptr, nullptr);
        SDL_RenderPresent(_renderer);
        if (_frames++ == 0) {
            std::string title = "Ruvex - " + DeviceRoot::root();
            SDL_SetWindowTitle(_window, title.c_str());
            SDL_ShowWindow(_window);
        }
    }

    void touch(const char* phase, int x, int y)
    {
        askHost(control::kSpringboard, { "screen", "touch", phase, number(double(x) / _scale), number(double(y) / _scale) });
    }

    bool settingsInFront()
    {
        json::Value reply = askHost(control::kSpringboard, { "switcher" });
        return json::text(json::member(reply, "foreground")) == "com.apple.Preferences";
    }

    // Keyboard input for the field being edited; refused input (no field) is dropped, as a
    // phone without its keyboard up drops it.
    void toSettings(const control::Words& words)
    {
        try {
            askHost(control::kSettings, words);
        } catch (const ActionError&) {
        }
    }

    // Runs until the window is closed.
    void run()
    {
        bool fingerDown = false;
        auto lastFrame = std::chrono::steady_clock::now();
        for (;;) {
            RunLoop::main().runOnce(0);
            SDL_Event event;
            bool any = SDL_WaitEventTimeout(&event, 10);
            int moveX = -1, moveY = -1;
            // A window closed with the button down leaves no finger down on the device.
            auto leave = [&] {
                if (fingerDown)
                    touch("cancelled", moveX >= 0 ? moveX : 0, moveY >= 0 ? moveY : 0);
            };
            while (any) {
                switch (event.type) {
                case SDL_QUIT:
                    leave();
                    return;
                case SDL_WINDOWEVENT:
                    if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                        leave();
                        return;
                    }
                    if (event.window.event == SDL_WINDOWEVENT_EXPOSED)
                        gScreenChanged = true;
                    break;
                case SDL_MOUSEBUTTONDOWN:
                    if (event.button.button == SDL_BUTTON_LEFT && !fingerDown) {
                        fingerDown = true;
                        touch("began", event.button.x, event.button.y);
                    }
                    break;
                case SDL_MOUSEMOTION:
                    if (fingerDown) {
                        moveX = event.motion.x;
                        moveY = event.motion.y;
                    }
                    break;
                case SDL_MOUSEBUTTONUP:
                    if (event.button.button == SDL_BUTTON_LEFT && fingerDown) {
                        if (moveX >= 0)
                            touch("moved", moveX, moveY);
                        moveX = -1;
                        fingerDown = false;
                        touch("ended", event.button.x, event.button.y);
                    }
                    break;
                case SDL_KEYDOWN:
                    key(event.key.keysym.sym);
                    break;
                case SDL_TEXTINPUT:
                    if (settingsInFront())
                        toSettings({ "type", event.text.text });
                    break;
                default:
                    break;
                }
                any = SDL_PollEvent(&event);
            }
            // Moves come faster than touches are worth sending: the latest of each round goes.
            if (moveX >= 0)
                touch("moved", moveX, moveY);
            RunLoop::main().runOnce(0);
            auto now = std::chrono::steady_clock::now();
            if (gScreenChanged || now - lastFrame > std::chrono::duration<double>(kClockSeconds)) {
                gScreenChanged = false;
                lastFrame = now;
                showFrame();
            }
        }
    }

    int frames() const { return _frames; }

private:
    void key(SDL_Keycode key)
    {
        switch (key) {
        case SDLK_ESCAPE:
            askHost(control::kSpringboard, { "home" });
            break;
        case SDLK_h:
            if (!settingsInFront())
                askHost(control::kSpringboard, { "home" });
            break;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            if (settingsInFront())
                toSettings({ "return" });
            break;
        case SDLK_BACKSPACE:
            if (settingsInFront())
                toSettings({ "delete" });
            break;
        default:
            break;
        }
    }

    int _scale;
    std::string _framePath;
    SDL_Window* _window = nullptr;
    SDL_Renderer* _renderer = nullptr;
    SDL_Texture* _texture = nullptr;
    int _frames = 0;
};

int window(const Options&, const Arguments& arguments)
{
    int scale = 2;
    if (arguments.size() == 2 && arguments[0] == "--scale" && (arguments[1] == "1" || arguments[1] == "2"))
        scale = arguments[1][0] - '0';
    else if (!arguments.empty())
        throw UsageError("usage: ruvex window [--scale 1|2]");
    askHost(control::kSpringboard, { "ping" }); // "the device is not booted" before any window
    if (notifyTransportSetDeviceRoot(DeviceRoot::root().c_str()) != kCFNotificationStatusOK)
        throw ActionError("cannot join the device's notifications at " + DeviceRoot::root());
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, screenChanged,
        control::kScreenChanged, nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    ScreenWindow screen(scale);
    screen.open();
    screen.run();
    return 0;
}

CommandRegistration windowVerb({ "window", "[--scale 1|2]", "show the device's screen live in a window; the mouse is a finger",
    "Press, move and release the mouse as a finger (a drag down from the status bar pulls the\n"
    "Notification Center); type into the Settings app's field being edited (Return, Backspace);\n"
    "H or Escape is the Home button, pressed twice quickly the app switcher. The verbs of ruvex\n"
    "work beside it and show in it at once. Closing the window leaves the device running.\n"
    "Without a display it fails with one line (exit 1). The scale is 2 pixels a point by default.",
    0, 2, window });

} // namespace
} // namespace ruvex
