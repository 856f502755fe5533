// Latency of a Darwin notification between two processes, against a bare datagram.
//
// Both figures are round trips: the parent sends, a child process answers, the parent
// waits for the answer. For notifications the child's callback posts a reply that the
// parent's callback hears, both on their main run loops; for the bare datagram the child
// echoes on a socket pair with blocking calls. Prints p50 and p99 in microseconds.

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// `--short` (CI) measures a few rounds only, so that the program keeps running.
int rounds = 2000;
int warmup = 100;

double seconds()
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void printFigures(const char* what, std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    auto at = [&](double q) { return samples[std::min(samples.size() - 1, size_t(q * samples.size()))] * 1e6; };
    std::printf("%-48s p50 %8.1f us   p90 %8.1f us   p99 %8.1f us   (%zu round trips)\n", what, at(0.50), at(0.90),
        at(0.99), samples.size());
}

bool replied = false;

void answerPing(CFNotificationCenterRef center, void*, CFStringRef, const void*, CFDictionaryRef)
{
    CFNotificationCenterPostNotification(center, "bench.pong", nullptr, nullptr, true);
}

void stopChild(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    RunLoop::main().stop();
}

void hearPong(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    replied = true;
}

std::vector<double> notifyRoundTrips(const std::string& deviceRoot)
{
    auto* center = CFNotificationCenterGetDarwinNotifyCenter();
    notifyTransportSetDeviceRoot(deviceRoot.c_str());
    int ready[2];
    if (pipe(ready) != 0)
        std::exit(1);
    pid_t child = fork();
    if (child == 0) {
        CFNotificationCenterAddObserver(center, nullptr, answerPing, "bench.ping", nullptr,
            CFNotificationSuspensionBehaviorDeliverImmediately);
        CFNotificationCenterAddObserver(center, nullptr, stopChild, "bench.quit", nullptr,
            CFNotificationSuspensionBehaviorDeliverImmediately);
        [[maybe_unused]] ssize_t written = write(ready[1], "r", 1);
        RunLoop::main().run();
        _exit(0);
    }
    char byte;
    if (read(ready[0], &byte, 1) != 1)
        std::exit(1);
    CFNotificationCenterAddObserver(center, nullptr, hearPong, "bench.pong", nullptr,
        CFNotificationSuspensionBehaviorDeliverImmediately);

    std::vector<double> samples;
    for (int i = 0; i < warmup + rounds; ++i) {
        replied = false;
        double start = seconds();
        CFNotificationCenterPostNotification(center, "bench.ping", nullptr, nullptr, true);
        if (!RunLoop::main().runUntil([] { return replied; }, 10)) {
            std::fprintf(stderr, "notify_bench: no reply from the child process\n");
            std::exit(1);
        }
        if (i >= warmup)
            samples.push_back(seconds() - start);
    }
    CFNotificationCenterPostNotification(center, "bench.quit", nullptr, nullptr, true);
    waitpid(child, nullptr, 0);
    CFNotificationCenterRemoveEveryObserver(center, nullptr);
    notifyTransportSetDeviceRoot(nullptr);
    close(ready[0]);
    close(ready[1]);
    return samples;
}

std::vector<double> datagramRoundTrips()
{
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_DGRAM, 0, pair) != 0)
        std::exit(1);
    pid_t child = fork();
    if (child == 0) {
        char buffer[256];
        for (;;) {
            ssize_t got = recv(pair[1], buffer, sizeof buffer, 0);
            if (got <= 0 || std::string(buffer, got) == "bench.quit")
                _exit(0);
            send(pair[1], "bench.pong", 10, 0);
        }
    }
    std::vector<double> samples;
    char buffer[256];
    for (int i = 0; i < warmup + rounds; ++i) {
        double start = seconds();
        send(pair[0], "bench.ping", 10, 0);
        if (recv(pair[0], buffer, sizeof buffer, 0) <= 0)
            std::exit(1);
        if (i >= warmup)
            samples.push_back(seconds() - start);
    }
    send(pair[0], "bench.quit", 10, 0);
    waitpid(child, nullptr, 0);
    close(pair[0]);
    close(pair[1]);
    return samples;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--short") {
        rounds = 50;
        warmup = 5;
    } else if (argc > 1) {
        std::fprintf(stderr, "usage: notify_bench [--short]\n");
        return 2;
    }
    char pattern[] = "/tmp/rvx-notify-bench-XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("notify_bench: cannot make a device root");
        return 1;
    }
    printFigures("notify post -> callback -> reply (two processes)", notifyRoundTrips(pattern));
    printFigures("bare datagram echo (two processes)", datagramRoundTrips());
    std::filesystem::remove_all(pattern);
    return 0;
}
