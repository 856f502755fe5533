#pragma once

// The run loop: timers, read-ready file descriptors and tasks posted from any thread,
// served one turn at a time. Each host has one main run loop (`RunLoop::main()`) on its
// main thread; animations, delayed performs and notification callbacks all run on it.
//
// One turn (`runOnce`) waits until something is due (the earliest timer bounds the wait),
// then fires the due timers in fire order, then the ready sources, then the posted tasks.
// Work scheduled during a turn waits for the next one, so a delay of 0 never runs inside
// the call that scheduled it.
//
// Only `post`, `stop` and `wake` may be called from other threads.

#include <cstdint>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>
#include <vector>

#include <sys/types.h>

class RunLoop;

// Seconds on a monotonic scale.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double now() const = 0;
};

class SystemClock final : public Clock {
public:
    double now() const override;
};

// Time that moves only when a test says so.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(double start = 0) : _now(start) { }

    double now() const override { return _now; }

    // Moves time forward by `seconds`. Every timer of the loop the clock is installed in
    // that falls due within the window fires at its own time, in fire order, including
    // timers that those timers schedule inside the window.
    void advance(double seconds);

private:
    friend class RunLoop;
    RunLoop* _loop = nullptr;
    double _now;
};

class RunLoop {
public:
    using Task = std::function<void()>;
    using TimerId = uint64_t;
    using SourceId = uint64_t;

    static constexpr double Forever = std::numeric_limits<double>::infinity();
    // Repeating timers fire at most this often.
    static constexpr double MinimumInterval = 1e-4;

    RunLoop();
    ~RunLoop();
    RunLoop(const RunLoop&) = delete;
    RunLoop& operator=(const RunLoop&) = delete;

    // The process's main run loop, served by its initial thread. Never destroyed.
    static RunLoop& main();

    double now() const { return _clock->now(); }
    const Clock& clock() const { return *_clock; }
    // Replaces the clock; timers keep the time left until they fire.
    void setClock(std::shared_ptr<Clock> clock);
    std::shared_ptr<VirtualClock> installVirtualClock(double start = 0);
    void installSystemClock() { setClock(std::make_shared<SystemClock>()); }

    // A one-shot timer `delay` seconds from now (a negative delay counts as 0).
    TimerId addTimer(double delay, Task task);
    // A timer that fires every `interval` seconds until cancelled; firings missed while
    // the loop was busy are skipped, not bunched.
    TimerId addRepeatingTimer(double interval, Task task);
    // Cancelling a timer that fired or was cancelled already does nothing.
    void cancelTimer(TimerId timer);
    bool isTimerScheduled(TimerId timer) const { return _timerDue.contains(timer); }
    size_t timerCount() const { return _timerDue.size(); }
    std::optional<double> nextTimerDate() const;

    // Calls `onReadable` at each turn in which `fd` is readable, at its end or in error.
    // The loop does not own the descriptor: remove the source before closing it.
    SourceId addReadSource(int fd, Task onReadable);
    // Calls `onWritable` at each turn in which `fd` can take more bytes, or is in error.
    SourceId addWriteSource(int fd, Task onWritable);
    void removeSource(SourceId source);
    size_t sourceCount() const { return _sources.size(); }

    // Queues a task for the posted-task phase of the next turn, waking the loop.
    void post(Task task);
    void wake();

    // One turn, waiting at most `maxWait` seconds for something to do. Answers whether
    // anything ran.
    bool runOnce(double maxWait = Forever);
    // Turns until `stop`. A stop requested while not running ends the next run.
    void run();
    void stop();
    // Turns until `done` answers true or `timeout` seconds of real time have passed;
    // answers `done()`. The timeout is a guard against a hang, measured on the system
    // clock whatever clock the loop uses.
    bool runUntil(const std::function<bool()>& done, double timeout);

    // Whether the calling thread is the one that serves this loop.
    bool isCurrent() const;

private:
    friend class VirtualClock;

    struct Timer {
        Task task;
        double interval; // 0 for a one-shot timer
    };
    using TimerKey = std::pair<double, TimerId>;

    struct Source {
        int fd;
        short events; // POLLIN or POLLOUT
        std::shared_ptr<Task> onReadable;
    };

    TimerId schedule(double due, double interval, Task task);
    size_t fireDueTimers();
    size_t serveReadySources(const std::vector<struct pollfd>& polled, const std::vector<SourceId>& ids);
    size_t runPostedTasks();
    int pollTimeout(double maxWait);
    void openWakePipe();
    void closeWakePipe();
    void drainWakePipe();
    void reopenAfterFork();

    std::shared_ptr<Clock> _clock;

    std::map<TimerKey, Timer> _timers;
    std::unordered_map<TimerId, double> _timerDue;
    TimerId _nextTimerId = 1;
    TimerId _firingTimer = 0;
    bool _firingTimerCancelled = false;

    std::map<SourceId, Source> _sources;
    SourceId _nextSourceId = 1;

    mutable std::mutex _mutex; // guards the fields below
    std::vector<Task> _posted;
    int _wakeRead = -1;
    int _wakeWrite = -1;
    pid_t _pid;
    bool _stopRequested = false;

    bool _isMain = false;
    std::thread::id _thread;
};
