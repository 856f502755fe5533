#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "corefoundation/NotifyTransport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

int heard = 0;

void countCall(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef)
{
    ++heard;
}

// Waits for one byte; the deadline only keeps a broken build from hanging.
char readByte(int fd)
{
    pollfd entry { fd, POLLIN, 0 };
    char byte = 0;
    if (poll(&entry, 1, 20000) == 1 && read(fd, &byte, 1) == 1)
        return byte;
    return 0;
}

void writeByte(int fd, char byte)
{
    [[maybe_unused]] ssize_t written = write(fd, &byte, 1);
}

struct Channel {
    int toParent[2];
    int toChild[2];
    Channel()
    {
        EXPECT_EQ(pipe(toParent), 0);
        EXPECT_EQ(pipe(toChild), 0);
    }
    ~Channel()
    {
        for (int fd : { toParent[0], toParent[1], toChild[0], toChild[1] })
            close(fd);
    }
};

mode_t modeOf(const std::string& path)
{
    struct stat status;
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status.st_mode & 07777;
}

std::vector<std::string> endpointsOf(pid_t pid)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(notifyTransportDirectory())) {
        std::string name = entry.path().filename();
        if (name.starts_with(std::to_string(pid) + "."))
            found.push_back(name);
    }
    return found;
}

class NotifyTransportTest : public testing::Test {
protected:
    std::string scratch;
    std::string deviceRoot;
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();

    NotifyTransportTest()
    {
        char pattern[] = "/tmp/rvx-cf-test-XXXXXX";
        scratch = mkdtemp(pattern);
        // Device roots are long temporary paths, far beyond what a socket path allows.
        deviceRoot = scratch + "/" + std::string(120, 'd') + "/device";
        fs::create_directories(deviceRoot);
        notifyTransportSetBaseDirectory((scratch + "/notify").c_str());
        EXPECT_EQ(notifyTransportSetDeviceRoot(deviceRoot.c_str()), kCFNotificationStatusOK);
        heard = 0;
    }
    ~NotifyTransportTest() override
    {
        CFNotificationCenterRemoveEveryObserver(center, nullptr);
        while (RunLoop::main().runOnce(0)) {
        }
        notifyTransportSetDeviceRoot(nullptr);
        notifyTransportSetBaseDirectory(nullptr);
        fs::remove_all(scratch);
    }

