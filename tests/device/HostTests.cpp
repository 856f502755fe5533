// Both host programs as processes: boot, status and shutdown cover both, and one host
// killed leaves the other serving and the Settings file sound.

#include "DeviceFixture.h"

#include "control/ControlSocket.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

class Hosts : public DeviceFixture {
protected:
    pid_t pidOf(const char* host) { return pid_t(json::numeric(json::member(json::member(ask("boot"), host), "pid"))); }
    bool answers(const char* host)
    {
        return json::flag(json::member(ask("status"), host));
    }
};

TEST_F(Hosts, BootStartsBothAndShutdownStopsBoth)
{
    createAndBoot();
    json::Value status = ask("status");
    EXPECT_TRUE(json::flag(json::member(status, "springboard")));
    EXPECT_TRUE(json::flag(json::member(status, "settings")));
    json::Value again = ask("boot");
    EXPECT_EQ(json::text(json::member(json::member(again, "settings"), "host")), "settings");
    EXPECT_GE(json::numeric(json::member(json::member(again, "settings"), "entries")), 1) << "the Ruvex Pro entry is listed";
    EXPECT_EQ(json::numeric(json::member(ask("settings"), "depth")), 1) << "the Settings list on top";

    EXPECT_EQ(json::numeric(json::member(ask("shutdown"), "stopped")), 2);
    status = ask("status");
    EXPECT_EQ(json::member(status, "springboard"), false);
    EXPECT_EQ(json::member(status, "settings"), false);
    RunResult notBooted = ruvex("settings rows");
    EXPECT_EQ(notBooted.status, 1);
    EXPECT_NE(notBooted.err.find("not booted"), std::string::npos) << notBooted.err;
}

TEST_F(Hosts, KillingTheSettingsHostLeavesTheShellAndTheFile)
{
    createAndBoot();
    ask("settings open");
    std::string dismiss = rowOf("Hide Center After Closing");
    ask("settings switch " + dismiss + " on");
    ASSERT_EQ(kill(pidOf("settings"), SIGKILL), 0);
    ASSERT_TRUE(waitUntil([&] { return !answers("settings"); }));

    EXPECT_TRUE(answers("springboard"));
    ask("launch com.apple.mobilemail");
    ask("home");
    ask("nc open");
    json::Value tap = ask("nc tap bar");
    EXPECT_EQ(json::items(json::member(tap, "closed")).size(), 1u);
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings) << "the Settings file parses";
    EXPECT_EQ(settings->objectForKey("Dismiss")->boolValue(), true);
    EXPECT_EQ(settings->objectForKey("Count")->intValue(), 1);

    // A second boot starts the missing host in place of the dead one's socket.
    ask("boot");
    EXPECT_TRUE(answers("settings"));
    EXPECT_EQ(pidOf("springboard"), pidOf("springboard"));
}

TEST_F(Hosts, KillingTheShellLeavesTheSettingsHostWriting)
{
    createAndBoot();
    ask("nc open");
    ask("nc tap bar");
    ASSERT_EQ(kill(pidOf("springboard"), SIGKILL), 0);
    ASSERT_TRUE(waitUntil([&] { return !answers("springboard"); }));

    EXPECT_TRUE(answers("settings"));
    ask("settings open RVXExtrasController");
    ask("settings switch " + rowOf("Hide Info Button") + " on");
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings) << "the Settings file parses";
    EXPECT_EQ(settings->objectForKey("HideAlpha")->boolValue(), true);
    EXPECT_EQ(settings->objectForKey("Count")->intValue(), 1) << "the shell's count is kept";
}

} // namespace

