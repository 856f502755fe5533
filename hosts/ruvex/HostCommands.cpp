// boot / shutdown / status, and the verbs that the springboard host answers.

#include "Device.h"
#include "Hosts.h"
#include "OpenedURLLog.h"

#include "control/Screenshot.h"
#include "foundation/DeviceRoot.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ruvex {

std::string executableDirectory()
{
    std::error_code failure;
    auto self = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::string(".") : self.parent_path().string();
}

json::Value askHost(const std::string& host, const control::Words& words)
{
    for (const std::string& word : words)
        if (word.find_first_of("\t\n") != std::string::npos)
            throw UsageError("a word may not hold a tab or a line break: '" + word + "'");
    control::Exchange exchange = control::request(control::socketPath(DeviceRoot::root(), host), words);
    switch (exchange.outcome) {
    case control::Outcome::Replied:
        break;
    case control::Outcome::NotRunning:
        throw ActionError("the device is not booted: run `ruvex boot`");
    case control::Outcome::Busy:
        throw ActionError(host + " is busy: it took the request but gave no answer in time (see "
            + DeviceRoot::resolve("/var/log/" + host + ".log") + ")");
    case control::Outcome::Refused:
    case control::Outcome::Failed:
        throw ActionError(host + ": " + exchange.error);
    }
    std::optional<json::Value> reply = json::read(exchange.reply);
    if (!reply || !reply->is_object())
        throw ActionError(host + " answered something that is not a JSON object");
    if (!json::flag(json::member(*reply, "ok"))) {
        std::string error = json::text(json::member(*reply, "error"));
        if (json::flag(json::member(*reply, "usage")))
            throw UsageError(error);
        throw ActionError(error);
    }
    return std::move(*reply);
}

void printWarnings(const json::Value& reply)
{
    for (const json::Value& warning : json::items(json::member(reply, "warnings")))
        std::fprintf(stderr, "warning: %s\n", json::text(warning).c_str());
}

int report(const Options& options, const json::Value& reply)
{
    printWarnings(reply);
    std::string text = json::text(json::member(reply, "text"));
    if (options.json)
        std::printf("%s\n", json::write(reply).c_str());
    else if (!text.empty())
        std::printf("%s\n", text.c_str());
    return 0;
}

namespace {

const char* kHosts[] = { control::kSpringboard, control::kSettings };

} // namespace

HostState hostState(const std::string& host, pid_t* pid, std::string* reason)
{
    control::Exchange exchange = control::request(control::socketPath(DeviceRoot::root(), host), { "ping" }, 5);
    if (pid)
        *pid = exchange.peer;
    if (reason)
        *reason = exchange.error;
    switch (exchange.outcome) {
    case control::Outcome::Replied:
        return HostState::Running;
    case control::Outcome::NotRunning:
        return HostState::NotRunning;
    case control::Outcome::Busy:
        return HostState::Busy;
    case control::Outcome::Refused:
        return HostState::Refused;
    case control::Outcome::Failed:
        break;
    }
    // A process that takes the connection and hangs up without a word is no working host.
    return exchange.peer ? HostState::Busy : HostState::NotRunning;
}

bool answers(const std::string& host)
{
    return hostState(host) == HostState::Running;
}

