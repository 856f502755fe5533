// The ruvex command as a user runs it: exit statuses, messages, and what lands in the files.

#include "foundation/PropertyList.h"
#include "support/CommandRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>
#include <fstream>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Result = CommandRun;

class Cli : public ::testing::Test {
protected:
    // The device folder starts empty: `device create` refuses one that holds anything.
    void SetUp() override { std::filesystem::create_directory(_device); }

    // Runs ruvex with the test's device, capturing both streams.
    Result ruvex(const std::string& arguments, bool withDevice = true)
    {
        return shell(std::string(RUVEX_PATH) + (withDevice ? " --device '" + _device + "' " : " ") + arguments);
    }

    // Runs a shell command line (`ruvex` in it stands for the binary), capturing both streams.
    Result shell(std::string command)
    {
        for (size_t at = command.find("ruvex "); at != std::string::npos; at = command.find("ruvex ", at + 1))
            if (at == 0 || command[at - 1] == ' ')
                command.replace(at, 5, RUVEX_PATH);
        return runCommand(command, _scratch + "/stderr");
    }

    std::string preferencePath(const std::string& domain)
    {
        return _device + "/var/mobile/Library/Preferences/" + domain + ".plist";
    }

    ScratchFolder _folder { "ruvex-cli" };
    std::string _scratch = _folder.path();
    std::string _device = _folder / "device";
};

TEST_F(Cli, EveryVerbHasHelpAndBadUseExitsTwoWithOneLine)
{
    Result overview = ruvex("--help");
    EXPECT_EQ(overview.status, 0);
    for (const char* verb : {"device create", "defaults read", "defaults write", "defaults delete", "notify post",
             "notify wait", "demo"}) {
        EXPECT_NE(overview.out.find(verb), std::string::npos) << verb;
        Result help = ruvex(std::string(verb) + " --help");
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_EQ(help.out.rfind("usage: ruvex " + std::string(verb), 0), 0u) << help.out;
    }

    for (const char* bad : {"frobnicate", "defaults write com.x.y", "defaults write com.x.y K -int 12x",
             "defaults write com.x.y K -float nan", "defaults write com.x.y K -bool maybe",
             "defaults write com.x.y K -date 1", "defaults read ../etc", "notify wait X --timeout soon",
             "device create extra"}) {
        Result result = ruvex(bad);
        EXPECT_EQ(result.status, 2) << bad;
        EXPECT_EQ(result.err.rfind("ruvex: ", 0), 0u) << bad << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << bad << ": " << result.err;
    }
    EXPECT_EQ(ruvex("--device").status, 2);
}

TEST_F(Cli, DefaultsWriteTypedValuesAndReadThemBack)
{
    ASSERT_EQ(ruvex("device create").status, 0);
    EXPECT_EQ(ruvex("defaults write com.vastelmark.ruvexpro Label 'Close them all'").status, 0);
    EXPECT_EQ(ruvex("defaults write com.vastelmark.ruvexpro Count -int -3").status, 0);
    EXPECT_EQ(ruvex("defaults write com.vastelmark.ruvexpro Size -float 23.5").status, 0);
    EXPECT_EQ(ruvex("defaults write com.vastelmark.ruvexpro Dismiss -bool YES").status, 0);

    std::optional<PlistValue> file = PropertyList::readFile(preferencePath("com.vastelmark.ruvexpro"));
    ASSERT_TRUE(file && file->dictionary());
    const NSDictionary& settings = *file->dictionary();
    EXPECT_EQ(*settings.objectForKey("Label")->string(), "Close them all");
    EXPECT_EQ(*settings.objectForKey("Count")->integer(), -3);
    EXPECT_DOUBLE_EQ(*settings.objectForKey("Size")->real(), 23.5);
    EXPECT_TRUE(*settings.objectForKey("Dismiss")->boolean());

    EXPECT_EQ(ruvex("defaults read com.vastelmark.ruvexpro Label").out, "Close them all\n");
    EXPECT_EQ(ruvex("--json defaults read com.vastelmark.ruvexpro").out,
        "{\"Count\":-3,\"Dismiss\":true,\"Label\":\"Close them all\",\"Size\":23.5}\n");
}