namespace {

class Demo : public DeviceFixture { };

size_t countOf(const std::string& text, const std::string& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(Demo, RunsWholeAndRunsAgainOnTheSameDevice)
{
    for (int run = 0; run < 2; ++run) {
        if (run == 1)
            std::ofstream(device() + "/demo/holiday.png") << "the user's own picture";
        RunResult demo = ruvex("demo");
        ASSERT_EQ(demo.status, 0) << "run " << run << ": " << demo.err << demo.out;
        EXPECT_EQ(countOf(demo.out, "\n  "), 5u) << "one run's five pictures, listed once: " << demo.out;
        EXPECT_NE(demo.out.find("closed com.apple.newsstand"), std::string::npos) << demo.out;
        EXPECT_NE(demo.out.find("ruvex boot && ruvex window"), std::string::npos) << "it tells how to try the window";
    }
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings);
    EXPECT_EQ(*settings->objectForKey("Label")->string(), "Close them all");
    EXPECT_EQ(*settings->objectForKey("TextColor")->string(), "0.000000,1.000000,1.000000,1.000000");
    EXPECT_EQ(settings->objectForKey("com.apple.Music")->boolValue(), true);
    EXPECT_EQ(settings->objectForKey("Count")->intValue(), 2);
    EXPECT_EQ(json::member(ask("status"), "springboard"), false) << "the demo shuts the device down";
    EXPECT_TRUE(std::filesystem::exists(device() + "/demo/holiday.png")) << "the demo removes only its own pictures";
    EXPECT_EQ(ruvex("device erase").status, 0);
    EXPECT_TRUE(std::filesystem::exists(device() + "/demo/holiday.png")) << "erase removes only the demo's own pictures";
    EXPECT_FALSE(std::filesystem::exists(device() + "/demo/1-center-open.png"));
}

} // namespace

// ---- hostile use of a running device

namespace {

// A listener at a host's socket that takes connections and never answers.
struct DeafHost {
    explicit DeafHost(const std::string& device, const char* host)
    {
        [[maybe_unused]] Result<void> made = control::makeSocketDirectory(device);
        path = control::socketPath(device, host);
        fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_un address {};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
        bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(fd, 16);
    }
    ~DeafHost()
    {
        close(fd);
        unlink(path.c_str());
    }
    std::string path;
    int fd;
};

} // namespace

TEST_F(Hosts, StatusTellsBusyFromNotRunningAndRefusesAStrangersFolder)
{
    ASSERT_EQ(ruvex("device create").status, 0);
    {
        DeafHost deaf(device(), "springboard");
        RunResult status = ruvex("status");
        EXPECT_EQ(status.status, 0);
        EXPECT_NE(status.out.find("springboard: busy"), std::string::npos) << status.out;
        EXPECT_NE(status.out.find("settings: not running"), std::string::npos) << status.out;
        EXPECT_EQ(json::text(json::member(json::member(ask("status"), "state"), "springboard")), "busy");
        RunResult boot = ruvex("boot");
        EXPECT_EQ(boot.status, 1);
        EXPECT_NE(boot.err.find("springboard is busy"), std::string::npos) << boot.err;
    }
    // A socket folder others may enter is not trusted: one clear line, exit 1.
    std::string folder = control::socketDirectory(device());
    chmod(folder.c_str(), 0755);
    for (const char* verb : { "status", "boot", "apps" }) {
        RunResult refused = ruvex(verb);
        EXPECT_EQ(refused.status, 1) << verb;
        EXPECT_NE(refused.err.find("open to other users; refusing it"), std::string::npos) << verb << ": " << refused.err;
    }
    rmdir(folder.c_str());
}

TEST_F(Hosts, BadUseOfTheShellsVerbsExitsTwoNamingTheWord)
{
    createAndBoot();
    const std::pair<const char*, const char*> cases[] = {
        { "nc tap 10", "'10'" },
        { "nc tap a b", "'a'" },
        { "nc tap 1 nan", "'nan'" },
        { "nc tap 1 2 3", "fewer arguments" },
        { "launch \"$(printf 'com.apple\\tMusic')\"", "tab" },
        { "screenshot springboard ''", "empty" },
        { "screenshot springboard x.png --scale 1e-300", "'1e-300'" },
        { "screenshot settings x.png --scale 9", "'9'" },
    };
    for (const auto& [arguments, named] : cases) {
        RunResult result = ruvex(arguments);
        EXPECT_EQ(result.status, 2) << arguments << ": " << result.err;
        EXPECT_NE(result.err.find(named), std::string::npos) << arguments << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << arguments << ": " << result.err;
    }
    // Words go as sent: a carriage return is no part of an app's identifier.
    EXPECT_EQ(ruvex("launch \"$(printf 'com.apple.Music\\r')\"").status, 1);
    EXPECT_TRUE(json::items(json::member(ask("switcher"), "switcher")).empty());
}