void startHost(const std::string& host)
{
    std::string program = executableDirectory() + "/" + host;
    if (access(program.c_str(), X_OK) != 0)
        throw ActionError("no host program at " + program);
    // The log is reached beneath the device root and opened without following a link, so
    // that a linked /var/log or log file cannot carry the host's output out of the device.
    std::string log = DeviceRoot::resolve("/var/log/" + host + ".log");
    int logFolder = DeviceRoot::openDirectoryBeneath("/var/log", true);
    if (logFolder < 0)
        throw ActionError("cannot open the log folder " + DeviceRoot::resolve("/var/log") + ": "
            + (errno == EXDEV || errno == ELOOP ? std::string("a link on the way leads out of the device") : std::strerror(errno)));
    int out = openat(logFolder, (host + ".log").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    int failure = errno;
    close(logFolder);
    struct stat logStatus {};
    if (out >= 0 && (fstat(out, &logStatus) != 0 || !S_ISREG(logStatus.st_mode))) {
        close(out);
        out = -1;
        failure = EINVAL;
    }
    if (out < 0)
        throw ActionError("cannot open the log " + log + ": "
            + (failure == ELOOP ? std::string("it is a link") : failure == EINVAL ? std::string("it is not a regular file") : std::strerror(failure)));
    pid_t child = fork();
    if (child < 0) {
        close(out);
        throw ActionError("cannot start " + host);
    }
    if (child == 0) {
        setsid();
        int none = open("/dev/null", O_RDONLY);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        if (none >= 0)
            dup2(none, 0);
        // Detached twice, so that the host is nobody's child to wait for.
        if (fork() != 0)
            _exit(0);
        std::string root = DeviceRoot::root();
        execl(program.c_str(), host.c_str(), "--device", root.c_str(), (char*)nullptr);
        _exit(127);
    }
    close(out);
    waitpid(child, nullptr, 0);
}

namespace {

const char* stateName(HostState state)
{
    switch (state) {
    case HostState::Running: return "running";
    case HostState::Busy: return "busy";
    case HostState::NotRunning: return "not running";
    case HostState::Refused: return "refused";
    }
    return "unknown";
}

// Waits until every host is in the state; false on time-out.
bool waitFor(HostState wanted, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        bool all = true;
        for (const char* host : kHosts)
            all = all && hostState(host) == wanted;
        if (all)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

// Whether a process still runs (a zombie of ours does not count: hosts are nobody's child).
bool alive(pid_t pid)
{
    return pid > 0 && (kill(pid, 0) == 0 || errno == EPERM);
}

bool waitForExit(pid_t pid, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (alive(pid)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

} // namespace

void bootHosts()
{
    if (!isDeviceRoot(DeviceRoot::root()))
        throw ActionError("no device at " + DeviceRoot::root() + ": run `ruvex device create`");
    for (const char* host : kHosts) {
        pid_t pid = 0;
        std::string reason;
        switch (hostState(host, &pid, &reason)) {
        case HostState::Running:
            break;
        case HostState::NotRunning:
            startHost(host);
            break;
        case HostState::Busy:
            throw ActionError(std::string(host) + " is busy: it takes connections but does not answer (pid "
                + std::to_string(pid) + "); `ruvex shutdown` stops it");
        case HostState::Refused:
            throw ActionError(std::string(host) + ": " + reason);
        }
    }
    if (!waitFor(HostState::Running, 20))
        throw ActionError("the hosts did not answer within 20 s; see " + DeviceRoot::resolve("/var/log"));
}

int shutdownHosts()
{
    int stopped = 0;
    std::vector<pid_t> stopping;
    for (const char* host : kHosts) {
        pid_t pid = 0;
        std::string reason;
        HostState state = hostState(host, &pid, &reason);
        if (state == HostState::Refused)
            throw ActionError(std::string(host) + ": " + reason);
        if (state == HostState::NotRunning)
            continue;
        if (state == HostState::Running) {
            control::Exchange exchange = control::request(control::socketPath(DeviceRoot::root(), host), { "quit" }, 5);
            if (exchange.outcome == control::Outcome::Replied) {
                ++stopped;
                stopping.push_back(pid);
                continue;
            }
        }
        // A host that cannot answer is stopped by its signal, and by force if it must be.
        if (pid <= 0)
            throw ActionError(std::string(host) + " is busy and could not be told to stop");
        kill(pid, SIGTERM);
        if (!waitForExit(pid, 3)) {
            kill(pid, SIGKILL);
            std::fprintf(stderr, "ruvex: %s (pid %d) did not answer and did not stop on SIGTERM: killed\n", host, int(pid));
            waitForExit(pid, 3);
        }
        ++stopped;
    }
    for (pid_t pid : stopping)
        waitForExit(pid, 10);
    if (!waitFor(HostState::NotRunning, 10))
        throw ActionError("a host did not stop within 10 s");
    return stopped;
}

namespace {

int boot(const Options& options, const Arguments&)
{
    bootHosts();
    json::Value springboard = askHost(control::kSpringboard, { "ping" });
    json::Value settings = askHost(control::kSettings, { "ping" });
    for (const json::Value* reply : { &springboard, &settings })
        for (const json::Value& problem : json::items(json::member(*reply, "problems")))
            std::fprintf(stderr, "warning: %s\n", json::text(problem).c_str());
    if (options.json) {
        json::Value both = json::Value::object();
        both["springboard"] = springboard;
        both["settings"] = settings;
        std::printf("%s\n", json::write(both).c_str());
    } else {
        std::printf("%s\n%s\n", json::text(json::member(springboard, "text")).c_str(),
            json::text(json::member(settings, "text")).c_str());
    }
    return 0;
}

int shutdownDevice(const Options& options, const Arguments&)
{
    int stopped = shutdownHosts();
    if (options.json)
        std::printf("%s\n", json::write({ { "stopped", stopped } }).c_str());
    else
        std::printf(stopped ? "device shut down\n" : "the device was not booted\n");
    return 0;
}

int status(const Options& options, const Arguments&)
{
    HostState states[2];
    std::string reasons[2];
    for (int i = 0; i < 2; ++i) {
        states[i] = hostState(kHosts[i], nullptr, &reasons[i]);
        if (states[i] == HostState::Refused)
            throw ActionError(std::string(kHosts[i]) + ": " + reasons[i]);
    }
    if (options.json) {
        json::Value out = json::Value::object();
        out["device"] = DeviceRoot::root();
        for (int i = 0; i < 2; ++i)
            out[kHosts[i]] = states[i] == HostState::Running;
        json::Value& state = out["state"] = json::Value::object();
        for (int i = 0; i < 2; ++i)
            state[kHosts[i]] = stateName(states[i]);
        std::printf("%s\n", json::write(out).c_str());
    } else {
        for (int i = 0; i < 2; ++i)
            std::printf("%s: %s\n", kHosts[i],
                states[i] == HostState::Busy ? "busy (takes connections but does not answer)" : stateName(states[i]));
    }
    return 0;
}

// A verb passed to the springboard host as its words.
int forward(const Options& options, const Arguments& arguments, control::Words words)
{
    words.insert(words.end(), arguments.begin(), arguments.end());
    return report(options, askHost(control::kSpringboard, words));
}

int apps(const Options& o, const Arguments& a) { return forward(o, a, { "apps" }); }
int launch(const Options& o, const Arguments& a) { return forward(o, a, { "launch" }); }
int home(const Options& o, const Arguments& a)
{
    if (a.size() == 1 && a[0] != "double")
        throw UsageError("home takes nothing, or double, not '" + a[0] + "'");
    return forward(o, a, { "home" });
}
int switcher(const Options& o, const Arguments& a) { return forward(o, a, { "switcher" }); }
int center(const Options& o, const Arguments& a) { return forward(o, a, { "nc" }); }
int alert(const Options& o, const Arguments& a) { return forward(o, a, { "alert" }); }
// Every address opened on the device by either app, oldest first, with the app that opened it.
int urls(const Options& options, const Arguments&)
{
    auto opened = opened_urls::read();
    std::string text;
    for (const auto& [app, address] : opened)
        text += (text.empty() ? "" : "\n") + address + "  (" + app + ")";
    if (text.empty())
        text = "no address opened";
    if (options.json) {
        json::Value out = json::Value::object();
        out["ok"] = true;
        json::Value& addresses = out["urls"] = json::Value::array();
        for (const auto& entry : opened)
            addresses.push_back(entry.second);
        json::Value& apps = out["apps"] = json::Value::array();
        for (const auto& entry : opened)
            apps.push_back(entry.first);
        out["text"] = text;
        std::printf("%s\n", json::write(out).c_str());
        return 0;
    }
    std::printf("%s\n", text.c_str());
    return 0;
}

// The host a verb names: springboard or settings.
const char* namedHost(const std::string& word, const char* verb)
{
    if (word == control::kSpringboard)
        return control::kSpringboard;
    if (word == control::kSettings)
        return control::kSettings;
    throw UsageError(std::string(verb) + " takes springboard or settings, not '" + word + "'");
}

int dump(const Options&, const Arguments& arguments)
{
    json::Value reply = askHost(namedHost(arguments[0], "ui dump"), { "dump" });
    std::printf("%s\n", json::write(json::member(reply, "tree")).c_str());
    return 0;
}

int screenshot(const Options& options, const Arguments& arguments)
{
    bool screen = arguments[0] == "screen";
    const char* host = screen ? control::kSpringboard : namedHost(arguments[0], "screenshot");
    std::string scale = "2";
    if (arguments.size() == 4 && arguments[2] == "--scale") {
        std::optional<double> value = parseNumber(arguments[3]);
        if (!value || !(*value >= control::kLeastScale && *value <= control::kGreatestScale))
            throw UsageError("--scale takes a number from 0.1 to 8, not '" + arguments[3] + "'");
        scale = arguments[3];
    } else if (arguments.size() != 2) {
        throw UsageError("usage: ruvex screenshot screen|springboard|settings FILE.png [--scale N]");
    }
    if (arguments[1].empty())
        throw UsageError("screenshot needs a file name, not an empty word");
    std::string path = std::filesystem::absolute(arguments[1]).string();
    return report(options, askHost(host, { screen ? "screen" : "screenshot", path, scale }));
}

double coordinate(const std::string& word)
{
    std::optional<double> value = parseNumber(word);
    if (!value)
        throw UsageError("not a coordinate: '" + word + "'");
    return *value;
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// A finger on the phone's screen: down at the first point, moved in even steps, lifted at
// the last; the same touches the window sends for the mouse.
int screenTouch(const Options& options, const Arguments& arguments)
{
    Arguments words = arguments;
    int steps = 10;
    if (words.size() >= 2 && words[words.size() - 2] == "--steps") {
        std::optional<int> count = parseSteps(words.back());
        if (!count)
            throw UsageError("--steps takes a whole number from 1 to " + std::to_string(control::kMostSteps) + ", not '"
                + words.back() + "'");
        steps = *count;
        words.resize(words.size() - 2);
    }
    if (words.size() != 2 && words.size() != 4)
        throw UsageError("usage: ruvex screen touch X Y | ruvex screen drag X1 Y1 X2 Y2 [--steps N]");
    double x1 = coordinate(words[0]), y1 = coordinate(words[1]);
    double x2 = words.size() == 4 ? coordinate(words[2]) : x1, y2 = words.size() == 4 ? coordinate(words[3]) : y1;
    askHost(control::kSpringboard, { "screen", "touch", "began", number(x1), number(y1) });
    if (words.size() == 4)
        for (int step = 1; step <= steps; ++step)
            askHost(control::kSpringboard, { "screen", "touch", "moved", number(x1 + (x2 - x1) * step / steps),
                number(y1 + (y2 - y1) * step / steps) });
    return report(options, askHost(control::kSpringboard, { "screen", "touch", "ended", number(x2), number(y2) }));
}

// nc tap X Y | bar | info, checked here so that bad use is told as such.
int tap(const Options& options, const Arguments& arguments)
{
    if (arguments.size() == 1 && arguments[0] != "bar" && arguments[0] != "info")
        throw UsageError("nc tap takes X Y, bar or info, not '" + arguments[0] + "'");
    if (arguments.size() == 2) {
        for (const std::string& word : arguments)
            coordinate(word);
    }
    return forward(options, arguments, { "nc", "tap" });
}

CommandRegistration bootVerb({ "boot", "", "start the device's host programs and wait until they answer",
    "Logs go to the device's /var/log/. Booting a booted device does nothing.", 0, 0, boot });
CommandRegistration shutdownVerb({ "shutdown", "", "stop the device's host programs",
    "A host that does not answer gets SIGTERM, then SIGKILL after 3 s, and the line says so.", 0, 0, shutdownDevice });
CommandRegistration statusVerb({ "status", "", "tell which host programs run",
    "Each host is running, busy (it takes connections but does not answer) or not running.", 0, 0, status });
CommandRegistration appsVerb({ "apps", "", "list the installed apps", "", 0, 0, apps });
CommandRegistration launchVerb({ "launch", "ID", "launch an app and bring it to the front", "", 1, 1, launch });
CommandRegistration homeVerb({ "home", "[double]", "press the Home button: the home screen; apps keep running",
    "Pressed twice within 0.4 s (or `home double`) it shows the app switcher's row, whose close badges\n"
    "stop an app when tapped (`ruvex screen touch X Y`; `ruvex icons` gives the badges' places).", 0, 1, home });
CommandRegistration iconsVerb({ "icons", "", "the home screen's icons and the switcher's close badges, in screen points", "", 0, 0,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "icons" }); } });
CommandRegistration screenTouchVerb({ "screen touch", "X Y", "tap the phone's screen at a point (320 by 480 points)",
    "The touch goes where a finger's would: an icon, the switcher, the Center, the app in front.", 2, 2, screenTouch });
CommandRegistration screenDragVerb({ "screen drag", "X1 Y1 X2 Y2 [--steps N]", "drag a finger across the phone's screen",
    "Down at X1 Y1, N even moves (10 by default), lifted at X2 Y2. A drag down from the status bar\n"
    "(Y1 under 20) pulls the Notification Center open.", 4, 6, screenTouch });
CommandRegistration switcherVerb({ "switcher", "", "the app switcher's identifiers, front first", "", 0, 0, switcher });
CommandRegistration centerVerb({ "nc", "", "tell whether the Notification Center is open", "", 0, 0, center });
CommandRegistration openVerb({ "nc open", "", "open the Notification Center", "", 0, 0,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "nc", "open" }); } });
CommandRegistration closeVerb({ "nc close", "", "close the Notification Center", "", 0, 0,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "nc", "close" }); } });
CommandRegistration tapVerb({ "nc tap", "X Y | bar | info", "tap the widget at a point of its own, its bar or its info button",
    "Reports the apps closed and those that stayed.", 1, 2, tap });
CommandRegistration alertVerb({ "alert", "", "the alert shown over the Center: title, message, buttons", "", 0, 0, alert });
CommandRegistration alertTapVerb({ "alert tap", "INDEX|TITLE", "tap a button of the alert shown", "", 1, 1,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "alert", "tap" }); } });
CommandRegistration urlsVerb({ "urls", "", "the addresses opened so far by either app, in order",
    "Each line is an address and the app that opened it (springboard or settings); with --json,\n"
    "\"urls\" lists the addresses and \"apps\" the app of each. The list starts empty when the shell starts.",
    0, 0, urls });
CommandRegistration dumpVerb({ "ui dump", "springboard|settings", "the view tree of a host's window as JSON", "", 1, 1, dump });
CommandRegistration screenshotVerb({ "screenshot", "screen|springboard|settings FILE.png [--scale N]",
    "write the phone's screen, or a host's window, as PNG (scale 2 by default, from 0.1 to 8)",
    "The picture goes to a temporary file beside FILE and is renamed over it; only a regular file is replaced.", 2, 4, screenshot });

} // namespace
} // namespace ruvex
