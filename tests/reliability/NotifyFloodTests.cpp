// The settings-changed notification under stress: floods, observers that die, other users
// on the machine, names that do not fit.

#include "ChildProcess.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <string>

#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int kFlood = 100000;
constexpr const char* kName = "com.vastelmark.ruvex.dbxchanged";

int heard = 0;

void countCall(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    ++heard;
}

// Waits for one byte; the deadline only keeps a broken build from hanging.
bool awaitByte(int fd, char expected)
{
    pollfd entry { fd, POLLIN, 0 };
    char byte = 0;
    return poll(&entry, 1, 20000) == 1 && read(fd, &byte, 1) == 1 && byte == expected;
}

void sendByte(int fd, char byte)
{
    [[maybe_unused]] ssize_t written = write(fd, &byte, 1);
}

std::vector<fs::path> endpointsIn(const std::string& directory)
{
    std::vector<fs::path> found;
    for (const auto& entry : fs::directory_iterator(directory)) {
        if (entry.is_socket())
            found.push_back(entry.path());
    }
    return found;
}

class NotifyFlood : public testing::Test {
protected:
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
    ScratchFolder folder { "rvx-rel-notify" };
    std::string scratch = folder.path();
    int toParent[2] {};
    int toChild[2] {};

    NotifyFlood()
    {
        fs::create_directories(scratch + "/device");
        notifyTransportSetBaseDirectory((scratch + "/notify").c_str());
        EXPECT_EQ(notifyTransportSetDeviceRoot((scratch + "/device").c_str()), kCFNotificationStatusOK);
        EXPECT_EQ(pipe(toParent), 0);
        EXPECT_EQ(pipe(toChild), 0);
        heard = 0;
    }
    ~NotifyFlood() override
    {
        CFNotificationCenterRemoveEveryObserver(center, nullptr);
        while (RunLoop::main().runOnce(0)) {
        }
        notifyTransportSetDeviceRoot(nullptr);
        notifyTransportSetBaseDirectory(nullptr);
        for (int fd : { toParent[0], toParent[1], toChild[0], toChild[1] })
            close(fd);
    }

    void observe(const char* name)
    {
        CFNotificationCenterAddObserver(center, nullptr, countCall, name, nullptr,
            CFNotificationSuspensionBehaviorDeliverImmediately);
        RunLoop::main().runOnce(0);
    }
    CFNotificationStatus post(const char* name)
    {
        return CFNotificationCenterPostNotificationChecked(center, name, nullptr, nullptr, true);
    }
};

} // namespace

TEST_F(NotifyFlood, AFloodInOneProcessCoalescesIntoOneCallback)
{
    observe(kName);
    const long before = ownMaxResidentKB();
    for (int i = 0; i < kFlood; ++i)
        ASSERT_EQ(post(kName), kCFNotificationStatusOK);
    RunLoop::main().runUntil([] { return heard > 0; }, 20);
    while (RunLoop::main().runOnce(0)) {
    }
    EXPECT_EQ(heard, 1);
    // Generous for the sanitizer build, whose allocator keeps freed memory in quarantine.
    EXPECT_LT(ownMaxResidentKB() - before, 64 * 1024);
}

