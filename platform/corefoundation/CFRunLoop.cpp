#include "corefoundation/CFRunLoop.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <unistd.h>

double SystemClock::now() const
{
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void VirtualClock::advance(double seconds)
{
    double target = _now + std::max(0.0, seconds);
    while (_loop) {
        auto due = _loop->nextTimerDate();
        if (!due || *due > target)
            break;
        _now = std::max(_now, *due);
        _loop->fireDueTimers();
    }
    _now = target;
}

RunLoop::RunLoop()
    : _clock(std::make_shared<SystemClock>())
    , _pid(getpid())
    , _thread(std::this_thread::get_id())
{
    openWakePipe();
}

RunLoop::~RunLoop()
{
    if (auto* virtualClock = dynamic_cast<VirtualClock*>(_clock.get()))
        virtualClock->_loop = nullptr;
    closeWakePipe();
}

RunLoop& RunLoop::main()
{
    static RunLoop* loop = [] {
        auto* created = new RunLoop; // never destroyed: callbacks may run during static teardown
        created->_isMain = true;
        pthread_atfork(nullptr, nullptr, [] { RunLoop::main().reopenAfterFork(); });
        return created;
    }();
    return *loop;
}

bool RunLoop::isCurrent() const
{
    if (_isMain)
        return gettid() == getpid();
    return std::this_thread::get_id() == _thread;
}

void RunLoop::setClock(std::shared_ptr<Clock> clock)
{
    if (!clock)
        clock = std::make_shared<SystemClock>();
    double shift = clock->now() - _clock->now();
    if (auto* old = dynamic_cast<VirtualClock*>(_clock.get()))
        old->_loop = nullptr;
    if (auto* fresh = dynamic_cast<VirtualClock*>(clock.get()))
        fresh->_loop = this;
    _clock = std::move(clock);

    std::map<TimerKey, Timer> rebased;
    for (auto& [key, timer] : _timers) {
        rebased.emplace(TimerKey { key.first + shift, key.second }, std::move(timer));
        _timerDue[key.second] = key.first + shift;
    }
    _timers = std::move(rebased);
}

std::shared_ptr<VirtualClock> RunLoop::installVirtualClock(double start)
{
    auto clock = std::make_shared<VirtualClock>(start);
    setClock(clock);
    return clock;
}

RunLoop::TimerId RunLoop::addTimer(double delay, Task task)
{
    return schedule(now() + std::max(0.0, delay), 0, std::move(task));
}

RunLoop::TimerId RunLoop::addRepeatingTimer(double interval, Task task)
{
    interval = std::max(MinimumInterval, interval);
    return schedule(now() + interval, interval, std::move(task));
}

RunLoop::TimerId RunLoop::schedule(double due, double interval, Task task)
{
    TimerId timer = _nextTimerId++;
    _timers.emplace(TimerKey { due, timer }, Timer { std::move(task), interval });
    _timerDue[timer] = due;
    return timer;
}

void RunLoop::cancelTimer(TimerId timer)
{
    if (timer == _firingTimer)
        _firingTimerCancelled = true;
    auto it = _timerDue.find(timer);
    if (it == _timerDue.end())
        return;
    _timers.erase(TimerKey { it->second, timer });
    _timerDue.erase(it);
}

std::optional<double> RunLoop::nextTimerDate() const
{
    if (_timers.empty())
        return std::nullopt;
    return _timers.begin()->first.first;
}

size_t RunLoop::fireDueTimers()
{
    double turnTime = now();
    // Timers scheduled while this pass runs get later identifiers and wait for the next pass.
    TimerId firstNew = _nextTimerId;
    size_t fired = 0;
    while (!_timers.empty()) {
        auto it = _timers.begin();
        auto [due, timer] = it->first;
        if (due > turnTime || timer >= firstNew)
            break;
        Timer entry = std::move(it->second);
        _timers.erase(it);
        _timerDue.erase(timer);

        _firingTimer = timer;
        _firingTimerCancelled = false;
        entry.task();
        _firingTimer = 0;
        ++fired;

        if (entry.interval > 0 && !_firingTimerCancelled) {
            double next = due + entry.interval;
            double current = now();
            if (next <= current)
                next = current + entry.interval;
            _timers.emplace(TimerKey { next, timer }, std::move(entry));
            _timerDue[timer] = next;
        }
    }
    return fired;
}

RunLoop::SourceId RunLoop::addReadSource(int fd, Task onReadable)
{
    SourceId source = _nextSourceId++;
    _sources.emplace(source, Source { fd, POLLIN, std::make_shared<Task>(std::move(onReadable)) });
    return source;
}

RunLoop::SourceId RunLoop::addWriteSource(int fd, Task onWritable)
{
    SourceId source = _nextSourceId++;
    _sources.emplace(source, Source { fd, POLLOUT, std::make_shared<Task>(std::move(onWritable)) });
    return source;
}

void RunLoop::removeSource(SourceId source)
{
    _sources.erase(source);
}

void RunLoop::post(Task task)
{
    // On the loop's own thread the loop cannot be waiting, and a queued task makes the
    // next wait zero anyway: the wake-up write would only cost a spurious turn.
    bool fromLoop = isCurrent();
    std::lock_guard lock(_mutex);
    _posted.push_back(std::move(task));
    if (!fromLoop && _wakeWrite >= 0) {
        char byte = 1;
        // A full pipe already guarantees a wake-up.
        [[maybe_unused]] ssize_t written = write(_wakeWrite, &byte, 1);
    }
}

void RunLoop::wake()
{
    std::lock_guard lock(_mutex);
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(_wakeWrite, &byte, 1);
}

void RunLoop::stop()
{
    {
        std::lock_guard lock(_mutex);
        _stopRequested = true;
    }
    wake();
}

void RunLoop::run()
{
    for (;;) {
        {
            std::lock_guard lock(_mutex);
            if (_stopRequested) {
                _stopRequested = false;
                return;
            }
        }
        runOnce();
    }
}

bool RunLoop::runUntil(const std::function<bool()>& done, double timeout)
{
    SystemClock realTime;
    double deadline = realTime.now() + std::max(0.0, timeout);
    while (!done()) {
        double left = deadline - realTime.now();
        if (left <= 0)
            return done();
        runOnce(left);
    }
    return true;
}

int RunLoop::pollTimeout(double maxWait)
{
    {
        std::lock_guard lock(_mutex);
        if (!_posted.empty() || _stopRequested)
            return 0;
    }
    double wait = maxWait;
    if (auto due = nextTimerDate())
        wait = std::min(wait, *due - now());
    if (wait <= 0)
        return 0;
    if (!std::isfinite(wait) || wait * 1000 >= INT_MAX)
        return -1;
    // Rounding up makes the timer due when poll returns.
    return static_cast<int>(std::ceil(wait * 1000));
}

bool RunLoop::runOnce(double maxWait)
{
    if (getpid() != _pid)
        reopenAfterFork();

    std::vector<pollfd> polled;
    std::vector<SourceId> ids;
    polled.push_back({ _wakeRead, POLLIN, 0 });
    for (const auto& [id, source] : _sources) {
        polled.push_back({ source.fd, source.events, 0 });
        ids.push_back(id);
    }
    int ready = poll(polled.data(), polled.size(), pollTimeout(maxWait));
    if (ready < 0) {
        for (auto& entry : polled)
            entry.revents = 0;
    }
    if (polled[0].revents)
        drainWakePipe();

    size_t ran = fireDueTimers();
    ran += serveReadySources(polled, ids);
    ran += runPostedTasks();
    return ran > 0;
}

size_t RunLoop::serveReadySources(const std::vector<pollfd>& polled, const std::vector<SourceId>& ids)
{
    size_t served = 0;
    for (size_t i = 0; i < ids.size(); ++i) {
        short events = polled[i + 1].revents;
        if (!events)
            continue;
        auto it = _sources.find(ids[i]);
        if (it == _sources.end())
            continue; // removed by an earlier callback of this turn
        if (events & POLLNVAL) {
            std::fprintf(stderr, "RunLoop: descriptor %d was closed while still a source; source removed\n", it->second.fd);
            _sources.erase(it);
            continue;
        }
        // Holding the callback keeps it alive if it removes its own source.
        std::shared_ptr<Task> onReadable = it->second.onReadable;
        (*onReadable)();
        ++served;
    }
    return served;
}

size_t RunLoop::runPostedTasks()
{
    std::vector<Task> tasks;
    {
        std::lock_guard lock(_mutex);
        tasks.swap(_posted);
    }
    for (auto& task : tasks)
        task();
    return tasks.size();
}

void RunLoop::openWakePipe()
{
    int fds[2];
    if (pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::fprintf(stderr, "RunLoop: cannot create the wake-up pipe: %s\n", std::strerror(errno));
        return;
    }
    _wakeRead = fds[0];
    _wakeWrite = fds[1];
}

void RunLoop::closeWakePipe()
{
    if (_wakeRead >= 0)
        close(_wakeRead);
    if (_wakeWrite >= 0)
        close(_wakeWrite);
    _wakeRead = _wakeWrite = -1;
}

void RunLoop::drainWakePipe()
{
    char buffer[256];
    while (read(_wakeRead, buffer, sizeof buffer) > 0) {
    }
}

// A forked child shares the parent's pipe; wake-ups must not cross between the two.
void RunLoop::reopenAfterFork()
{
    std::lock_guard lock(_mutex);
    if (getpid() == _pid)
        return;
    closeWakePipe();
    openWakePipe();
    _pid = getpid();
    if (!_posted.empty()) {
        char byte = 1;
        [[maybe_unused]] ssize_t written = write(_wakeWrite, &byte, 1);
    }
}
