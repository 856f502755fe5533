#include "shared/RVXSettings.h"

#include "TestDevice.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace RVXSettings;
namespace fs = std::filesystem;

TEST(SettingsWrite, ChangeOneKeyCreatesAMissingFileAndKeepsOtherKeys)
{
    TestDevice device;
    EXPECT_TRUE(changeOneKey("Size", 22.5));
    EXPECT_TRUE(changeOneKey("Label", "Close"));
    NSDictionary settings = read();
    EXPECT_EQ(settings.count(), 2u);
    EXPECT_EQ(valueFor(settings, Keys::Size), 22.5f);
    EXPECT_TRUE(removeKey("Size"));
    EXPECT_FALSE(read().objectForKey("Size"));
    EXPECT_EQ(valueFor(read(), Keys::Label), "Close");
}

TEST(SettingsWrite, CorruptFileIsKeptAsideBesideAnOlderCopy)
{
    TestDevice device;
    std::string host = device.hostPath(path);
    auto content = [](const std::string& file) {
        std::ifstream in(file);
        return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    };
    std::ofstream(host + ".corrupt") << "older copy";
    std::ofstream(host) << "garbage, not a plist";
    EXPECT_TRUE(changeOneKey("Family", "Courier"));
    EXPECT_EQ(read().count(), 1u);
    EXPECT_EQ(content(host + ".corrupt"), "older copy");
    EXPECT_EQ(content(host + ".corrupt.1"), "garbage, not a plist");
    std::ofstream(host) << "garbage again";
    EXPECT_TRUE(changeOneKey("Family", "Courier"));
    EXPECT_EQ(content(host + ".corrupt.2"), "garbage again");
}

TEST(SettingsWrite, CreateIfMissingOnlyOnce)
{
    TestDevice device;
    EXPECT_TRUE(createIfMissing("Family", "Helvetica"));
    EXPECT_FALSE(createIfMissing("Count", 3));
    NSDictionary settings = read();
    EXPECT_EQ(settings.count(), 1u);
    EXPECT_EQ(valueFor(settings, Keys::Family), "Helvetica");
}

TEST(SettingsWrite, CountIncrementsAndStopsAtTheTop)
{
    TestDevice device;
    EXPECT_TRUE(incrementCount());
    EXPECT_TRUE(incrementCount());
    EXPECT_EQ(valueFor(read(), Keys::Count), 2);
    EXPECT_TRUE(changeOneKey("Count", "41"));
    EXPECT_TRUE(incrementCount());
    EXPECT_EQ(*read().objectForKey("Count")->integer(), 42);
    EXPECT_TRUE(changeOneKey("Count", int64_t(INT64_MAX)));
    EXPECT_TRUE(incrementCount());
    EXPECT_EQ(*read().objectForKey("Count")->integer(), INT64_MAX);
    EXPECT_EQ(valueFor(read(), Keys::Count), INT_MAX);
}

TEST(SettingsWrite, ChangeWithMaySkipTheWrite)
{
    TestDevice device;
    EXPECT_TRUE(changeWith([](NSDictionary&) { return false; }));
    EXPECT_FALSE(fs::exists(device.hostPath(path)));
}

namespace {

// Two processes each add one to "Count" `rounds` times; answers the final count, or -1 when
// the file holds no integer count.
long long raceTwoWriters(int rounds)
{
    pid_t child = fork();
    if (child == 0) {
        for (int i = 0; i < rounds; ++i)
            incrementCount();
        _exit(0);
    }
    for (int i = 0; i < rounds; ++i)
        incrementCount();
    int status = 0;
    waitpid(child, &status, 0);
    NSDictionary file = read();
    const PlistValue* count = file.objectForKey("Count");
    return count && count->integer() ? *count->integer() : -1;
}

} // namespace

TEST(SettingsWrite, TwoProcessesLoseNoIncrement)
{
    TestDevice device;
    EXPECT_EQ(raceTwoWriters(2000), 4000);
    EXPECT_TRUE(fs::exists(device.hostPath(path) + ".lock"));
    for (auto& entry : fs::directory_iterator(fs::path(device.hostPath(path)).parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos) << entry.path();
}

// Without the lock a change can be lost, but never the file: every write still replaces it
// whole, so it reads as a dictionary holding a count that one of the writers made.
TEST(SettingsWrite, WithoutTheLockChangesCanBeLostButTheFileStaysWhole)
{
    TestDevice device;
    PreferenceFile::setLockingEnabled(false);
    long long count = raceTwoWriters(500);
    PreferenceFile::setLockingEnabled(true);
    EXPECT_GE(count, 1);
    EXPECT_LE(count, 1000);
    EXPECT_EQ(read().count(), 1u);
    for (auto& entry : fs::directory_iterator(fs::path(device.hostPath(path)).parent_path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos) << entry.path();
    RecordProperty("unlocked_count", std::to_string(count));
    std::cout << "without the lock, 1000 increments by two processes left Count at " << count << "\n";
}
