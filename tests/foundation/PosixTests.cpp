#include "foundation/Posix.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <dlfcn.h>
#include <fcntl.h>
#include <fstream>
#include <pthread.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Reads the platform makes while armed are cut short: each call first fails with EINTR, then
// hands over a single byte, as a signal arriving mid-read would leave it.
std::atomic<int> gInterruptedReads {-1};

} // namespace

extern "C" ssize_t read(int fd, void* buffer, size_t count)
{
    using ReadFunction = ssize_t (*)(int, void*, size_t);
    static auto real = reinterpret_cast<ReadFunction>(dlsym(RTLD_NEXT, "read"));
    if (gInterruptedReads >= 0 && count > 0) {
        if (gInterruptedReads++ % 2 == 0) {
            errno = EINTR;
            return -1;
        }
        count = 1;
    }
    return real(fd, buffer, count);
}

namespace {

std::string written(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

} // namespace

TEST(ReadRegularFile, ReadsWholeFilesUpToTheBoundOnly)
{
    TestDevice device;
    std::string big(200000, '\0');
    for (size_t i = 0; i < big.size(); ++i)
        big[i] = char(i * 7 + i / 251);
    std::string path = written(device.hostPath("/big"), big);

    Result<std::string> whole = posix::readRegularFile(path, big.size());
    ASSERT_TRUE(whole) << whole.error();
    EXPECT_EQ(*whole, big);

    Result<std::string> tooBig = posix::readRegularFile(path, big.size() - 1);
    ASSERT_FALSE(tooBig);
    EXPECT_NE(tooBig.error().find(path), std::string::npos);

    EXPECT_EQ(*posix::readRegularFile(written(device.hostPath("/empty"), ""), 0), "");
    Result<std::string> missing = posix::readRegularFile(device.hostPath("/missing"), 100);
    ASSERT_FALSE(missing);
    EXPECT_NE(missing.error().find("No such file"), std::string::npos);
}

TEST(ReadRegularFile, RefusesFifosDevicesAndDirectoriesWithoutWaiting)
{
    TestDevice device;
    // A FIFO with no writer: a blocking open would wait here for ever.
    std::string fifo = device.hostPath("/fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    Result<std::string> fromFifo = posix::readRegularFile(fifo, 1 << 20);
    ASSERT_FALSE(fromFifo);
    EXPECT_NE(fromFifo.error().find("not a regular file"), std::string::npos);

    // A device that never ends, and one that is empty: neither is a file's contents.
    EXPECT_FALSE(posix::readRegularFile("/dev/zero", 1 << 20));
    EXPECT_FALSE(posix::readRegularFile("/dev/null", 1 << 20));
    EXPECT_FALSE(posix::readRegularFile(device.root(), 1 << 20));

    // A link to a regular file is that file.
    std::string target = written(device.hostPath("/target"), "through the link");
    std::string link = device.hostPath("/link");
    ASSERT_EQ(symlink(target.c_str(), link.c_str()), 0);
    EXPECT_EQ(*posix::readRegularFile(link, 100), "through the link");
}

TEST(ReadRegularFile, ResumesAfterSignalsAndShortReads)
{
    TestDevice device;
    std::string path = written(device.hostPath("/plist"), "<plist>interrupted again and again</plist>");
    gInterruptedReads = 0;
    Result<std::string> bytes = posix::readRegularFile(path, 100);
    int reads = gInterruptedReads.exchange(-1);
    ASSERT_TRUE(bytes) << bytes.error();
    EXPECT_EQ(*bytes, "<plist>interrupted again and again</plist>");
    EXPECT_GT(reads, 40); // each byte came after an interruption
}

namespace {

std::atomic<int> gSignals {0};

void countSignal(int)
{
    ++gSignals;
}

} // namespace

TEST(WriteAll, WritesEverythingThroughSignalsAndShortWrites)
{
    // A handler without SA_RESTART: a write blocked on a full pipe returns early.
    struct sigaction action {}, previous {};
    action.sa_handler = countSignal;
    sigemptyset(&action.sa_mask);
    ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);

    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    posix::FileDescriptor reader(ends[0]), writer(ends[1]);
    std::string payload(1 << 20, 'x');
    for (size_t i = 0; i < payload.size(); i += 4093)
        payload[i] = char('a' + i % 26);

    pthread_t writingThread = pthread_self();
    gSignals = 0;
    std::string received;
    std::thread drain([&] {
        // Interrupt the writer while the pipe is full, then read it all.
        while (gSignals < 5) {
            pthread_kill(writingThread, SIGUSR1);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        char buffer[4096];
        ssize_t got;
        while ((got = ::read(reader.get(), buffer, sizeof buffer)) != 0) {
            if (got > 0)
                received.append(buffer, size_t(got));
        }
    });
    Result<void> result = posix::writeAll(writer.get(), payload);
    EXPECT_TRUE(writer.close());
    drain.join();
    sigaction(SIGUSR1, &previous, nullptr);

    ASSERT_TRUE(result) << result.error();
    EXPECT_GE(gSignals, 5);
    EXPECT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload);

    // A reader gone: the failure carries the reason.
    int closed[2];
    ASSERT_EQ(pipe(closed), 0);
    ::close(closed[0]);
    posix::FileDescriptor orphan(closed[1]);
    signal(SIGPIPE, SIG_IGN);
    Result<void> broken = posix::writeAll(orphan.get(), "lost");
    ASSERT_FALSE(broken);
    EXPECT_NE(broken.error().find("Broken pipe"), std::string::npos);
}

TEST(FileDescriptor, ClosesOnceWhoeverOwnsIt)
{
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    {
        posix::FileDescriptor first(ends[0]);
        posix::FileDescriptor second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.get(), ends[0]);
        posix::FileDescriptor third;
        third = std::move(second);
        EXPECT_NE(fcntl(ends[0], F_GETFD), -1); // still open
    }
    EXPECT_EQ(fcntl(ends[0], F_GETFD), -1); // closed by the last owner
    EXPECT_EQ(errno, EBADF);

