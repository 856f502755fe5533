// The words of a request as both ends read them, and the verb table's refusals.

#include "control/ControlServer.h"
#include "control/ControlVerbs.h"
#include "control/ControlWords.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

namespace {

TEST(ControlWords, NumbersAreWholeDecimalAndFinite)
{
    struct Case {
        const char* word;
        std::optional<double> expected;
    };
    const Case cases[] = {
        { "3", 3 }, { "-2.5", -2.5 }, { "+4", 4 }, { ".5", 0.5 }, { "1e3", 1000 }, { "1E-2", 0.01 },
        { "1e-400", 0 }, // below the least double: as near as a double comes, not refused
        { "", std::nullopt }, { " 3", std::nullopt }, { "3 ", std::nullopt }, { "3\n", std::nullopt },
        { "1e400", std::nullopt }, { "-1e400", std::nullopt }, { "nan", std::nullopt }, { "NAN", std::nullopt },
        { "inf", std::nullopt }, { "-infinity", std::nullopt }, { "0x10", std::nullopt }, { "0x1p3", std::nullopt },
        { "1,5", std::nullopt }, { "3px", std::nullopt }, { "--3", std::nullopt }, { "e5", std::nullopt },
        { ".", std::nullopt }, { "-", std::nullopt },
    };
    for (const Case& c : cases) {
        std::optional<double> value = control::parseNumber(c.word);
        EXPECT_EQ(value.has_value(), c.expected.has_value()) << "'" << c.word << "'";
        if (value && c.expected) {
            EXPECT_DOUBLE_EQ(*value, *c.expected) << "'" << c.word << "'";
        }
    }
    EXPECT_FALSE(control::parseNumber(std::string(100, '1'))) << "no word longer than a number is read";
    EXPECT_FALSE(control::parseNumber(std::string_view("12\0" "3", 4))) << "a NUL does not end the word early";
}

TEST(ControlWords, StepsAreAWholeCountWithinBounds)
{
    EXPECT_EQ(control::parseSteps("1"), 1);
    EXPECT_EQ(control::parseSteps("1000"), 1000);
    EXPECT_EQ(control::parseSteps("8.0"), 8);
    for (const char* bad : { "0", "-1", "1001", "2.5", "1e9", "nan", "", " 5", "0x10", "1e400" })
        EXPECT_FALSE(control::parseSteps(bad)) << bad;
}

TEST(ControlWords, RowsAreTwoIndexesFromZero)
{
    std::optional<control::RowAddress> row = control::parseRowAddress("2:14");
    ASSERT_TRUE(row);
    EXPECT_EQ(row->section, 2);
    EXPECT_EQ(row->row, 14);
    EXPECT_EQ(control::rowName(*row), "2:14");
    ASSERT_TRUE(control::parseRowAddress("999999:0"));
    EXPECT_EQ(control::parseRowAddress("999999:0")->section, 999999);
    for (const char* bad : { "1:", ":2", ":", "", "1", "-1:0", "0:-1", "+1:0", "1:2:3", "99999999999:0", "0:9999999",
             " 1:2", "1:2 ", "1 :2", "a:b", "1.0:2", "0x1:2" })
        EXPECT_FALSE(control::parseRowAddress(bad)) << bad;
}

json::Value answer(const control::VerbTable& table, const control::Words& words)
{
    // The reply as it crosses the socket, and as the command line reads it.
    std::optional<json::Value> read = json::read(json::write(table.handle(words)));
    EXPECT_TRUE(read);
    return read.value_or(json::Value());
}

TEST(ControlVerbs, TheTableRefusesBadUseAndFailuresApart)
{
    control::VerbTable table("testhost");
    std::vector<control::Words> ran;
    table.add({ "move", "X Y", 2, 2, [&](const control::Words& words) {
                   ran.push_back(words);
                   if (!control::parseNumber(words[1]))
                       throw control::Refusal::usage("not a coordinate: " + words[1]);
                   if (words[2] == "wall")
                       throw control::Refusal("something is in the way");
                   ControlReply reply;
                   reply["x"] = json::number(*control::parseNumber(words[1]));
                   return reply.after("last", "after the text").finish("moved");
               } });

    json::Value moved = answer(table, { "move", "2.5", "0" });
    EXPECT_EQ(json::write(moved), R"({"ok":true,"x":2.5,"text":"moved","last":"after the text"})");

    json::Value unknown = answer(table, { "fly" });
    EXPECT_EQ(json::write(unknown), R"({"ok":false,"error":"testhost does not know 'fly'"})");

    for (const control::Words& words : { control::Words { "move" }, control::Words { "move", "1", "2", "3" } }) {
        json::Value refused = answer(table, words);
        EXPECT_EQ(json::write(refused), R"({"ok":false,"usage":true,"error":"move takes X Y"})") << words.size();
    }
    EXPECT_EQ(ran.size(), 1u) << "a verb never runs with words it does not take";

    EXPECT_EQ(json::write(answer(table, { "move", "nan", "0" })), R"({"ok":false,"usage":true,"error":"not a coordinate: nan"})");
    EXPECT_EQ(json::write(answer(table, { "move", "1", "wall" })), R"({"ok":false,"error":"something is in the way"})");
    EXPECT_EQ(json::write(answer(table, {})), R"({"ok":false,"usage":true,"error":"empty request"})");
}

TEST(ControlVerbs, WarningsFollowTheReply)
{
    json::Value reply = ControlReply().finish("done");
    control::addWarnings(reply, {});
    EXPECT_EQ(json::write(reply), R"({"ok":true,"text":"done"})") << "no warnings, no member";
    control::addWarnings(reply, { "one \xFF", "two" });
    control::addWarnings(reply, { "all" }, "problems");
    EXPECT_EQ(json::write(reply), "{\"ok\":true,\"text\":\"done\",\"warnings\":[\"one \xEF\xBF\xBD\",\"two\"],\"problems\":[\"all\"]}");
    json::Value refused = control::errorReply("no");
    control::addWarnings(refused, { "w" });
    EXPECT_EQ(json::write(refused), R"({"ok":false,"error":"no","warnings":["w"]})");
}

} // namespace
