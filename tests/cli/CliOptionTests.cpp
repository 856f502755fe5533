// How the ruvex command reads its line: global options only before the verb, "--" ends
// them, help only where it cannot be a value; and its JSON is valid whatever it echoes.

#include "foundation/NSString.h"
#include "foundation/PropertyList.h"
#include "support/CommandRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Result = CommandRun;

class CliOptions : public ::testing::Test {
protected:

    // `ruvex ARGUMENTS` as shell words; the device is given by the caller where it matters.
    Result run(const std::string& arguments)
    {
        return runCommand(std::string(RUVEX_PATH) + " " + arguments, _scratch + "/stderr");
    }
    Result ruvex(const std::string& arguments) { return run("--device '" + _device + "' " + arguments); }

    std::optional<std::string> stored(const std::string& domain, const std::string& key)
    {
        auto file = PropertyList::readFile(_device + "/var/mobile/Library/Preferences/" + domain + ".plist");
        if (!file || !file->dictionary() || !file->dictionary()->objectForKey(key))
            return std::nullopt;
        const std::string* text = file->dictionary()->objectForKey(key)->string();
        return text ? std::optional(*text) : std::nullopt;
    }

    ScratchFolder _folder { "ruvex-cli" };
    std::string _scratch = _folder.path();
    // The device is a folder of its own: `device create` refuses one that holds anything.
    std::string _device = _folder / "device";
};

TEST_F(CliOptions, AValueIsAValueEvenWhenItReadsLikeAnOption)
{
    ASSERT_EQ(ruvex("device create").status, 0);
    const std::pair<const char*, const char*> writes[] = {
        { "defaults write com.x.y K -string -h", "-h" },
        { "defaults write com.x.y K -string --help", "--help" },
        { "defaults write com.x.y K -h", "-h" },
        { "defaults write com.x.y K --json", "--json" },
        { "defaults write com.x.y K --device", "--device" },
        { "defaults write com.x.y K -- ", "--" },
        { "defaults write -- com.x.y K -h", "-h" },
    };
    for (auto [line, value] : writes) {
        Result written = ruvex(line);
        EXPECT_EQ(written.status, 0) << line << ": " << written.err;
        EXPECT_EQ(written.out.find("usage:"), std::string::npos) << line << " printed help";
        EXPECT_EQ(stored("com.x.y", "K"), std::optional<std::string>(value)) << line;
    }
    Result json = ruvex("--json defaults read com.x.y");
    EXPECT_EQ(json.out, "{\"K\":\"-h\"}\n");
}

TEST_F(CliOptions, HelpWhereItStandsAsTheVerbsFirstWordOrPastItsValues)
{
    for (const char* line : { "settings type --help", "settings type -h", "defaults write -h", "notify wait NAME --help",
             "notify wait NAME -h", "screenshot settings x.png --help", "settings slide 0:0 30 -h", "boot extra --help" }) {
        Result help = ruvex(line);
        EXPECT_EQ(help.status, 0) << line << ": " << help.err;
        EXPECT_EQ(help.out.rfind("usage: ruvex ", 0), 0u) << line << ": " << help.out;
    }
    for (const char* line : { "--help", "-h", "--json --help", "--help status" }) {
        Result overview = ruvex(line);
        EXPECT_EQ(overview.status, 0) << line;
        EXPECT_EQ(overview.out.rfind("usage: ruvex [--device DIR] [--json] VERB", 0), 0u) << line;
    }
    // The value of an option and a verb's value are never help.
    Result timeout = ruvex("notify wait NAME --timeout -h");
    EXPECT_EQ(timeout.status, 2) << timeout.out;
    EXPECT_EQ(timeout.out, "");
}

TEST_F(CliOptions, GlobalOptionsComeOnlyBeforeTheVerb)
{
    Result status = ruvex("status --json");
    EXPECT_EQ(status.status, 2);
    EXPECT_NE(status.err.find("--json goes before the verb"), std::string::npos) << status.err;
    EXPECT_EQ(std::count(status.err.begin(), status.err.end(), '\n'), 1) << status.err;

    std::string elsewhere = _scratch + "/elsewhere";
    Result moved = ruvex("device path --device '" + elsewhere + "'");
    EXPECT_EQ(moved.status, 2) << moved.out;
    EXPECT_EQ(ruvex("device path").out, _device + "\n");

    for (const char* line : { "--bogus status", "-x status", "--device '' status", "-- --json status" }) {
        Result bad = run(std::string(line));
        EXPECT_EQ(bad.status, 2) << line << ": " << bad.out;
        EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << line << ": " << bad.err;
    }
    Result json = run("--device '" + _device + "' --json -- device path");
    EXPECT_EQ(json.status, 0) << json.err;
    EXPECT_EQ(json.out.find('{'), 0u) << json.out;
}

TEST_F(CliOptions, JsonIsValidWhateverTheNameHolds)
{
    // The name reaches the shell through the environment, bytes and all. The waiter says on
    // stderr when it listens; the post follows that line.
    std::string name = "com.x.say\"hi\"\\\xff";
    setenv("RVX_ODD_NAME", name.c_str(), 1);
    std::string errFile = _scratch + "/wait-stderr";
    FILE* waiter = popen((std::string(RUVEX_PATH) + " --device '" + _device
        + "' --json notify wait \"$RVX_ODD_NAME\" --timeout 20 2>'" + errFile + "'").c_str(), "r");
    ASSERT_TRUE(waiter);
    for (int i = 0; i < 2000; ++i) {
        FILE* err = fopen(errFile.c_str(), "r");
        char line[256] = {};
        bool ready = err && fgets(line, sizeof line, err);
        if (err)
            fclose(err);
        if (ready)
            break;
        usleep(10000);
    }
    EXPECT_EQ(run("--device '" + _device + "' notify post \"$RVX_ODD_NAME\"").status, 0);
    std::string out;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, waiter))
        out += buffer;
    EXPECT_EQ(WEXITSTATUS(pclose(waiter)), 0);
    EXPECT_EQ(out, "{\"name\":\"com.x.say\\\"hi\\\"\\\\\xEF\xBF\xBD\",\"arrived\":true}\n");
    EXPECT_TRUE(NSString::isValidUTF8(out));
}

} // namespace