    posix::FileDescriptor kept(ends[1]);
    int released = kept.release();
    EXPECT_TRUE(kept.close()); // nothing held, nothing closed
    EXPECT_NE(fcntl(released, F_GETFD), -1);
    EXPECT_EQ(::close(released), 0);
}

TEST(UnixAddress, FitsThePathOrSaysWhy)
{
    Result<sockaddr_un> address = posix::unixAddress("/tmp/rvx/socket");
    ASSERT_TRUE(address);
    EXPECT_EQ(address->sun_family, AF_UNIX);
    EXPECT_STREQ(address->sun_path, "/tmp/rvx/socket");

    std::string longest(sizeof address->sun_path - 1, 'a');
    EXPECT_TRUE(posix::unixAddress(longest));
    Result<sockaddr_un> tooLong = posix::unixAddress(longest + "a");
    ASSERT_FALSE(tooLong);
    EXPECT_EQ(tooLong.error(), "socket path too long: " + longest + "a");
    // Neither would name the socket meant: the empty path an abstract one, a NUL a shorter one.
    EXPECT_FALSE(posix::unixAddress(""));
    EXPECT_FALSE(posix::unixAddress(std::string("/tmp/a\0b", 8)));
}

TEST(ResultType, HoldsAValueOrAReason)
{
    Result<int> seven = 7;
    ASSERT_TRUE(seven.ok());
    EXPECT_EQ(*seven, 7);
    Result<std::string> failed = Failure {"no room"};
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.error(), "no room");
    Result<void> done;
    EXPECT_TRUE(done);
    EXPECT_FALSE(Result<void>(Failure {"x"}));

    // A value moved out leaves the result, not a copy of it.
    Result<std::string> text = std::string(100, 'y');
    std::string taken = std::move(text).value();
    EXPECT_EQ(taken.size(), 100u);

    // Asking a failure for its value is a fault, not a default-made value.
    EXPECT_DEATH((void)failed.value(), "");
    EXPECT_DEATH((void)seven.error(), "");
}