TEST_F(NotifyFlood, AnObserverInAnotherProcessStaysResponsiveWithBoundedMemory)
{
    const long baselineKB = ownMaxResidentKB();
    pid_t child = fork();
    if (child == 0) {
        observe(kName);
        sendByte(toParent[1], 'r');
        // Serve the loop through the flood, then tell the poster how much arrived.
        bool flooded = false;
        auto source = RunLoop::main().addReadSource(toChild[0], [&] { flooded = true; });
        RunLoop::main().runUntil([&] { return flooded; }, 60);
        RunLoop::main().removeSource(source);
        char go = 0;
        [[maybe_unused]] ssize_t got = read(toChild[0], &go, 1);
        while (RunLoop::main().runOnce(0.05)) {
        }
        int afterFlood = heard;
        sendByte(toParent[1], 'd');
        // One more post after the flood must still come through.
        bool responsive = RunLoop::main().runUntil([&] { return heard > afterFlood; }, 20);
        std::cout << "  observer heard " << afterFlood << " callbacks for " << kFlood << " posts\n";
        _exit(flooded && afterFlood >= 1 && afterFlood <= kFlood && responsive ? 0 : 1);
    }
    ASSERT_TRUE(awaitByte(toParent[0], 'r'));
    for (int i = 0; i < kFlood; ++i)
        ASSERT_NE(post(kName), kCFNotificationStatusTransportFailed) << "post " << i;
    sendByte(toChild[1], 'g');
    ASSERT_TRUE(awaitByte(toParent[0], 'd'));
    post(kName);
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_LT(usage.ru_maxrss - baselineKB, 64 * 1024) << "the observer grew by " << usage.ru_maxrss - baselineKB << " KB";
    RecordProperty("flood_posts", kFlood);
}

TEST_F(NotifyFlood, AnObserverThatDiesLeavesThePosterUnaffected)
{
    observe(kName);
    const std::string directory = notifyTransportDirectory();
    pid_t child = fork();
    if (child == 0) {
        observe(kName);
        sendByte(toParent[1], 'r');
        pause();
        _exit(0);
    }
    ASSERT_TRUE(awaitByte(toParent[0], 'r'));
    ASSERT_EQ(endpointsIn(directory).size(), 2u);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);

    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(post(kName), kCFNotificationStatusOK) << "post " << i;
    EXPECT_TRUE(RunLoop::main().runUntil([] { return heard > 0; }, 20));
    auto left = endpointsIn(directory);
    ASSERT_EQ(left.size(), 1u) << "the dead observer's endpoint was not cleaned up";
    EXPECT_TRUE(left.front().filename().string().starts_with(std::to_string(getpid()) + "."));
}

TEST_F(NotifyFlood, TheTransportIsClosedToOtherUsersEvenUnderAPermissiveUmask)
{
    notifyTransportSetDeviceRoot(nullptr);
    fs::remove_all(scratch + "/notify");
    mode_t previous = umask(0);
    EXPECT_EQ(notifyTransportSetDeviceRoot((scratch + "/device").c_str()), kCFNotificationStatusOK);
    observe(kName);
    umask(previous);

    const std::string directory = notifyTransportDirectory();
    struct stat info {};
    for (const std::string& path : { scratch + "/notify", directory }) {
        ASSERT_EQ(lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 07777, 0700u) << path;
        EXPECT_EQ(info.st_uid, geteuid()) << path;
    }
    auto endpoints = endpointsIn(directory);
    ASSERT_EQ(endpoints.size(), 1u);
    ASSERT_EQ(lstat(endpoints.front().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << "the endpoint is open to others: " << std::oct << (info.st_mode & 07777);
}

TEST_F(NotifyFlood, ANameLongerThanTheLimitIsRefused)
{
    std::string longest(kCFNotificationNameMaxLength, 'n');
    std::string tooLong(kCFNotificationNameMaxLength + 1, 'n');
    EXPECT_EQ(CFNotificationCenterAddObserverChecked(center, nullptr, countCall, tooLong.c_str(), nullptr,
                  CFNotificationSuspensionBehaviorDeliverImmediately),
        kCFNotificationStatusNameTooLong);
    EXPECT_EQ(post(tooLong.c_str()), kCFNotificationStatusNameTooLong);
    EXPECT_EQ(post(std::string(1 << 20, 'x').c_str()), kCFNotificationStatusNameTooLong);
    EXPECT_EQ(post(""), kCFNotificationStatusNoName);
    EXPECT_EQ(post(nullptr), kCFNotificationStatusNoName);

    observe(longest.c_str());
    EXPECT_EQ(post(longest.c_str()), kCFNotificationStatusOK);
    EXPECT_TRUE(RunLoop::main().runUntil([] { return heard == 1; }, 20));
}