TEST_F(Cli, DefaultsTextReadsBackAsTheSameStrings)
{
    ASSERT_EQ(ruvex("device create").status, 0);
    ASSERT_EQ(ruvex(R"x(defaults write com.x.y 'Odd Key' "$(printf 'say "hi" \\ a\tb\nc \303\251')")x").status, 0);
    ruvex("defaults write com.x.y Count -int -3");
    ruvex("defaults write com.x.y Empty ''");
    Result text = ruvex("defaults read com.x.y");
    ASSERT_EQ(text.status, 0) << text.err;
    std::optional<PlistValue> back = PropertyList::parse(text.out);
    ASSERT_TRUE(back && back->dictionary()) << text.out;
    const NSDictionary& settings = *back->dictionary();
    ASSERT_TRUE(settings.objectForKey("Odd Key")) << text.out;
    EXPECT_EQ(*settings.objectForKey("Odd Key")->string(), "say \"hi\" \\ a\tb\nc \xC3\xA9");
    EXPECT_EQ(*settings.objectForKey("Count")->string(), "-3");
    EXPECT_EQ(*settings.objectForKey("Empty")->string(), "");
}

TEST_F(Cli, DefaultsReportMissingDomainsAndKeysAsFailures)
{
    Result missing = ruvex("defaults read com.nobody.here");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos);

    ruvex("defaults write com.x.y A 1");
    EXPECT_EQ(ruvex("defaults read com.x.y B").status, 1);
    EXPECT_EQ(ruvex("defaults delete com.x.y B").status, 1);
    EXPECT_EQ(ruvex("defaults delete com.x.y A").status, 0);
    EXPECT_EQ(ruvex("--json defaults read com.x.y").out, "{}\n");
    EXPECT_EQ(ruvex("defaults delete com.x.y").status, 0);
    EXPECT_FALSE(std::filesystem::exists(preferencePath("com.x.y")));
}

TEST_F(Cli, DefaultsWriteKeepsAnUnreadableFileAside)
{
    ruvex("device create");
    std::string path = preferencePath("com.x.y");
    FILE* junk = fopen(path.c_str(), "w");
    fputs("not a property list", junk);
    fclose(junk);

    EXPECT_EQ(ruvex("defaults read com.x.y").status, 1);
    EXPECT_EQ(ruvex("defaults write com.x.y A B").status, 0);
    EXPECT_TRUE(std::filesystem::exists(path + ".corrupt"));
    EXPECT_EQ(ruvex("defaults read com.x.y A").out, "B\n");
}

TEST_F(Cli, NotifyWaitEndsWhenAPostArrivesAndFailsOnTimeOut)
{
    Result timedOut = ruvex("notify wait com.x.nothing --timeout 0.2");
    EXPECT_EQ(timedOut.status, 1);

    // The waiter says on stderr when it listens; the post follows that line.
    std::string errFile = _scratch + "/wait-stderr";
    std::string command = std::string(RUVEX_PATH) + " --device '" + _device
        + "' notify wait com.x.ping --timeout 20 2>'" + errFile + "'";
    FILE* waiter = popen(command.c_str(), "r");
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
    EXPECT_EQ(ruvex("notify post com.x.ping").status, 0);
    char out[256] = {};
    fgets(out, sizeof out, waiter);
    EXPECT_STREQ(out, "com.x.ping\n");
    EXPECT_EQ(WEXITSTATUS(pclose(waiter)), 0);

    EXPECT_EQ(ruvex("notify post ''").status, 2);
    EXPECT_EQ(ruvex("notify post " + std::string(300, 'n')).status, 2);
}

