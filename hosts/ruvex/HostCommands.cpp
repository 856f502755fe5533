// boot / shutdown / status, and the verbs that the springboard host answers.

#include "Device.h"
#include "Hosts.h"
#include "OpenedURLLog.h"

#include "foundation/DeviceRoot.h"
#include "ui/JsonWriter.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ruvex {

std::string executableDirectory()
{
    std::error_code failure;
    auto self = std::filesystem::read_symlink("/proc/self/exe", failure);
    return failure ? std::string(".") : self.parent_path().string();
}

JsonValue askHost(const std::string& host, const control::Words& words)
{
    control::Exchange exchange = control::request(control::socketPath(DeviceRoot::root(), host), words);
    if (exchange.outcome == control::Outcome::NotRunning)
        throw ActionError("the device is not booted: run `ruvex boot`");
    if (exchange.outcome == control::Outcome::Failed)
        throw ActionError(host + ": " + exchange.error);
    std::optional<JsonValue> reply = JsonValue::parse(exchange.reply);
    if (!reply)
        throw ActionError(host + " answered something that is not JSON");
    if (!(*reply)["ok"].asBool())
        throw ActionError((*reply)["error"].asString());
    return *reply;
}

int report(const Options& options, const JsonValue& reply)
{
    if (options.json)
        std::printf("%s\n", reply.write().c_str());
    else if (!reply["text"].asString().empty())
        std::printf("%s\n", reply["text"].asString().c_str());
    return 0;
}

namespace {

const char* kHosts[] = { control::kSpringboard, control::kSettings };

} // namespace

bool answers(const std::string& host)
{
    return control::request(control::socketPath(DeviceRoot::root(), host), { "ping" }, 5).outcome
        == control::Outcome::Replied;
}

