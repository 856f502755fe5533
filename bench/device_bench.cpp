// The simulated device's roads, timed through the host programs' control sockets:
//   - a cold `ruvex boot` until both hosts answer;
//   - `nc tap bar`: request to reply from the springboard host;
//   - a setting's road: a one-step slider drag in the settings host (its write, then the
//     post at the lift) until the shell has heard the change and restyled the widget,
//     beside a bare post from this process until the shell has heard it, polled the same way.
// Prints p50 and p99. `--short` (CI) runs a few rounds only.

#include "control/ControlClient.h"
#include "foundation/Json.h"
#include "corefoundation/CFNotificationCenter.h"
#include "shared/RVXSettings.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

int rounds = 200;
int boots = 5;
std::string ruvex;
std::string device;

double seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void printFigures(const char* what, std::vector<double> samples, const char* unit = "ms", double scale = 1e3)
{
    if (samples.empty())
        return;
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[std::min(samples.size() - 1, size_t(q * samples.size()))] * scale; };
    std::printf("%-58s p50 %9.2f %s   p99 %9.2f %s   (%zu runs)\n", what, at(0.50), unit, at(0.99), unit, samples.size());
    std::fflush(stdout);
}

bool run(const std::string& arguments)
{
    std::string command = ruvex + " --device '" + device + "' " + arguments + " >/dev/null";
    return std::system(command.c_str()) == 0;
}

json::Value ask(const char* host, const control::Words& words)
{
    control::Exchange exchange = control::request(control::socketPath(device, host), words);
    std::optional<json::Value> reply = exchange.outcome == control::Outcome::Replied ? json::read(exchange.reply)
                                                                                   : std::nullopt;
    if (!reply || !json::flag(json::member(*reply, "ok"))) {
        std::fprintf(stderr, "device_bench: %s refused %s: %s\n", host, words[0].c_str(),
            reply ? json::text(json::member(*reply, "error")).c_str() : exchange.error.c_str());
        std::exit(1);
    }
    return *reply;
}

int shellChanges()
{
    return int(json::numeric(json::member(ask(control::kSpringboard, { "ping" }), "settingsChanges")));
}

// Polls the shell until its count passes `before`; false after five seconds.
bool awaitShell(int before)
{
    double deadline = seconds() + 5;
    while (shellChanges() <= before)
        if (seconds() > deadline)
            return false;
    return true;
}

std::string rowTitled(const std::string& title)
{
    json::Value rows = ask(control::kSettings, { "rows" });
    for (const json::Value& section : json::items(json::member(rows, "sections")))
        for (const json::Value& row : json::items(json::member(section, "rows")))
            if (json::text(json::member(row, "title")) == title
                || (json::text(json::member(row, "title")).empty() && json::text(json::member(section, "header")) == title))
                return std::to_string(int(json::numeric(json::member(row, "section")))) + ":" + std::to_string(int(json::numeric(json::member(row, "row"))));
    return {};
}

void coldBoots()
{
    std::vector<double> samples;
    for (int i = 0; i < boots; ++i) {
        double start = seconds();
        if (!run("boot")) {
            std::fprintf(stderr, "device_bench: boot failed\n");
            std::exit(1);
        }
        samples.push_back(seconds() - start);
        run("shutdown");
    }
    printFigures("cold `ruvex boot`, both hosts answering", samples);
}

void taps()
{
    ask(control::kSpringboard, { "nc", "open" });
    std::vector<double> samples;
    for (int i = 0; i < rounds; ++i) {
        double start = seconds();
        ask(control::kSpringboard, { "nc", "tap", "bar" });
        samples.push_back(seconds() - start);
    }
    printFigures("`nc tap bar` round trip (kill: count write, walk)", samples);
}

void settingRoads()
{
    ask(control::kSettings, { "open", "RVXExtrasController" });
    std::string height = rowTitled("Widget Height");
    if (height.empty()) {
        std::fprintf(stderr, "device_bench: the Extras pane shows no Height row\n");
        std::exit(1);
    }
    std::vector<double> road;
    std::vector<double> bare;
    for (int i = 0; i < rounds; ++i) {
        int before = shellChanges();
        double start = seconds();
        ask(control::kSettings, { "slide", height, i % 2 ? "40" : "50", "1" });
        if (!awaitShell(before))
            break;
        road.push_back(seconds() - start);

        before = shellChanges();
        start = seconds();
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), RVXSettings::notificationName,
            nullptr, nullptr, true);
        if (!awaitShell(before))
            break;
        bare.push_back(seconds() - start);
    }
    printFigures("setting's road: slide in settings -> shell restyled", road);
    printFigures("bare post from here -> shell heard (same polling)", bare);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--short") {
        rounds = 10;
        boots = 1;
    }
    std::error_code failure;
    ruvex = std::filesystem::read_symlink("/proc/self/exe", failure).parent_path().string() + "/ruvex";
    char pattern[] = "/tmp/ruvex-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("device_bench: mkdtemp");
        return 1;
    }
    device = pattern;
    if (!run("device create")) {
        std::fprintf(stderr, "device_bench: cannot create a device with %s\n", ruvex.c_str());
        return 1;
    }
    notifyTransportSetDeviceRoot(device.c_str());

    coldBoots();
    run("boot");
    taps();
    settingRoads();
    run("shutdown");
    std::filesystem::remove_all(device, failure);
    return 0;
}
