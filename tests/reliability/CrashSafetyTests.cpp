// A writer killed at any moment of a change never leaves a Settings file that does not
// parse, nor one holding anything but the old or a new value; the temporary file it may
// leave is removed by the next write.

#include "TestDevice.h"
#include "shared/RVXSettings.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <iostream>
#include <random>
#include <string>

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

size_t temporaryFilesBeside(const std::string& hostPath)
{
    size_t count = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(hostPath).parent_path())) {
        if (entry.path().filename().string().find(".tmp.") != std::string::npos)
            ++count;
    }
    return count;
}

void sleepMicroseconds(long micros)
{
    struct timespec pause { micros / 1000000, (micros % 1000000) * 1000 };
    while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
    }
}

// A child that changes "Label" to "<prefix><n>" for n = 0, 1, ... until it is killed.
pid_t startEndlessWriter(const std::string& prefix)
{
    pid_t child = fork();
    if (child == 0) {
        for (long n = 0;; ++n)
            RVXSettings::changeOneKey("Label", prefix + std::to_string(n));
    }
    return child;
}

} // namespace

TEST(CrashSafety, AWriterKilledAtRandomMomentsLeavesTheOldOrTheNewValue)
{
    TestDevice device;
    const std::string host = RVXSettings::file().hostPath();
    // A large neighbour makes each write long enough for kills to land inside it.
    const std::string padding(256 * 1024, 'p');
    ASSERT_TRUE(RVXSettings::changeOneKey("Padding", padding));
    ASSERT_TRUE(RVXSettings::changeOneKey("Label", "start"));

    constexpr int kills = 200;
    std::mt19937 random(20240611);
    std::uniform_int_distribution<long> moment(0, 25000);
    std::string old = "start";
    int sawNewValue = 0;
    int leftTemporary = 0;
    for (int round = 0; round < kills; ++round) {
        std::string prefix = "r" + std::to_string(round) + "-";
        pid_t writer = startEndlessWriter(prefix);
        ASSERT_GT(writer, 0);
        sleepMicroseconds(moment(random));
        kill(writer, SIGKILL);
        int status = 0;
        waitpid(writer, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "round " << round;

        auto settings = RVXSettings::file().readIfPresent();
        ASSERT_TRUE(settings) << "the file does not parse after kill " << round;
        auto label = RVXSettings::stringFor(*settings, "Label");
        ASSERT_TRUE(label) << "round " << round;
        ASSERT_TRUE(*label == old || label->starts_with(prefix)) << "round " << round << ": " << *label;
        ASSERT_EQ(RVXSettings::stringFor(*settings, "Padding"), padding) << "round " << round;
        sawNewValue += *label != old;
        leftTemporary += temporaryFilesBeside(host) > 0;

        old = "p" + std::to_string(round);
        ASSERT_TRUE(RVXSettings::changeOneKey("Label", old));
        ASSERT_EQ(temporaryFilesBeside(host), 0u) << "a dead writer's temporary file survived round " << round;
    }
    EXPECT_FALSE(fs::exists(RVXSettings::file().corruptPath()));
    RecordProperty("kills", kills);
    RecordProperty("kills_after_a_new_value", sawNewValue);
    RecordProperty("kills_leaving_a_temporary_file", leftTemporary);
    std::cout << kills << " writers killed: " << sawNewValue << " had written a new value, " << leftTemporary
              << " left a temporary file behind; every file parsed\n";
}
