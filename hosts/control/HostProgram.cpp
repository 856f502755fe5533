#include "HostProgram.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/DeviceRoot.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace control {

namespace {

int gSignalPipe[2] = { -1, -1 };

void noteSignal(int)
{
    char byte = 1;
    [[maybe_unused]] ssize_t ignored = write(gSignalPipe[1], &byte, 1);
}

} // namespace

std::string startHost(int argc, char** argv, const char* program)
{
    std::string device;
    for (int i = 1; i < argc; ++i) {
        std::string word = argv[i];
        if (word == "--device" && i + 1 < argc)
            device = argv[++i];
        else if (word == "--help" || word == "-h") {
            std::printf("usage: %s --device DIR\n", program);
            std::exit(0);
        } else {
            std::fprintf(stderr, "%s: unknown argument '%s' (usage: %s --device DIR)\n", program, word.c_str(), program);
            std::exit(2);
        }
    }
    if (device.empty()) {
        std::fprintf(stderr, "%s: needs --device DIR\n", program);
        std::exit(2);
    }
    std::error_code failure;
    if (!std::filesystem::is_directory(device, failure)) {
        std::fprintf(stderr, "%s: no device at %s\n", program, device.c_str());
        std::exit(1);
    }
    std::string absolute = std::filesystem::absolute(device, failure).lexically_normal().string();
    while (absolute.size() > 1 && absolute.back() == '/')
        absolute.pop_back();
    DeviceRoot::setRoot(absolute);
    CFNotificationStatus status = notifyTransportSetDeviceRoot(absolute.c_str());
    if (status != kCFNotificationStatusOK) {
        std::fprintf(stderr, "%s: cannot join the notify transport: %s\n", program, CFNotificationStatusDescription(status));
        std::exit(1);
    }
    return absolute;
}

void stopMainLoopOnSignals()
{
    if (pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    RunLoop::main().addReadSource(gSignalPipe[0], [] {
        char bytes[16];
        while (read(gSignalPipe[0], bytes, sizeof bytes) > 0) { }
        RunLoop::main().stop();
    });
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);
}

void serveControl(ControlServer& server, const char* host, ControlServer::Handler handler)
{
    std::string error;
    // The other host, stopping, may take the empty folder away between the two steps.
    for (int attempt = 0; attempt < 3; ++attempt) {
        Result<void> served = makeSocketDirectory(DeviceRoot::root());
        if (served)
            served = server.listen(socketPath(DeviceRoot::root(), host), handler);
        if (served)
            return;
        error = served.error();
        struct stat folder {};
        if (lstat(socketDirectory(DeviceRoot::root()).c_str(), &folder) == 0)
            break;
    }
    std::fprintf(stderr, "%s: %s\n", host, error.c_str());
    std::exit(1);
}

} // namespace control
