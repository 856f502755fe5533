#include "corefoundation/CFRunLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include <unistd.h>

namespace {

class RunLoopTest : public testing::Test {
protected:
    RunLoop loop;
    std::shared_ptr<VirtualClock> clock = loop.installVirtualClock();
    std::vector<std::string> fired;

    RunLoop::Task record(std::string name)
    {
        return [this, name] { fired.push_back(name + "@" + std::to_string(clock->now())); };
    }
};

TEST_F(RunLoopTest, TimersFireByDateThenBySchedulingOrder)
{
    loop.addTimer(0.3, record("c"));
    loop.addTimer(0.1, record("a1"));
    loop.addTimer(0.2, record("b"));
    loop.addTimer(0.1, record("a2"));
    loop.addTimer(-5, record("now"));

    clock->advance(0.25);
    EXPECT_EQ(fired, (std::vector<std::string> { "now@0.000000", "a1@0.100000", "a2@0.100000", "b@0.200000" }));
    EXPECT_EQ(loop.timerCount(), 1u);

    clock->advance(0.05);
    EXPECT_EQ(fired.back(), "c@0.300000");
    EXPECT_EQ(loop.timerCount(), 0u);
}

TEST_F(RunLoopTest, ZeroDelayWaitsForTheNextTurn)
{
    loop.addTimer(0, record("outside"));
    EXPECT_TRUE(fired.empty());

    loop.post([&] { loop.addTimer(0, record("from task")); });
    loop.addTimer(0, [&] { loop.addTimer(0, record("from timer")); });
    loop.runOnce(0);
    EXPECT_EQ(fired, std::vector<std::string> { "outside@0.000000" });

    loop.runOnce(0);
    EXPECT_EQ(fired.size(), 3u);
    EXPECT_FALSE(loop.runOnce(0));
}

TEST_F(RunLoopTest, AdvanceRunsTimersThatTimersScheduleInsideTheWindow)
{
    RunLoop::TimerId beyond = 0;
    loop.addTimer(1, [&] {
        fired.push_back("first@" + std::to_string(clock->now()));
        loop.addTimer(0, record("zero"));
        loop.addTimer(0.5, [&] {
            fired.push_back("second@" + std::to_string(clock->now()));
            beyond = loop.addTimer(2, record("beyond"));
        });
    });

    clock->advance(2);
    EXPECT_EQ(fired, (std::vector<std::string> { "first@1.000000", "zero@1.000000", "second@1.500000" }));
    EXPECT_DOUBLE_EQ(clock->now(), 2);
    EXPECT_TRUE(loop.isTimerScheduled(beyond));

    clock->advance(1.5);
    EXPECT_EQ(fired.back(), "beyond@3.500000");
}

TEST_F(RunLoopTest, RepeatingTimerFiresEachIntervalUntilItCancelsItself)
{
    int count = 0;
    RunLoop::TimerId timer = 0;
    timer = loop.addRepeatingTimer(1, [&] {
        if (++count == 5)
            loop.cancelTimer(timer);
    });

    clock->advance(3.5);
    EXPECT_EQ(count, 3);
    clock->advance(10);
    EXPECT_EQ(count, 5);
    EXPECT_FALSE(loop.isTimerScheduled(timer));

    int fast = 0;
    auto spin = loop.addRepeatingTimer(0, [&] { ++fast; });
    clock->advance(RunLoop::MinimumInterval * 3.5);
    EXPECT_EQ(fast, 3);
    loop.cancelTimer(spin);
}

TEST_F(RunLoopTest, CancelledTimersNeverFire)
{
    auto early = loop.addTimer(1, record("early"));
    RunLoop::TimerId victim = 0;
    loop.addTimer(2, [&] { loop.cancelTimer(victim); });
    victim = loop.addTimer(2, record("victim"));
    loop.cancelTimer(early);
    loop.cancelTimer(early);
    loop.cancelTimer(12345);

    clock->advance(5);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(loop.timerCount(), 0u);
}

TEST_F(RunLoopTest, ChangingTheClockKeepsTheTimeLeft)
{
    loop.addTimer(5, record("t"));
    clock->advance(2);
    auto later = loop.installVirtualClock(100);
    later->advance(2.9);
    clock->advance(10); // the old clock no longer drives this loop
    EXPECT_TRUE(fired.empty());
    later->advance(0.1);
    ASSERT_EQ(fired.size(), 1u);
}

TEST(RunLoopWaiting, PollWaitsOnlyUntilTheEarliestTimer)
{
    RunLoop loop;
    bool fired = false;
    loop.addTimer(0.02, [&] { fired = true; });
    // With an endless wait, only the timer's date can end this turn.
    while (!fired)
        loop.runOnce();
    EXPECT_EQ(loop.timerCount(), 0u);
}

struct Pipe {
    int read = -1, write = -1;
    Pipe()
    {
        int fds[2];
        EXPECT_EQ(pipe(fds), 0);
        read = fds[0];
        write = fds[1];
    }
    ~Pipe()
    {
        if (read >= 0)
            close(read);
        if (write >= 0)
            close(write);
    }
};

TEST(RunLoopSources, ReadySourcesAreCalledAndMayRemoveThemselves)
{
    RunLoop loop;
    Pipe pipe;
    std::string received;
    RunLoop::SourceId source = 0;
    source = loop.addReadSource(pipe.read, [&] {
        char buffer[16];
        ssize_t got = read(pipe.read, buffer, sizeof buffer);
        if (got > 0)
            received.append(buffer, got);
        else
            loop.removeSource(source); // end of file
    });

    EXPECT_FALSE(loop.runOnce(0));
    ASSERT_EQ(write(pipe.write, "ab", 2), 2);
    EXPECT_TRUE(loop.runOnce(0));
    EXPECT_EQ(received, "ab");

    close(pipe.write);
    pipe.write = -1;
    loop.runOnce(0);
    EXPECT_EQ(loop.sourceCount(), 0u);
    EXPECT_FALSE(loop.runOnce(0));
}

TEST(RunLoopSources, ASourceRemovedByAnotherCallbackOfTheTurnIsSkipped)
{
    RunLoop loop;
    Pipe first, second;
    int secondCalls = 0;
    RunLoop::SourceId secondSource = 0;
    loop.addReadSource(first.read, [&] {
        char c;
        ASSERT_EQ(read(first.read, &c, 1), 1);
        loop.removeSource(secondSource);
    });
    secondSource = loop.addReadSource(second.read, [&] { ++secondCalls; });
    ASSERT_EQ(write(first.write, "x", 1), 1);
    ASSERT_EQ(write(second.write, "x", 1), 1);
    loop.runOnce(0);
    EXPECT_EQ(secondCalls, 0);
}

TEST(RunLoopSources, ATurnRunsTimersThenSourcesThenPostedTasks)
{
    RunLoop loop;
    auto clock = loop.installVirtualClock();
    Pipe pipe;
    std::string order;
    loop.post([&] { order += "task "; });
    loop.addReadSource(pipe.read, [&] {
        char c;
        ASSERT_EQ(read(pipe.read, &c, 1), 1);
        order += "source ";
    });
    loop.addTimer(0, [&] { order += "timer "; });
    ASSERT_EQ(write(pipe.write, "x", 1), 1);
    loop.runOnce(0);
    EXPECT_EQ(order, "timer source task ");
}

TEST(RunLoopPosting, TasksPostedFromOtherThreadsWakeTheLoopAndKeepTheirOrder)
{
    RunLoop loop;
    constexpr int perThread = 2000;
    std::vector<std::vector<int>> seen(3);
    std::atomic<int> done = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < perThread; ++i)
                loop.post([&, t, i] { seen[t].push_back(i); ++done; });
        });
    }
    // No timer and an endless wait: only the posts can wake each turn.
    while (done < 3 * perThread)
        loop.runOnce();
    for (auto& thread : threads)
        thread.join();
    for (const auto& list : seen) {
        ASSERT_EQ(list.size(), size_t(perThread));
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    }
}

TEST(RunLoopPosting, StopFromAnotherThreadEndsRun)
{
    RunLoop loop;
    std::thread stopper([&] { loop.post([&] { loop.stop(); }); });
    loop.run();
    stopper.join();

    std::atomic<bool> flag = false;
    std::thread setter([&] { loop.post([&] { flag = true; }); });
    EXPECT_TRUE(loop.runUntil([&] { return flag.load(); }, 30));
    setter.join();
    EXPECT_FALSE(loop.runUntil([] { return false; }, 0.01));
}

TEST(RunLoopMain, IsServedByTheInitialThread)
{
    EXPECT_TRUE(RunLoop::main().isCurrent());
    bool elsewhere = true;
    std::thread([&] { elsewhere = RunLoop::main().isCurrent(); }).join();
    EXPECT_FALSE(elsewhere);
}

} // namespace
