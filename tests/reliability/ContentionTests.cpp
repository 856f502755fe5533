// The widget's counter and a pane's label edits, in two processes at once: with the lock
// no change is lost. The same race without the lock shows what the lock is for; how much
// it loses depends on timing, so it is printed, not asserted.

#include "TestDevice.h"
#include "shared/RVXSettings.h"

#include <gtest/gtest.h>

#include <iostream>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kChanges = 2000;

struct RaceResult {
    long long count = 0;
    std::string lastLabel;
    bool childrenSucceeded = false;
};

std::string labelNumber(int n)
{
    return "Label " + std::to_string(n);
}

// Forks a child that waits on `start`, runs `body` and exits with 0 when every call succeeded.
pid_t forkWriter(int start, bool (*body)())
{
    pid_t child = fork();
    if (child == 0) {
        char go = 0;
        if (read(start, &go, 1) != 1)
            _exit(2);
        _exit(body() ? 0 : 1);
    }
    return child;
}

bool countEveryClose()
{
    bool ok = true;
    for (int i = 0; i < kChanges; ++i)
        ok &= RVXSettings::incrementCount();
    return ok;
}

bool editTheLabel()
{
    bool ok = true;
    for (int i = 1; i <= kChanges; ++i)
        ok &= RVXSettings::changeOneKey("Label", labelNumber(i));
    return ok;
}

RaceResult race()
{
    RVXSettings::changeOneKey("Label", labelNumber(0));
    int start[2];
    if (pipe(start) != 0)
        return {};
    pid_t counter = forkWriter(start[0], countEveryClose);
    pid_t editor = forkWriter(start[0], editTheLabel);
    const char go[2] = { 'g', 'g' };
    bool started = write(start[1], go, 2) == 2;
    close(start[0]);
    close(start[1]);
    RaceResult result;
    result.childrenSucceeded = started;
    for (pid_t child : { counter, editor }) {
        int status = 0;
        waitpid(child, &status, 0);
        result.childrenSucceeded &= WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    NSDictionary settings = RVXSettings::read();
    result.count = RVXSettings::longLongFor(settings, "Count");
    result.lastLabel = RVXSettings::stringFor(settings, "Label", "");
    return result;
}

} // namespace

TEST(Contention, CounterAndLabelEditsInTwoProcessesLoseNothingUnderTheLock)
{
    TestDevice device;
    RaceResult locked = race();
    EXPECT_TRUE(locked.childrenSucceeded);
    EXPECT_EQ(locked.count, kChanges);
    EXPECT_EQ(locked.lastLabel, labelNumber(kChanges));
    RecordProperty("locked_lost_increments", std::to_string(kChanges - locked.count));
    std::cout << "with the lock: " << kChanges - locked.count << " of " << kChanges << " increments lost, last label "
              << (locked.lastLabel == labelNumber(kChanges) ? "kept" : "lost") << "\n";
}

TEST(Contention, WithoutTheLockTheSameRaceReportsWhatItLost)
{
    TestDevice device;
    PreferenceFile::setLockingEnabled(false);
    RaceResult unlocked = race();
    PreferenceFile::setLockingEnabled(true);
    // Without the lock, changes may be lost but the file must still be whole.
    EXPECT_TRUE(RVXSettings::file().readIfPresent());
    EXPECT_LE(unlocked.count, kChanges);
    RecordProperty("unlocked_lost_increments", std::to_string(kChanges - unlocked.count));
    std::cout << "without the lock: " << kChanges - unlocked.count << " of " << kChanges << " increments lost, last label "
              << (unlocked.lastLabel == labelNumber(kChanges) ? "kept" : "lost (" + unlocked.lastLabel + ")") << "\n";
}