    void observe(const char* name)
    {
        CFNotificationCenterAddObserver(center, nullptr, countCall, name, nullptr,
            CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    void post(const char* name) { CFNotificationCenterPostNotification(center, name, nullptr, nullptr, true); }

    // Runs `body` in a child process and answers its pid; the child's exit status is what
    // `body` answers.
    pid_t spawn(const std::function<int()>& body)
    {
        pid_t child = fork();
        if (child == 0)
            _exit(body());
        return child;
    }
    int exitStatus(pid_t child)
    {
        int status = 0;
        waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_F(NotifyTransportTest, APostReachesAnObserverInAnotherProcess)
{
    Channel channel;
    pid_t child = spawn([&] {
        observe("com.example.changed");
        writeByte(channel.toParent[1], 'r');
        bool got = RunLoop::main().runUntil([] { return heard > 0; }, 20);
        writeByte(channel.toParent[1], got ? 'g' : 'f');
        return got && heard == 1 ? 0 : 1;
    });
    ASSERT_EQ(readByte(channel.toParent[0]), 'r');
    post("com.example.unrelated");
    post("com.example.changed");
    EXPECT_EQ(readByte(channel.toParent[0]), 'g');
    EXPECT_EQ(exitStatus(child), 0);
}

TEST_F(NotifyTransportTest, AnObserverHearsAnotherProcessAndItsOwnPostsOnce)
{
    observe("com.example.changed");
    Channel channel;
    pid_t child = spawn([&] {
        // The child inherited the observer; it must not answer with the parent's socket.
        CFNotificationCenterRemoveEveryObserver(center, nullptr);
        RunLoop::main().runOnce(0);
        post("com.example.changed");
        return 0;
    });
    EXPECT_TRUE(RunLoop::main().runUntil([] { return heard > 0; }, 20));
    EXPECT_EQ(exitStatus(child), 0);

    heard = 0;
    post("com.example.changed");
    RunLoop::main().runOnce(0);
    EXPECT_EQ(heard, 1);
    EXPECT_FALSE(RunLoop::main().runOnce(0.05)); // no second copy through the socket
    EXPECT_EQ(heard, 1);
}

TEST_F(NotifyTransportTest, AForkedChildGetsItsOwnEndpoint)
{
    observe("com.example.changed");
    Channel channel;
    pid_t child = spawn([&] {
        writeByte(channel.toParent[1], endpointsOf(getpid()).size() == 1 ? 'r' : 'f');
        bool got = RunLoop::main().runUntil([] { return heard > 0; }, 20);
        return got ? 0 : 1;
    });
    ASSERT_EQ(readByte(channel.toParent[0]), 'r');
    post("com.example.changed");
    EXPECT_EQ(exitStatus(child), 0);
    EXPECT_TRUE(RunLoop::main().runUntil([] { return heard > 0; }, 20));
    EXPECT_EQ(endpointsOf(getpid()).size(), 1u);
}

TEST_F(NotifyTransportTest, TheEndpointOfADeadProcessIsRemovedByTheNextPost)
{
    Channel channel;
    pid_t child = spawn([&] {
        observe("com.example.changed");
        writeByte(channel.toParent[1], 'r');
        return 0; // exits without unbinding, as a crash would
    });
    ASSERT_EQ(readByte(channel.toParent[0]), 'r');
    EXPECT_EQ(exitStatus(child), 0);
    ASSERT_EQ(endpointsOf(child).size(), 1u);

    std::string stray = std::string(notifyTransportDirectory()) + "/notes.txt";
    { std::ofstream(stray) << "kept"; }
    post("com.example.changed");
    EXPECT_TRUE(endpointsOf(child).empty());
    EXPECT_TRUE(fs::exists(stray));
}

TEST_F(NotifyTransportTest, AFloodNeverBlocksThePosterAndStillArrives)
{
    Channel channel;
    pid_t child = spawn([&] {
        observe("com.example.flood");
        writeByte(channel.toParent[1], 'r');
        // Not serving the loop until the flood is over lets the socket queue fill up.
        readByte(channel.toChild[0]);
        bool got = RunLoop::main().runUntil([] { return heard > 0; }, 20);
        return got && heard <= 100000 ? 0 : 1;
    });
    ASSERT_EQ(readByte(channel.toParent[0]), 'r');
    for (int i = 0; i < 100000; ++i)
        post("com.example.flood");
    writeByte(channel.toChild[1], 'g');
    EXPECT_EQ(exitStatus(child), 0);
}

TEST_F(NotifyTransportTest, TheDirectoryIsPrivateAndKeyedByTheDeviceRoot)
{
    std::string directory = notifyTransportDirectory();
    EXPECT_EQ(fs::path(directory).parent_path(), scratch + "/notify");
    EXPECT_EQ(fs::path(directory).filename().string().size(), 16u);
    EXPECT_EQ(modeOf(scratch + "/notify"), 0700u);
    EXPECT_EQ(modeOf(directory), 0700u);

    // Another spelling of the same root meets in the same directory; another root does not.
    notifyTransportSetDeviceRoot((deviceRoot + "/").c_str());
    EXPECT_EQ(notifyTransportDirectory(), directory);
    notifyTransportSetDeviceRoot((deviceRoot + "/../device").c_str());
    EXPECT_EQ(notifyTransportDirectory(), directory);
    notifyTransportSetDeviceRoot(scratch.c_str());
    EXPECT_NE(notifyTransportDirectory(), directory);

    notifyTransportSetDeviceRoot(nullptr);
    EXPECT_STREQ(notifyTransportDirectory(), "");
}

TEST_F(NotifyTransportTest, AnUnsafeBaseDirectoryIsRefusedOrTightened)
{
    std::string open = scratch + "/open";
    fs::create_directory(open);
    chmod(open.c_str(), 0755);
    notifyTransportSetBaseDirectory(open.c_str());
    EXPECT_EQ(notifyTransportSetDeviceRoot(deviceRoot.c_str()), kCFNotificationStatusOK);
    EXPECT_EQ(modeOf(open), 0700u);

    std::string link = scratch + "/link";
    fs::create_directory_symlink(open, link);
    notifyTransportSetBaseDirectory(link.c_str());
    std::string before = notifyTransportDirectory();
    testing::internal::CaptureStderr();
    EXPECT_EQ(notifyTransportSetDeviceRoot(scratch.c_str()), kCFNotificationStatusTransportFailed);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("is a link"), std::string::npos);
    EXPECT_EQ(notifyTransportDirectory(), before);

    std::string file = scratch + "/file";
    { std::ofstream(file) << "x"; }
    notifyTransportSetBaseDirectory(file.c_str());
    testing::internal::CaptureStderr();
    EXPECT_EQ(notifyTransportSetDeviceRoot(scratch.c_str()), kCFNotificationStatusTransportFailed);
    testing::internal::GetCapturedStderr();

    EXPECT_EQ(notifyTransportSetDeviceRoot(""), kCFNotificationStatusInvalidArgument);
}

// ---- peers that do not read, and entries that are not peers

// A datagram socket bound at `path` that the test reads only when it wants to.
int boundSocket(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << path;
    return fd;
}

int drain(int fd)
{
    char buffer[256];
    int count = 0;
    while (recv(fd, buffer, sizeof buffer, MSG_DONTWAIT) > 0)
        ++count;
    return count;
}

class DeafPeers : public testing::Test {
protected:
    DeafPeers()
    {
        char pattern[] = "/tmp/rvx-deaf-XXXXXX";
        directory = mkdtemp(pattern);
        chmod(directory.c_str(), 0700);
        Result<void> opened = poster.open(directory);
        EXPECT_TRUE(opened) << opened.error();
    }
    ~DeafPeers() override
    {
        poster.close();
        for (int fd : sockets)
            close(fd);
        fs::remove_all(directory);
    }
    int peer(int number)
    {
        char name[32];
        std::snprintf(name, sizeof name, "%d.%08x", 900000 + number, unsigned(number));
        sockets.push_back(boundSocket(directory + "/" + name));
        return sockets.back();
    }
    NotifyTransport::SendReport post()
    {
        Result<NotifyTransport::SendReport> sent = poster.send("com.example.changed");
        EXPECT_TRUE(sent) << sent.error();
        return sent ? *sent : NotifyTransport::SendReport();
    }

    std::string directory;
    NotifyTransport poster;
    std::vector<int> sockets;
};

TEST_F(DeafPeers, ThirtyStoppedObserversDoNotStarveALiveOne)
{
    for (int i = 0; i < 30; ++i)
        peer(i);
    int live = peer(99);
    int heardByLive = 0;
    NotifyTransport::SendReport last;
    for (int i = 0; i < 40; ++i) {
        last = post();
        heardByLive += drain(live);
    }
    EXPECT_EQ(heardByLive, 40);
    EXPECT_EQ(last.peers, 31u);
    EXPECT_EQ(last.reached, 1u);
    EXPECT_EQ(last.full, 30u);
}

TEST_F(DeafPeers, APeerThatStaysFullIsForgottenAndHeardAgainOnceItReads)
{
    int deaf = peer(1);
    NotifyTransport::SendReport report;
    auto start = std::chrono::steady_clock::now();
    while (poster.forgottenPeers() == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
        report = post();
        usleep(20 * 1000);
    }
    EXPECT_EQ(poster.forgottenPeers(), 1u);
    report = post();
    EXPECT_EQ(report.forgotten, 1u);
    EXPECT_EQ(report.reached, 0u);

    // It wakes and reads: the next probe reaches it, and it is live again.
    EXPECT_GT(drain(deaf), 0);
    start = std::chrono::steady_clock::now();
    while (report.reached == 0 && std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
        usleep(50 * 1000);
        report = post();
    }
    EXPECT_EQ(report.reached, 1u);
    EXPECT_EQ(post().reached, 1u);
}

TEST_F(DeafPeers, OnlySocketsOfThisUserAreSentToOrRemoved)
{
    // A regular file named like an endpoint, and a link to a live socket elsewhere.
    std::string file = directory + "/123.abcdef01";
    { std::ofstream(file) << "not a socket"; }
    std::string elsewhere = directory + "-elsewhere.sock";
    int outside = boundSocket(elsewhere);
    fs::create_symlink(elsewhere, directory + "/124.abcdef02");
    NotifyTransport::SendReport report = post();
    EXPECT_EQ(report.peers, 0u);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_TRUE(fs::is_symlink(directory + "/124.abcdef02"));
    EXPECT_EQ(drain(outside), 0) << "the post followed the link";
    close(outside);
    unlink(elsewhere.c_str());

    // A socket of ours whose process is gone is still removed.
    int gone = peer(7);
    close(gone);
    sockets.pop_back();
    post();
    EXPECT_FALSE(fs::exists(directory + "/900007.00000007"));
}

TEST_F(DeafPeers, TheDirectoryGoesWithItsLastEndpointAndComesBackForTheNext)
{
    NotifyTransport observer;
    ASSERT_TRUE(observer.open(directory));
    Result<void> bound = observer.bind();
    ASSERT_TRUE(bound) << bound.error();
    observer.unbind();
    EXPECT_FALSE(fs::exists(directory));
    EXPECT_EQ(post().peers, 0u); // no directory: nobody to reach, and no failure
    bound = observer.bind();
    ASSERT_TRUE(bound) << bound.error();
    EXPECT_TRUE(fs::exists(directory));
    EXPECT_EQ(post().reached, 1u);
    EXPECT_EQ(observer.receive(10).size(), 1u);
}

TEST_F(DeafPeers, ARefusalSaysWhatWasRefusedAndWhy)
{
    EXPECT_TRUE(NotifyTransport::makePrivateDirectory(directory));

    std::string link = directory + "-link";
    fs::create_directory_symlink(directory, link);
    std::string file = directory + "-file";
    { std::ofstream(file) << "x"; }
    for (const std::string& path : {link, file}) {
        Result<void> made = NotifyTransport::makePrivateDirectory(path);
        ASSERT_FALSE(made) << path;
        EXPECT_EQ(made.error(), "the notification directory " + path + " is a link or not a directory; refusing it");
    }
    fs::remove(link);
    fs::remove(file);

    NotifyTransport unopened;
    std::string deep = directory + "/" + std::string(100, 'd');
    Result<void> opened = unopened.open(deep);
    ASSERT_FALSE(opened);
    EXPECT_EQ(opened.error(), "the notification directory " + deep + " is too long for a socket path");
    Result<void> bound = unopened.bind();
    ASSERT_FALSE(bound);
    EXPECT_EQ(bound.error(), "no notification directory");
    EXPECT_FALSE(unopened.send("com.example.changed"));
}

TEST_F(NotifyTransportTest, APostThatReachesNoLiveProcessSaysSo)
{
    std::string endpoint = std::string(notifyTransportDirectory()) + "/999999.deadbeef";
    int deaf = boundSocket(endpoint);
    testing::internal::CaptureStderr();
    for (int i = 0; i < 30; ++i)
        post("com.example.changed");
    std::string said = testing::internal::GetCapturedStderr();
    CFNotificationPostReach reach = notifyTransportLastPostReach();
    EXPECT_EQ(reach.endpoints, 1u);
    EXPECT_EQ(reach.reached, 0u);
    EXPECT_EQ(reach.full, 1u);
    EXPECT_NE(said.find("com.example.changed reached no other process"), std::string::npos) << said;
    // Said once, not once a post.
    EXPECT_EQ(said.find("reached no other process", said.find("reached no other process") + 1), std::string::npos) << said;
    close(deaf);
    unlink(endpoint.c_str());
}

TEST(NotifyNames, OnlyNamesThatFitAreCarried)
{
    EXPECT_TRUE(isValidNotificationName("a"));
    EXPECT_TRUE(isValidNotificationName(std::string(128, 'x')));
    EXPECT_FALSE(isValidNotificationName(std::string(129, 'x')));
    EXPECT_FALSE(isValidNotificationName(""));
    EXPECT_FALSE(isValidNotificationName(std::string_view("a\0b", 3)));
}

} // namespace
