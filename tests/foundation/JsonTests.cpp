// JSON in and out: whatever bytes a string holds, the text written is valid JSON in UTF-8;
// numbers keep their value; text from elsewhere is read without a throw and without
// unbounded nesting.

#include "foundation/Json.h"
#include "foundation/NSString.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

std::string jsonString(std::string_view text) { return json::write(json::Value(std::string(text))); }

TEST(Json, EscapesWhatJsonCannotHoldRaw)
{
    EXPECT_EQ(jsonString("say \"hi\" \\ now"), R"("say \"hi\" \\ now")");
    EXPECT_EQ(jsonString("a\tb\nc\rd"), R"("a\tb\nc\rd")");
    EXPECT_EQ(jsonString(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
    EXPECT_EQ(jsonString(std::string("nul\0here", 8)), R"("nul\u0000here")");
    EXPECT_EQ(jsonString("Schließen ✕ 𝄞"), "\"Schließen ✕ 𝄞\"") << "well-formed UTF-8 passes as it is";
}

TEST(Json, ReplacesWhatIsNotWellFormedUTF8)
{
    const std::string replacement = "\xEF\xBF\xBD";
    struct Case {
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"a\xFF" "b", "a" + replacement + "b"},                        // never a UTF-8 byte
        {"\x80", replacement},                                          // a stray continuation byte
        {"\xC3", replacement},                                          // cut short at the end
        {"\xC3(", replacement + "("},                                   // cut short by ASCII
        {"\xC0\xAF", replacement + replacement},                        // an overlong '/'
        {"\xE0\x80\xAF", replacement + replacement + replacement},      // an overlong in three bytes
        {"\xED\xA0\x80", replacement + replacement + replacement},      // a surrogate
        {"\xF4\x90\x80\x80", replacement + replacement + replacement + replacement}, // above U+10FFFF
        {"\xE2\x9C", replacement},                                      // two of three bytes: one sequence cut short
        {"ok \xE2\x9C\x95", "ok \xE2\x9C\x95"},                         // the three: kept
    };
    for (const Case& c : cases) {
        std::string text = jsonString(c.bytes);
        EXPECT_EQ(text, "\"" + c.expected + "\"") << "for bytes of length " << c.bytes.size();
        EXPECT_TRUE(NSString::isValidUTF8(text));
    }
    // Every single byte, and every pair of bytes, comes out as valid UTF-8, in keys too.
    for (int first = 0; first < 256; ++first)
        for (int second = 0; second < 256; ++second) {
            std::string bytes { char(first), char(second) };
            json::Value object = json::Value::object();
            object[bytes] = bytes;
            std::string text = json::write(object);
            ASSERT_TRUE(NSString::isValidUTF8(text)) << first << " " << second;
            ASSERT_TRUE(json::read(text)) << first << " " << second;
        }
}

TEST(Json, NumbersKeepTheirValue)
{
    json::Value list = json::Value::array();
    list.push_back(int64_t(9007199254740993));
    list.push_back(std::numeric_limits<int64_t>::min());
    list.push_back(uint64_t(18446744073709551615u));
    list.push_back(size_t(3));
    for (double exact : { 0.1, 23.5, 1e300, 3.0, -0.0, 1e20 })
        list.push_back(json::number(exact));
    list.push_back(json::number(std::numeric_limits<double>::infinity()));
    list.push_back(json::number(std::nan("")));
    list.push_back(json::readable(0.1f));
    list.push_back(json::readable(320.0f));
    list.push_back(json::readable(-std::numeric_limits<float>::infinity()));
    list.push_back(json::readable(std::numeric_limits<float>::max()));
    list.push_back(json::readable(1e-7f));
    EXPECT_EQ(json::write(list), "[9007199254740993,-9223372036854775808,18446744073709551615,3,0.1,23.5,1e+300,3,-0.0,"
        "1e+20,null,null,0.100000001,320,null,3.40282347e+38,1.00000001e-07]");
    // What is written reads back as the same numbers.
    std::optional<json::Value> back = json::read(json::write(list));
    ASSERT_TRUE(back);
    EXPECT_EQ((*back)[4].get<double>(), 0.1);
    EXPECT_EQ((*back)[8].get<double>(), 0.0);
    EXPECT_TRUE(std::signbit((*back)[8].get<double>()));
    EXPECT_EQ(float((*back)[12].get<double>()), 0.1f) << "nine digits are enough for a float";
    EXPECT_EQ(float((*back)[15].get<double>()), std::numeric_limits<float>::max());
}

TEST(Json, MembersKeepTheOrderWritten)
{
    json::Value object = json::Value::object();
    object["z"] = 1;
    object["a\"b"] = 2;
    object["m"] = nullptr;
    EXPECT_EQ(json::write(object), R"({"z":1,"a\"b":2,"m":null})");
    std::optional<json::Value> back = json::read(R"({"z":1,"a":2,"m":3})");
    ASSERT_TRUE(back);
    EXPECT_EQ(json::write(*back), R"({"z":1,"a":2,"m":3})");
}

TEST(Json, ReadingRefusesWhatIsNotOneWholeValueWithoutThrowing)
{
    for (std::string_view bad : { "", " ", "{", "[1,]", "{\"a\"}", "{\"a\":1}x", "nan", "NaN", "Infinity", "1e", "'a'",
             "\"\xFF\"", "\"open", "[\"\\uD800\"]", "{\"a\":1,}", "01", "\"tab\there\"" })
        EXPECT_FALSE(json::read(bad)) << bad;
    std::optional<json::Value> big = json::read("[1e400, -1e400]");
    EXPECT_TRUE(!big || !std::isfinite((*big)[0].get<double>())) << "an overflowing number reads as infinite or not at all";
    EXPECT_TRUE(json::read(" {\"a\" : [ true , null ] }\n"));
}

TEST(Json, NestingIsBounded)
{
    auto nested = [](int depth, char open, char close) {
        return std::string(size_t(depth), open) + std::string(size_t(depth), close);
    };
    // The outermost container and 256 inside it are read; one more is refused, however deep.
    EXPECT_TRUE(json::read(nested(json::kDeepestNesting + 1, '[', ']')));
    EXPECT_FALSE(json::read(nested(json::kDeepestNesting + 2, '[', ']')));
    EXPECT_FALSE(json::read(nested(1000000, '[', ']')));
    std::string objects;
    for (int i = 0; i < 300; ++i)
        objects += "{\"a\":";
    objects += "1" + std::string(300, '}');
    EXPECT_FALSE(json::read(objects));
}

TEST(Json, ReadingAnotherProcessReplyDoesNotThrowOnAShapeItLacks)
{
    std::optional<json::Value> reply = json::read(R"({"ok":"yes","text":7,"warnings":"one","n":2.5})");
    ASSERT_TRUE(reply);
    EXPECT_FALSE(json::flag(json::member(*reply, "ok")));
    EXPECT_EQ(json::text(json::member(*reply, "text")), "");
    EXPECT_TRUE(json::items(json::member(*reply, "warnings")).empty()) << "a string is no list";
    EXPECT_EQ(json::numeric(json::member(*reply, "n")), 2.5);
    EXPECT_EQ(json::numeric(json::member(*reply, "missing"), -1), -1);
    EXPECT_TRUE(json::member(json::member(*reply, "n"), "deeper").is_null()) << "a number has no members";
}

} // namespace