void startHost(const std::string& host)
{
    std::string program = executableDirectory() + "/" + host;
    if (access(program.c_str(), X_OK) != 0)
        throw ActionError("no host program at " + program);
    std::string logFolder = DeviceRoot::resolve("/var/log");
    std::filesystem::create_directories(logFolder);
    std::string log = logFolder + "/" + host + ".log";
    pid_t child = fork();
    if (child < 0)
        throw ActionError("cannot start " + host);
    if (child == 0) {
        setsid();
        int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
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
    waitpid(child, nullptr, 0);
}

namespace {

bool waitFor(bool up, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        bool all = true;
        for (const char* host : kHosts)
            all = all && answers(host) == up;
        if (all)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

void bootHosts()
{
    if (!isDeviceRoot(DeviceRoot::root()))
        throw ActionError("no device at " + DeviceRoot::root() + ": run `ruvex device create`");
    for (const char* host : kHosts)
        if (!answers(host))
            startHost(host);
    if (!waitFor(true, 20))
        throw ActionError("the hosts did not answer within 20 s; see " + DeviceRoot::resolve("/var/log"));
}

int shutdownHosts()
{
    int stopped = 0;
    for (const char* host : kHosts) {
        if (!answers(host))
            continue;
        askHost(host, { "quit" });
        ++stopped;
    }
    if (!waitFor(false, 10))
        throw ActionError("a host did not stop within 10 s");
    return stopped;
}

namespace {

int boot(const Options& options, const Arguments&)
{
    bootHosts();
    JsonValue springboard = askHost(control::kSpringboard, { "ping" });
    JsonValue settings = askHost(control::kSettings, { "ping" });
    if (options.json)
        std::printf("{\"springboard\":%s,\"settings\":%s}\n", springboard.write().c_str(), settings.write().c_str());
    else
        std::printf("%s\n%s\n", springboard["text"].asString().c_str(), settings["text"].asString().c_str());
    return 0;
}

int shutdownDevice(const Options& options, const Arguments&)
{
    int stopped = shutdownHosts();
    if (options.json)
        std::printf("{\"stopped\":%d}\n", stopped);
    else
        std::printf(stopped ? "device shut down\n" : "the device was not booted\n");
    return 0;
}

int status(const Options& options, const Arguments&)
{
    bool springboard = answers(control::kSpringboard);
    bool settings = answers(control::kSettings);
    if (options.json)
        std::printf("{\"device\":%s,\"springboard\":%s,\"settings\":%s}\n", JsonWriter().value(DeviceRoot::root()).text().c_str(),
            springboard ? "true" : "false", settings ? "true" : "false");
    else
        std::printf("springboard: %s\nsettings: %s\n", springboard ? "running" : "not running",
            settings ? "running" : "not running");
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
int home(const Options& o, const Arguments& a) { return forward(o, a, { "home" }); }
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
        JsonWriter json;
        json.beginObject().field("ok", true).key("urls").beginArray();
        for (const auto& entry : opened)
            json.value(entry.second);
        json.endArray().key("apps").beginArray();
        for (const auto& entry : opened)
            json.value(entry.first);
        json.endArray().field("text", text).endObject();
        std::printf("%s\n", json.text().c_str());
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
    JsonValue reply = askHost(namedHost(arguments[0], "ui dump"), { "dump" });
    std::printf("%s\n", reply["tree"].write().c_str());
    return 0;
}

int screenshot(const Options& options, const Arguments& arguments)
{
    const char* host = namedHost(arguments[0], "screenshot");
    std::string scale = "2";
    if (arguments.size() == 4 && arguments[2] == "--scale") {
        std::optional<double> value = parseNumber(arguments[3]);
        if (!value || !(*value > 0 && *value <= 8))
            throw UsageError("--scale takes a number above 0 and at most 8");
        scale = arguments[3];
    } else if (arguments.size() != 2) {
        throw UsageError("usage: ruvex screenshot springboard|settings FILE.png [--scale N]");
    }
    std::string path = std::filesystem::absolute(arguments[1]).string();
    return report(options, askHost(host, { "screenshot", path, scale }));
}

CommandRegistration bootVerb({ "boot", "", "start the device's host programs and wait until they answer",
    "Logs go to the device's /var/log/. Booting a booted device does nothing.", 0, 0, boot });
CommandRegistration shutdownVerb({ "shutdown", "", "stop the device's host programs", "", 0, 0, shutdownDevice });
CommandRegistration statusVerb({ "status", "", "tell which host programs run", "", 0, 0, status });
CommandRegistration appsVerb({ "apps", "", "list the installed apps", "", 0, 0, apps });
CommandRegistration launchVerb({ "launch", "ID", "launch an app and bring it to the front", "", 1, 1, launch });
CommandRegistration homeVerb({ "home", "", "go to the home screen; apps keep running", "", 0, 0, home });
CommandRegistration switcherVerb({ "switcher", "", "the app switcher's identifiers, front first", "", 0, 0, switcher });
CommandRegistration centerVerb({ "nc", "", "tell whether the Notification Center is open", "", 0, 0, center });
CommandRegistration openVerb({ "nc open", "", "open the Notification Center", "", 0, 0,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "nc", "open" }); } });
CommandRegistration closeVerb({ "nc close", "", "close the Notification Center", "", 0, 0,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "nc", "close" }); } });
CommandRegistration tapVerb({ "nc tap", "X Y | bar | info", "tap the widget at a point of its own, its bar or its info button",
    "Reports the apps closed and those that stayed.", 1, 2,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "nc", "tap" }); } });
CommandRegistration alertVerb({ "alert", "", "the alert shown over the Center: title, message, buttons", "", 0, 0, alert });
CommandRegistration alertTapVerb({ "alert tap", "INDEX|TITLE", "tap a button of the alert shown", "", 1, 1,
    [](const Options& o, const Arguments& a) { return forward(o, a, { "alert", "tap" }); } });
CommandRegistration urlsVerb({ "urls", "", "the addresses opened so far by either app, in order",
    "Each line is an address and the app that opened it (springboard or settings); with --json,\n"
    "\"urls\" lists the addresses and \"apps\" the app of each. The list starts empty when the shell starts.",
    0, 0, urls });
CommandRegistration dumpVerb({ "ui dump", "springboard|settings", "the view tree of a host's window as JSON", "", 1, 1, dump });
CommandRegistration screenshotVerb({ "screenshot", "springboard|settings FILE.png [--scale N]",
    "write a host's window as PNG (scale 2 by default)", "", 2, 4, screenshot });

} // namespace
} // namespace ruvex
