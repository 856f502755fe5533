// Both host programs as processes: boot, status and shutdown cover both, and one host
// killed leaves the other serving and the Settings file sound.

#include "DeviceFixture.h"

#include <csignal>
#include <filesystem>
#include <fstream>

namespace {

class Hosts : public DeviceFixture {
protected:
    pid_t pidOf(const char* host) { return pid_t(ask("boot")[host]["pid"].asNumber()); }
    bool answers(const char* host)
    {
        return ask("status")[host].asBool();
    }
};

TEST_F(Hosts, BootStartsBothAndShutdownStopsBoth)
{
    createAndBoot();
    JsonValue status = ask("status");
    EXPECT_TRUE(status["springboard"].asBool());
    EXPECT_TRUE(status["settings"].asBool());
    JsonValue again = ask("boot");
    EXPECT_EQ(again["settings"]["host"].asString(), "settings");
    EXPECT_GE(again["settings"]["entries"].asNumber(), 1) << "the Ruvex Pro entry is listed";
    EXPECT_EQ(ask("settings")["depth"].asNumber(), 1) << "the Settings list on top";

    EXPECT_EQ(ask("shutdown")["stopped"].asNumber(), 2);
    status = ask("status");
    EXPECT_FALSE(status["springboard"].asBool(true));
    EXPECT_FALSE(status["settings"].asBool(true));
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
    JsonValue tap = ask("nc tap bar");
    EXPECT_EQ(tap["closed"].items().size(), 1u);
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
    }
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings);
    EXPECT_EQ(*settings->objectForKey("Label")->string(), "Close them all");
    EXPECT_EQ(*settings->objectForKey("TextColor")->string(), "0.000000,1.000000,1.000000,1.000000");
    EXPECT_EQ(settings->objectForKey("com.apple.Music")->boolValue(), true);
    EXPECT_EQ(settings->objectForKey("Count")->intValue(), 2);
    EXPECT_FALSE(ask("status")["springboard"].asBool(true)) << "the demo shuts the device down";
    EXPECT_TRUE(std::filesystem::exists(device() + "/demo/holiday.png")) << "the demo removes only its own pictures";
    EXPECT_EQ(ruvex("device erase").status, 0);
    EXPECT_TRUE(std::filesystem::exists(device() + "/demo/holiday.png")) << "erase removes only the demo's own pictures";
    EXPECT_FALSE(std::filesystem::exists(device() + "/demo/1-center-open.png"));
}

} // namespace
