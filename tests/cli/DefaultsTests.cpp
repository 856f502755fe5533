// `ruvex defaults` as users of the desktop tool know it: values printed bare, the domains,
// a value's type, export and import, array and dictionary values, and the files it leaves.

#include "foundation/PropertyList.h"
#include "support/CommandRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Result = CommandRun;

class Defaults : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(folder()); }

    // ruvex on the test's device; `input` goes to its standard input.
    Result ruvex(const std::string& arguments, const std::string& input = "")
    {
        std::string in = _device + "/.stdin", err = _device + "/.stderr";
        std::ofstream(in, std::ios::binary) << input;
        return runCommand(std::string(RUVEX_PATH) + " --device " + shellQuoted(_device) + " " + arguments + " <" + shellQuoted(in), err);
    }
    std::string folder() const { return _device + "/var/mobile/Library/Preferences"; }
    std::string file(const std::string& domain) const { return folder() + "/" + domain + ".plist"; }
    NSDictionary stored(const std::string& domain)
    {
        std::optional<PlistValue> value = PropertyList::readFile(file(domain));
        return value && value->dictionary() ? *value->dictionary() : NSDictionary();
    }
    void writeBytes(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

    ScratchFolder _folder { "ruvex-defaults" };
    std::string _device = _folder.path();
};

TEST_F(Defaults, OneValuePrintsBareAndContainersInTheAsciiForm)
{
    ASSERT_EQ(ruvex("defaults write com.x.y S 'Hi there'").status, 0);
    ruvex("defaults write com.x.y N -int -3");
    ruvex("defaults write com.x.y F -float 22.5");
    ruvex("defaults write com.x.y T -bool YES");
    ruvex("defaults write com.x.y No -bool NO");
    ruvex("defaults write com.x.y A -array one 'two words'");
    ruvex("defaults write com.x.y D -dict k v");
    EXPECT_EQ(ruvex("defaults read com.x.y S").out, "Hi there\n");
    EXPECT_EQ(ruvex("defaults read com.x.y N").out, "-3\n");
    EXPECT_EQ(ruvex("defaults read com.x.y F").out, "22.5\n");
    EXPECT_EQ(ruvex("defaults read com.x.y T").out, "1\n");
    EXPECT_EQ(ruvex("defaults read com.x.y No").out, "0\n");
    EXPECT_EQ(ruvex("defaults read com.x.y A").out, "(\n    one,\n    \"two words\"\n)\n");
    EXPECT_EQ(ruvex("defaults read com.x.y D").out, "{\n    k = v;\n}\n");
    EXPECT_EQ(ruvex("--json defaults read com.x.y S").out, "\"Hi there\"\n");
}

TEST_F(Defaults, ReadTypeNamesEachKind)
{
    ruvex("defaults write com.x.y S text");
    ruvex("defaults write com.x.y N -int 5");
    ruvex("defaults write com.x.y F -float 0.5");
    ruvex("defaults write com.x.y B -bool true");
    ruvex("defaults write com.x.y A -array");
    ruvex("defaults write com.x.y D -dict");
    const std::pair<const char*, const char*> kinds[] = {
        { "S", "string" }, { "N", "integer" }, { "F", "float" }, { "B", "boolean" }, { "A", "array" }, { "D", "dictionary" },
    };
    for (auto [key, kind] : kinds)
        EXPECT_EQ(ruvex(std::string("defaults read-type com.x.y ") + key).out, std::string("Type is ") + kind + "\n") << key;
    EXPECT_EQ(ruvex("defaults read-type com.x.y Missing").status, 1);
    EXPECT_EQ(ruvex("defaults read-type com.x.y").status, 2);
}

TEST_F(Defaults, ArraysAndDictionariesAreWrittenAndAddedTo)
{
    ASSERT_EQ(ruvex("defaults write com.x.y L -array-add first").status, 0); // a missing key starts one
    ASSERT_EQ(ruvex("defaults write com.x.y L -array-add second third").status, 0);
    EXPECT_EQ(stored("com.x.y").objectForKey("L")->array()->count(), 3u);
    EXPECT_EQ(*stored("com.x.y").objectForKey("L")->array()->objectAtIndex(2).string(), "third");
    ASSERT_EQ(ruvex("defaults write com.x.y L -array only").status, 0); // -array replaces
    EXPECT_EQ(stored("com.x.y").objectForKey("L")->array()->count(), 1u);

    ASSERT_EQ(ruvex("defaults write com.x.y M -dict a 1 b 'two'").status, 0);
    NSDictionary file = stored("com.x.y");
    const NSDictionary* map = file.objectForKey("M")->dictionary();
    ASSERT_TRUE(map);
    EXPECT_EQ(*map->objectForKey("b")->string(), "two");
    EXPECT_EQ(ruvex("defaults write com.x.y M -dict odd").status, 2);

    ruvex("defaults write com.x.y S text");
    Result notAnArray = ruvex("defaults write com.x.y S -array-add more");
    EXPECT_EQ(notAnArray.status, 1);
    EXPECT_NE(notAnArray.err.find("not an array"), std::string::npos) << notAnArray.err;
    EXPECT_EQ(*stored("com.x.y").objectForKey("S")->string(), "text");
}