TEST_F(Hosts, AScreenshotIntoAFifoIsRefusedAndTheHostsServeOn)
{
    createAndBoot();
    std::string fifo = device() + "/f";
    mkfifo(fifo.c_str(), 0600);
    for (const char* host : { "springboard", "settings" }) {
        RunResult shot = ruvex(std::string("screenshot ") + host + " " + shellQuoted(fifo));
        EXPECT_EQ(shot.status, 1) << host;
        EXPECT_NE(shot.err.find("a FIFO"), std::string::npos) << shot.err;
    }
    json::Value status = ask("status");
    EXPECT_TRUE(json::flag(json::member(status, "springboard")));
    EXPECT_TRUE(json::flag(json::member(status, "settings")));
    // A good picture replaces an old one whole.
    std::string picture = device() + "/shot.png";
    ASSERT_EQ(ruvex("screenshot springboard " + shellQuoted(picture)).status, 0);
    EXPECT_GT(std::filesystem::file_size(picture), 100u);
}

TEST_F(Hosts, ShutdownTakesTheDevicesSocketAndNotifyFoldersAway)
{
    createAndBoot();
    std::string sockets = control::socketDirectory(device());
    std::string notify = std::string("/tmp/rvx-notify-") + std::to_string(geteuid()) + "/"
        + std::filesystem::path(sockets).filename().string();
    EXPECT_TRUE(std::filesystem::exists(sockets));
    EXPECT_TRUE(std::filesystem::exists(notify));
    ASSERT_EQ(ruvex("shutdown").status, 0);
    EXPECT_FALSE(std::filesystem::exists(sockets));
    EXPECT_FALSE(std::filesystem::exists(notify));
    // And a boot after makes them again.
    ASSERT_EQ(ruvex("boot").status, 0);
    EXPECT_TRUE(std::filesystem::exists(sockets));
}

TEST_F(Hosts, ALinkedLogOrABrokenBundleIsToldNotFollowedOrHidden)
{
    ASSERT_EQ(ruvex("device create").status, 0);
    // The shell's log linked out of the device: boot refuses, nothing written there.
    std::string outside = device() + "-outside.log";
    std::filesystem::create_directories(device() + "/var/log");
    std::filesystem::create_symlink(outside, device() + "/var/log/springboard.log");
    RunResult boot = ruvex("boot");
    EXPECT_EQ(boot.status, 1);
    EXPECT_NE(boot.err.find("it is a link"), std::string::npos) << boot.err;
    EXPECT_FALSE(std::filesystem::exists(outside));
    std::filesystem::remove(device() + "/var/log/springboard.log");
    ruvex("shutdown");

    // The widget's binary cut short: the shell runs without it and boot says why.
    std::string binary = device() + "/System/Library/WeeAppPlugins/RuvexPro.bundle/RuvexPro";
    std::filesystem::resize_file(binary, std::filesystem::file_size(binary) / 2);
    boot = ruvex("boot");
    EXPECT_EQ(boot.status, 0) << boot.err;
    EXPECT_NE(boot.out.find("0 widget(s)"), std::string::npos) << boot.out;
    EXPECT_NE(boot.err.find("warning: widget /System/Library/WeeAppPlugins/RuvexPro.bundle skipped: its executable RuvexPro cannot be loaded: it is truncated"),
        std::string::npos) << boot.err;
}

TEST_F(Hosts, SettingsNamesTheFilesItCouldNotRead)
{
    ASSERT_EQ(ruvex("device create").status, 0);
    auto garbage = [](const std::string& path) {
        FILE* file = fopen(path.c_str(), "w");
        ASSERT_TRUE(file) << path;
        fputs("this is not a property list", file);
        fclose(file);
    };
    garbage(device() + "/Library/PreferenceLoader/Preferences/Broken.plist");
    garbage(device() + "/Library/PreferenceBundles/RuvexProprefs.bundle/RVXExtrasController.plist");
    RunResult boot = ruvex("boot");
    ASSERT_EQ(boot.status, 0) << boot.err;
    EXPECT_NE(boot.err.find("warning: Settings entry /Library/PreferenceLoader/Preferences/Broken.plist skipped"),
        std::string::npos) << boot.err;

    ASSERT_EQ(ruvex("settings open").status, 0);
    RunResult open = ruvex("settings open RVXExtrasController");
    EXPECT_EQ(open.status, 0) << open.err;
    EXPECT_NE(open.err.find("warning: pane /Library/PreferenceBundles/RuvexProprefs.bundle/RVXExtrasController.plist shows no rows"),
        std::string::npos) << open.err;
    // The warning belongs to the request that met it, not to every later one.
    EXPECT_EQ(ruvex("settings").err.find("warning"), std::string::npos);
}
