// A host's control socket against clients that do not play fair: silent, slow, deaf to the
// reply, too long, too many; and the client against a socket it must not trust. Each case
// runs in a child with an alarm, since a fault here is a hang.

#include "ChildProcess.h"

#include "control/ControlClient.h"
#include "control/ControlServer.h"
#include "corefoundation/CFRunLoop.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include <pwd.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A private folder pair like the hosts' own: base/device/host.sock, both 0700.
struct SocketFolder {
    SocketFolder()
    {
        char pattern[] = "/tmp/rvx-serving-XXXXXX";
        base = mkdtemp(pattern);
        chmod(base.c_str(), 0700);
        folder = base + "/device";
        mkdir(folder.c_str(), 0700);
        path = folder + "/test.sock";
    }
    ~SocketFolder()
    {
        std::error_code ignored;
        fs::remove_all(base, ignored);
    }
    std::string base, folder, path;
};

int connectTo(const std::string& path)
{
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address {};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// What lies waiting on the socket now, without waiting for more.
std::string waiting(int fd)
{
    std::string text;
    char buffer[65536];
    ssize_t got;
    while ((got = recv(fd, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
        text.append(buffer, size_t(got));
    return text;
}

// Serves the main run loop until `client` has run on its own thread.
void serveWhile(const std::function<void()>& client)
{
    std::atomic<bool> done = false;
    std::thread thread([&] {
        client();
        done = true;
        RunLoop::main().wake();
    });
    RunLoop::main().runUntil([&] { return done.load(); }, 30);
    thread.join();
}

std::string echo(const control::Words& words)
{
    if (words[0] == "big")
        return "{\"ok\":true,\"text\":\"" + std::string(1 << 20, 'x') + "\"}";
    std::string text;
    for (const std::string& word : words)
        text += "[" + std::to_string(word.size()) + "]";
    return "{\"ok\":true,\"text\":\"" + text + "\"}";
}

TEST(HostServing, SilentAndSlowClientsDelayNoOneAndAreCutOffAtTheirDeadline)
{
    ChildOutcome outcome = runInChild([]() -> std::string {
        SocketFolder place;
        ControlServer server;
        if (Result<void> listening = server.listen(place.path, echo); !listening)
            return listening.error();
        std::string problem;
        serveWhile([&] {
            std::vector<int> silent;
            for (int i = 0; i < 10; ++i)
                silent.push_back(connectTo(place.path));
            int slow = connectTo(place.path);
            if (send(slow, "pi", 2, MSG_NOSIGNAL) != 2)
                problem = "the slow client could not send";
            // Eleven clients hold connections open; a fair one is answered before any of them.
            control::Exchange fair = control::request(place.path, { "ping" }, 10);
            if (fair.outcome != control::Outcome::Replied)
                problem = "the fair client got no reply: " + fair.error;
            for (int fd : silent)
                if (!waiting(fd).empty())
                    problem = "a silent client was answered before the fair one";
            // The slow client goes on a byte at a time; its one deadline still ends it.
            std::string answer;
            for (int i = 0; i < 40 && answer.empty(); ++i) {
                send(slow, "n", 1, MSG_NOSIGNAL);
                usleep(200 * 1000);
                answer = waiting(slow);
            }
            if (answer.find("no whole request line within 2 s") == std::string::npos)
                problem = "the slow client was not cut off: '" + answer + "'";
            for (int fd : silent)
                close(fd);
            close(slow);
        });
        if (!problem.empty())
            return problem;
        return server.connectionsTimedOut() >= 11 ? "" : "only " + std::to_string(server.connectionsTimedOut()) + " timed out";
    }, 20);
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

TEST(HostServing, AClientThatDoesNotReadALargeReplyIsDroppedWithoutHoldingTheHost)
{
    ChildOutcome outcome = runInChild([]() -> std::string {
        SocketFolder place;
        ControlServer server;
        ControlServer::Limits limits;
        limits.replySeconds = 1;
        server.setLimits(limits);
        if (Result<void> listening = server.listen(place.path, echo); !listening)
            return listening.error();
        std::string problem;
        serveWhile([&] {
            int deaf = connectTo(place.path);
            send(deaf, "big\n", 4, MSG_NOSIGNAL);
            usleep(100 * 1000);
            control::Exchange fair = control::request(place.path, { "ping" }, 10);
            if (fair.outcome != control::Outcome::Replied)
                problem = "the host was held by the deaf client: " + fair.error;
            // Past its deadline the deaf client's connection is closed: reading ends short.
            usleep(1500 * 1000);
            std::string got;
            char buffer[65536];
            ssize_t count;
            while ((count = recv(deaf, buffer, sizeof buffer, 0)) > 0)
                got.append(buffer, size_t(count));
            if (got.size() >= (1u << 20))
                problem = "the deaf client got the whole reply after its deadline";
            close(deaf);
        });
        return problem;
    }, 20);
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

TEST(HostServing, RequestsAreTakenAsSentAndAnOversizeOneIsTooLong)
{
    ChildOutcome outcome = runInChild([]() -> std::string {
        SocketFolder place;
        ControlServer server;
        if (Result<void> listening = server.listen(place.path, echo); !listening)
            return listening.error();
        std::string problem;
        serveWhile([&] {
            // A carriage return is part of the word it ends.
            control::Exchange cr = control::request(place.path, { "launch", "com.apple.Music\r" }, 5);
            if (cr.reply.find("[6][16]") == std::string::npos)
                problem = "the carriage return was taken off: " + cr.reply;
            int fd = connectTo(place.path);
            std::string huge(70 * 1024, 'a');
            send(fd, huge.data(), huge.size(), MSG_NOSIGNAL);
            std::string answer;
            for (int i = 0; i < 50 && answer.find('\n') == std::string::npos; ++i) {
                usleep(20 * 1000);
                answer += waiting(fd);
            }
            if (answer.find("request too long") == std::string::npos || answer.find("\"usage\":true") == std::string::npos)
                problem = "the oversize request was answered '" + answer.substr(0, 200) + "'";
            close(fd);
        });
        return problem;
    }, 20);
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

TEST(HostServing, ConnectionsBeyondTheBoundAreToldBusyAndTheRestServed)
{
    ChildOutcome outcome = runInChild([]() -> std::string {
        SocketFolder place;
        ControlServer server;
        ControlServer::Limits limits;
        limits.maxConnections = 8;
        server.setLimits(limits);
        if (Result<void> listening = server.listen(place.path, echo); !listening)
            return listening.error();
        std::string problem;
        serveWhile([&] {
            std::vector<int> held;
            for (int i = 0; i < 8; ++i)
                held.push_back(connectTo(place.path));
            usleep(100 * 1000);
            control::Exchange extra = control::request(place.path, { "ping" }, 5);
            if (extra.reply.find("too many connections") == std::string::npos)
                problem = "a connection beyond the bound got '" + extra.reply + "' " + extra.error;
            for (int fd : held)
                close(fd);
            usleep(100 * 1000);
            if (control::request(place.path, { "ping" }, 5).outcome != control::Outcome::Replied)
                problem = "the host did not serve again once the others left";
        });
        return problem;
    }, 20);
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
}

TEST(ControlClientTrust, FoldersAndSocketsThatAreNotSafelyOursAreRefused)
{
    struct Case {
        const char* name;
        std::function<void(SocketFolder&)> spoil;
    };
    const Case cases[] = {
        { "folder open to others", [](SocketFolder& p) { chmod(p.folder.c_str(), 0755); } },
        { "base open to others", [](SocketFolder& p) { chmod(p.base.c_str(), 0777); } },
        { "folder is a link", [](SocketFolder& p) {
              fs::rename(p.folder, p.base + "/real");
              fs::create_directory_symlink(p.base + "/real", p.folder);
          } },
        { "socket is a regular file", [](SocketFolder& p) {
              unlink(p.path.c_str());
              FILE* file = fopen(p.path.c_str(), "w");
              fclose(file);
          } },
    };
    int tried = 0;
    for (const Case& c : cases) {
        SocketFolder place;
        int listener = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", place.path.c_str());
        ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        listen(listener, 4);
        c.spoil(place);
        control::Exchange exchange = control::request(place.path, { "ping" }, 2);
        EXPECT_EQ(exchange.outcome, control::Outcome::Refused) << c.name << ": " << exchange.error;
        EXPECT_NE(exchange.error.find("refusing"), std::string::npos) << c.name << ": " << exchange.error;
        close(listener);
        ++tried;
    }
    EXPECT_EQ(tried, 4);
}

TEST(ControlClientTrust, AListenerOfAnotherUserIsRefusedWithoutSendingTheRequest)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs to become another user";
    passwd* nobody = getpwnam("nobody");
    ASSERT_TRUE(nobody);
    SocketFolder place;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        // Bound as us, so that the file looks ours; listening as another user.
        int listener = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", place.path.c_str());
        if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || setgid(nobody->pw_gid) != 0
            || setuid(nobody->pw_uid) != 0 || listen(listener, 4) != 0)
            _exit(1);
        [[maybe_unused]] ssize_t w = write(ready[1], "r", 1);
        alarm(10);
        int connection = accept(listener, nullptr, nullptr);
        char buffer[64];
        ssize_t got = recv(connection, buffer, sizeof buffer, 0);
        _exit(got > 0 ? 3 : 0); // 3: the request reached the stranger
    }
    char byte;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    control::Exchange exchange = control::request(place.path, { "settings", "type", "secret" }, 2);
    EXPECT_EQ(exchange.outcome, control::Outcome::Refused);
    EXPECT_NE(exchange.error.find("another user"), std::string::npos) << exchange.error;
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the request reached the other user's listener";
    close(ready[0]);
    close(ready[1]);
}

} // namespace