TEST_F(Defaults, AValueIsAValueWhateverItLooksLike)
{
    ASSERT_EQ(ruvex("defaults write com.x.y K -string -string").status, 0);
    EXPECT_EQ(*stored("com.x.y").objectForKey("K")->string(), "-string");
    ASSERT_EQ(ruvex("defaults write com.x.y K -5").status, 0);
    EXPECT_EQ(*stored("com.x.y").objectForKey("K")->string(), "-5");
    ASSERT_EQ(ruvex("defaults write com.x.y K -array -x -array").status, 0);
    EXPECT_EQ(*stored("com.x.y").objectForKey("K")->array()->objectAtIndex(1).string(), "-array");
}

TEST_F(Defaults, IntegersAndRealsTakeOneRuleForWhiteSpace)
{
    for (const char* type : { "-int", "-float" }) {
        for (const char* text : { "' 5'", "'5 '", "''", "'5x'" })
            EXPECT_EQ(ruvex(std::string("defaults write com.x.y K ") + type + " " + text).status, 2) << type << text;
        EXPECT_EQ(ruvex(std::string("defaults write com.x.y K ") + type + " 5").status, 0) << type;
    }
}

TEST_F(Defaults, DomainsListsThePreferenceFiles)
{
    EXPECT_EQ(ruvex("defaults domains").out, "\n");
    ruvex("defaults write com.b.b K V");
    ruvex("defaults write com.a.a K V");
    writeBytes(folder() + "/notes.txt", "x");
    EXPECT_EQ(ruvex("defaults domains").out, "com.a.a, com.b.b\n");
    EXPECT_EQ(ruvex("--json defaults domains").out, "[\"com.a.a\",\"com.b.b\"]\n");
}

TEST_F(Defaults, ExportWritesXmlAndImportReplacesTheDomainFromAnyForm)
{
    ruvex("defaults write com.x.y S 'Hi there'");
    ruvex("defaults write com.x.y N -int 7");
    Result out = ruvex("defaults export com.x.y -");
    ASSERT_EQ(out.status, 0);
    EXPECT_EQ(out.out.rfind("<?xml", 0), 0u) << out.out;
    std::string exported = _device + "/out.plist";
    ASSERT_EQ(ruvex("defaults export com.x.y '" + exported + "'").status, 0);
    std::optional<PlistValue> back = PropertyList::readFile(exported);
    ASSERT_TRUE(back && back->dictionary());
    EXPECT_EQ(*back->dictionary(), stored("com.x.y"));

    // XML from a file, the ASCII form from standard input: each replaces the whole domain.
    ruvex("defaults write com.z.z Old -bool YES");
    ASSERT_EQ(ruvex("defaults import com.z.z '" + exported + "'").status, 0);
    EXPECT_EQ(stored("com.z.z"), stored("com.x.y"));
    ASSERT_EQ(ruvex("defaults import com.z.z -", "{ Label = \"From text\"; Size = 20; }").status, 0);
    EXPECT_EQ(stored("com.z.z"), (NSDictionary { { "Label", "From text" }, { "Size", "20" } }));

    for (const char* bad : { "( not, a, dictionary )", "<plist", "" }) {
        Result refused = ruvex("defaults import com.z.z -", bad);
        EXPECT_EQ(refused.status, 1) << bad;
        EXPECT_EQ(stored("com.z.z").count(), 2u) << "a refused import changes nothing";
    }
    EXPECT_EQ(ruvex("defaults import com.z.z '" + _device + "/missing.plist'").status, 1);
    EXPECT_EQ(ruvex("defaults import com.z.z '" + _device + "'").status, 2); // a directory
    EXPECT_EQ(ruvex("defaults export com.none -").status, 1);
}

TEST_F(Defaults, ADomainThatIsNotAPropertyListIsNamedSo)
{
    writeBytes(file("com.bad"), "not a property list");
    for (const char* verb : { "defaults delete com.bad", "defaults delete com.bad K", "defaults read com.bad" }) {
        Result result = ruvex(verb);
        EXPECT_EQ(result.status, 1) << verb;
        EXPECT_NE(result.err.find("not a readable property list"), std::string::npos) << verb << ": " << result.err;
    }
    EXPECT_TRUE(fs::exists(file("com.bad")));
}

TEST_F(Defaults, EveryUnreadableFileIsKeptAside)
{
    for (int round = 0; round < 3; ++round) {
        writeBytes(file("com.bad"), "broken " + std::to_string(round));
        ASSERT_EQ(ruvex("defaults write com.bad K V").status, 0);
    }
    auto content = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(content(file("com.bad") + ".corrupt"), "broken 0");
    EXPECT_EQ(content(file("com.bad") + ".corrupt.1"), "broken 1");
    EXPECT_EQ(content(file("com.bad") + ".corrupt.2"), "broken 2");
}

TEST_F(Defaults, AFailedWriteOfANewDomainLeavesNoLockFile)
{
    // The name fits a file and its lock, but not the writer's temporary file beside it.
    std::string domain = "com." + std::string(236, 'x');
    Result result = ruvex("defaults write " + domain + " K V");
    EXPECT_EQ(result.status, 1) << result.err;
    EXPECT_FALSE(fs::exists(file(domain)));
    EXPECT_FALSE(fs::exists(file(domain) + ".lock"));
}

TEST_F(Defaults, EachVerbHasHelp)
{
    for (const char* verb : { "defaults domains", "defaults read-type", "defaults export", "defaults import" }) {
        Result help = ruvex(std::string(verb) + " --help");
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_EQ(help.out.rfind("usage: ruvex " + std::string(verb), 0), 0u) << help.out;
    }
}

} // namespace