// Every path below `folder`, relative to it, sorted.
std::vector<std::string> listing(const std::string& folder)
{
    std::vector<std::string> paths;
    std::error_code failure;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, failure);
         !failure && it != std::filesystem::recursive_directory_iterator(); it.increment(failure))
        paths.push_back(std::filesystem::relative(it->path(), folder).string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST_F(Cli, CreateRefusesAFolderThatIsNotADevice)
{
    // A folder holding the user's files, and the places a slip of the hand names.
    std::filesystem::create_directories(_device + "/photos");
    std::ofstream(_device + "/photos/holiday.png") << "png";
    for (const std::string& line : std::vector<std::string> { "ruvex --device '" + _device + "' device create", "ruvex --device / device create",
             "HOME='" + _device + "' ruvex --device '" + _device + "/' device create",
             "cd '" + _device + "/photos' && ruvex --device .. device create",
             "cd '" + _device + "/photos' && ruvex --device ../.. device create",
             "ruvex --device '" + _device + "/photos/holiday.png' device create" }) {
        Result result = shell(line);
        EXPECT_EQ(result.status, 1) << line << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << line << ": " << result.err;
        EXPECT_EQ(listing(_device), (std::vector<std::string> { "photos", "photos/holiday.png" })) << line;
    }
    EXPECT_FALSE(std::filesystem::exists("/.ruvex-device"));

    // The demo makes its device the same way, and keeps pictures that are not its own.
    std::filesystem::create_directories(_device + "/demo");
    std::ofstream(_device + "/demo/holiday.png") << "png";
    EXPECT_EQ(ruvex("demo").status, 1);
    EXPECT_TRUE(std::filesystem::exists(_device + "/demo/holiday.png"));

    for (const char* line : { "ruvex --device '' device create", "ruvex --device '' device erase", "ruvex --device '' demo" })
        EXPECT_EQ(shell(line).status, 2) << line;
}

TEST_F(Cli, CreateChecksEveryAppBeforeMakingAnything)
{
    Result bad = ruvex("device create --apps com.apple.Music,../../etc");
    EXPECT_EQ(bad.status, 2) << bad.err;
    EXPECT_TRUE(listing(_device).empty()) << "nothing made before the words are checked";

    Result twice = ruvex("--json device create --apps com.apple.Music,com.apple.Music,");
    ASSERT_EQ(twice.status, 0) << twice.err;
    EXPECT_NE(twice.out.find("\"apps\":[\"com.apple.Music\"]"), std::string::npos) << twice.out;
    EXPECT_EQ(ruvex("device create --apps ,").status, 2);
}

TEST_F(Cli, EraseRemovesOnlyWhatRuvexMade)
{
    std::filesystem::create_directories(_device + "/precious");
    EXPECT_EQ(ruvex("device erase").status, 1);
    EXPECT_TRUE(std::filesystem::exists(_device + "/precious"));
    std::filesystem::remove(_device + "/precious");

    // A device in a folder that was there keeps the folder, and what the user put there since.
    ASSERT_EQ(ruvex("device create").status, 0);
    EXPECT_EQ(ruvex("device path").out, _device + "\n");
    std::ofstream(_device + "/thesis.tex") << "mine";
    Result erased = ruvex("device erase");
    EXPECT_EQ(erased.status, 0) << erased.err;
    EXPECT_EQ(listing(_device), std::vector<std::string> { "thesis.tex" });
    EXPECT_EQ(ruvex("device erase").status, 1) << "no longer a device";

    // A device that create made goes whole, also when named through a link, which stays.
    std::string made = _scratch + "/made";
    std::string link = _scratch + "/link";
    ASSERT_EQ(shell("ruvex --device '" + made + "' device create").status, 0);
    std::filesystem::create_directory_symlink(made, link);
    erased = shell("ruvex --device '" + link + "' device erase");
    EXPECT_EQ(erased.status, 0) << erased.err;
    EXPECT_NE(erased.out.find(made), std::string::npos) << erased.out;
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_TRUE(std::filesystem::is_symlink(link));

    // A link planted in the device is removed as a link: what it points at stays.
    std::string outside = _scratch + "/outside";
    std::filesystem::create_directories(outside + "/mobile");
    std::ofstream(outside + "/mobile/keep") << "keep";
    ASSERT_EQ(shell("ruvex --device '" + made + "' device create").status, 0);
    std::filesystem::remove_all(made + "/var");
    std::filesystem::create_directory_symlink(outside, made + "/var");
    EXPECT_EQ(shell("ruvex --device '" + made + "' device erase").status, 0);
    EXPECT_TRUE(std::filesystem::exists(outside + "/mobile/keep"));
}

} // namespace
