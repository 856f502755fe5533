// The phone's screen as `ruvex window` gets it, timed through the shell's control socket:
//   - a press until the changed frame is in hand: a tap on an icon (touch began and ended),
//     the shell's screen-changed notification heard here, the composed frame drawn,
//     written as raw pixels and read back; beside one 60 Hz frame (16.7 ms). The window adds the texture
//     upload and the present, which this program does not time;
//   - a finger's move on the Settings app's Size slider until the changed frame: the move
//     reaches the settings host (whose pane stores the size at each step, as it does), the
//     Settings app's screen is asked of it anew and the frame composed;
//   - one frame's transfer from the shell to the window: the composed screen drawn and
//     written as raw pixels and read back, at scale 1 and 2, on the home screen, with the
//     Center open and with the Settings app (its picture from the settings host), beside
//     the same frame as PNG. Each is timed drawn anew (the shell told of a change first, the
//     settings host too for the Settings app) and asked again unchanged (the kept frame).
// Prints p50 and p99. `--short` (CI) runs a few rounds only.

#include "control/ControlClient.h"
#include "foundation/Json.h"
#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"

#include <nlohmann/json.hpp>

#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

int rounds = 200;
std::string ruvex;
std::string device;
bool changed = false;

double seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void printFigures(const char* what, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[std::min(samples.size() - 1, size_t(q * samples.size()))] * 1e3; };
    std::printf("%-62s p50 %7.2f ms   p99 %7.2f ms   (%zu runs)\n", what, at(0.50), at(0.99), samples.size());
    std::fflush(stdout);
}

bool run(const std::string& arguments)
{
    std::string command = ruvex + " --device '" + device + "' " + arguments + " >/dev/null";
    return std::system(command.c_str()) == 0;
}

json::Value ask(const control::Words& words, const char* host = control::kSpringboard)
{
    control::Exchange exchange = control::request(control::socketPath(device, host), words);
    std::optional<json::Value> reply = exchange.outcome == control::Outcome::Replied ? json::read(exchange.reply)
                                                                                   : std::nullopt;
    if (!reply || !json::flag(json::member(*reply, "ok"))) {
        std::fprintf(stderr, "screen_bench: the shell refused %s: %s\n", words[0].c_str(),
            reply ? json::text(json::member(*reply, "error")).c_str() : exchange.error.c_str());
        std::exit(1);
    }
    return *reply;
}

// One frame as the window takes it: the pixels alone, read here.
void frame(const std::string& scale)
{
    std::string path = device + "/tmp/bench-frame.raw";
    ask({ "screen", path, scale, "raw" });
    std::ifstream in(path, std::ios::binary);
    std::vector<char> pixels(size_t(320 * 480 * 4) * std::stoi(scale) * std::stoi(scale));
    if (!in.read(pixels.data(), std::streamsize(pixels.size()))) {
        std::fprintf(stderr, "screen_bench: the frame was short\n");
        std::exit(1);
    }
}

// The same frame as PNG (what `screenshot screen` writes), decoded.
void pngFrame(const std::string& scale)
{
    std::string path = device + "/tmp/bench-frame.png";
    ask({ "screen", path, scale });
    cairo_surface_t* picture = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(picture) != CAIRO_STATUS_SUCCESS) {
        std::fprintf(stderr, "screen_bench: the frame did not decode\n");
        std::exit(1);
    }
    cairo_surface_destroy(picture);
}

void heard(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { changed = true; }

void awaitChange()
{
    if (!RunLoop::main().runUntil([] { return changed; }, 5)) {
        std::fprintf(stderr, "screen_bench: no screen-changed notification within 5 s\n");
        std::exit(1);
    }
}

// What the shell heard so far is dropped, so that the next change is waited for.
void dropHeard()
{
    while (RunLoop::main().runOnce(0)) { }
    changed = false;
}

void pressToFrame()
{
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        ask({ "home" });
        dropHeard(); // what the Home press posted
        double start = seconds();
        ask({ "screen", "touch", "began", "47", "427" }); // the dock's first icon: Settings
        ask({ "screen", "touch", "ended", "47", "427" });
        awaitChange();
        frame("2");
        samples.push_back(seconds() - start);
        ask({ "home" });
        // Two Home presses in a row would show the switcher: let the double-press time pass.
        usleep(450 * 1000);
    }
    printFigures("press on an icon until the changed frame (scale 2)", samples);
    std::printf("%-62s     %7.2f ms\n", "one 60 Hz frame", 1000.0 / 60);
}

// The Size slider of the Label & Font pane, moved back and forth by a finger held down on it.
void slideToFrame()
{
    ask({ "launch", "com.apple.Preferences" });
    ask({ "open", "RVXFontController" }, control::kSettings);
    // The slider lies at y 425 of the settings window, 20 points lower on the phone's screen.
    ask({ "screen", "touch", "began", "100", "445" });
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        dropHeard();
        double start = seconds();
        ask({ "screen", "touch", "moved", i % 2 ? "100" : "160", "445" });
        awaitChange();
        frame("2");
        samples.push_back(seconds() - start);
    }
    ask({ "screen", "touch", "ended", "100", "445" });
    printFigures("a move on the Settings app's slider until the frame (scale 2)", samples);
}

// `change` (untimed) makes the shell draw the next frame anew; none asks for the kept one.
void transfers(const char* what, const std::string& scale, void (*change)() = nullptr, void (*take)(const std::string&) = frame)
{
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        if (change)
            change();
        // What the change posted is taken off this program's queue, which would fill up
        // otherwise (a full queue makes the shell forget this program for a while).
        dropHeard();
        double start = seconds();
        take(scale);
        samples.push_back(seconds() - start);
    }
    printFigures(what, samples);
}

// A request the shell announces as a change, though it changes nothing shown.
void shellChange()
{
    ask({ "nc", "close" });
}

// The settings host's screen announced as changed (its list shown again), heard by the shell.
void settingsChange()
{
    dropHeard();
    ask({ "open" }, control::kSettings);
    awaitChange();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--short")
        rounds = 10;
    std::error_code failure;
    ruvex = std::filesystem::read_symlink("/proc/self/exe", failure).parent_path().string() + "/ruvex";
    char pattern[] = "/tmp/ruvex-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("screen_bench: mkdtemp");
        return 1;
    }
    device = pattern;
    if (!run("device create") || !run("boot")) {
        std::fprintf(stderr, "screen_bench: cannot create and boot a device with %s\n", ruvex.c_str());
        return 1;
    }
    notifyTransportSetDeviceRoot(device.c_str());
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, heard, control::kScreenChanged,
        nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);

    pressToFrame();
    slideToFrame();
    ask({ "home" });
    usleep(450 * 1000);
    ask({ "home" });
    transfers("frame drawn anew, home screen, scale 1", "1", shellChange);
    transfers("frame drawn anew, home screen, scale 2", "2", shellChange);
    transfers("frame asked again unchanged, home screen, scale 2", "2");
    transfers("the same as PNG (screenshot screen), scale 2", "2", shellChange, pngFrame);
    ask({ "nc", "open" });
    transfers("frame drawn anew, Center open, scale 2", "2", [] { ask({ "alert" }); ask({ "launch", "com.apple.Music" }); });
    ask({ "launch", "com.apple.Preferences" });
    ask({ "nc", "close" });
    transfers("frame drawn anew, the Settings app (from its host), scale 2", "2", settingsChange);
    transfers("frame asked again unchanged, the Settings app, scale 2", "2");
    run("shutdown");
    std::filesystem::remove_all(device, failure);
    return 0;
}
