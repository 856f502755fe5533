#pragma once

// Runs a piece of a test in a forked child, so that a crash, a hang or a memory blow-up
// is seen from outside instead of taking the test program down. The child answers a
// failure message ("" for success); an alarm ends a child that hangs.

#include <cerrno>
#include <csignal>
#include <functional>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

struct ChildOutcome {
    bool exited = false;  // ended by _exit, not by a signal
    int signal = 0;       // the signal that ended it, SIGALRM for a hang
    std::string message;  // what the body answered
    long maxResidentKB = 0;

    bool succeeded() const { return exited && message.empty(); }
    std::string describe() const
    {
        if (!exited)
            return signal == SIGALRM ? "hung (ended by the alarm)" : "died of signal " + std::to_string(signal);
        return message.empty() ? "ok" : message;
    }
};

inline ChildOutcome runInChild(const std::function<std::string()>& body, unsigned alarmSeconds = 10)
{
    int channel[2];
    if (pipe(channel) != 0)
        return { true, 0, "cannot make a pipe", 0 };
    pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        alarm(alarmSeconds);
        std::string message;
        try {
            message = body();
        } catch (const std::exception& error) {
            message = std::string("threw: ") + error.what();
        } catch (...) {
            message = "threw";
        }
        size_t done = 0;
        while (done < message.size()) {
            ssize_t written = write(channel[1], message.data() + done, message.size() - done);
            if (written <= 0)
                break;
            done += size_t(written);
        }
        _exit(message.empty() ? 0 : 1);
    }
    close(channel[1]);
    ChildOutcome outcome;
    char buffer[4096];
    for (;;) {
        ssize_t count = read(channel[0], buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            break;
        outcome.message.append(buffer, size_t(count));
    }
    close(channel[0]);
    int status = 0;
    struct rusage usage {};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    outcome.exited = WIFEXITED(status);
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    outcome.maxResidentKB = usage.ru_maxrss;
    if (outcome.exited && WEXITSTATUS(status) != 0 && outcome.message.empty())
        outcome.message = "exited with status " + std::to_string(WEXITSTATUS(status));
    return outcome;
}

// The peak resident size of this process so far, in kilobytes; a forked child starts at it.
inline long ownMaxResidentKB()
{
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
