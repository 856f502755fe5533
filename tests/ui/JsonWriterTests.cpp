// The one JSON writer: whatever bytes a string holds, the text is valid JSON in UTF-8.

#include "foundation/NSString.h"
#include "ui/JsonWriter.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

std::string jsonString(std::string_view text) { return JsonWriter::quoted(text); }

TEST(JsonWriter, EscapesWhatJsonCannotHoldRaw)
{
    EXPECT_EQ(jsonString("say \"hi\" \\ now"), R"("say \"hi\" \\ now")");
    EXPECT_EQ(jsonString("a\tb\nc\rd"), R"("a\tb\nc\rd")");
    EXPECT_EQ(jsonString(std::string("\x01\x1f\x7f", 3)), R"("\u0001\u001f\u007f")");
    EXPECT_EQ(jsonString(std::string("nul\0here", 8)), R"("nul\u0000here")");
    EXPECT_EQ(jsonString("Schließen ✕ 𝄞"), "\"Schließen ✕ 𝄞\"") << "well-formed UTF-8 passes as it is";
}

TEST(JsonWriter, ReplacesEveryByteThatIsNotWellFormedUTF8)
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
        {"\xE2\x9C", replacement + replacement},                        // two of three bytes
        {"ok \xE2\x9C\x95", "ok \xE2\x9C\x95"},                         // the three: kept
    };
    for (const Case& c : cases) {
        std::string text = jsonString(c.bytes);
        EXPECT_EQ(text, "\"" + c.expected + "\"") << "for bytes of length " << c.bytes.size();
        EXPECT_TRUE(NSString::isValidUTF8(text));
    }
    // Every single byte, and every pair of bytes, comes out as valid UTF-8.
    for (int first = 0; first < 256; ++first)
        for (int second = 0; second < 256; ++second) {
            std::string bytes { char(first), char(second) };
            ASSERT_TRUE(NSString::isValidUTF8(jsonString(bytes))) << first << " " << second;
        }
}

TEST(JsonWriter, NumbersKeepTheirValue)
{
    JsonWriter json;
    json.beginArray()
        .value(int64_t(9007199254740993))
        .value(std::numeric_limits<int64_t>::min())
        .value(uint64_t(18446744073709551615u))
        .value(size_t(3))
        .exactValue(0.1)
        .exactValue(23.5)
        .exactValue(1e300)
        .exactValue(std::numeric_limits<double>::infinity())
        .value(0.1f)
        .endArray();
    EXPECT_EQ(json.text(),
        "[9007199254740993,-9223372036854775808,18446744073709551615,3,0.1,23.5,1e+300,null,0.100000001]");
}

TEST(JsonWriter, KeysAndRawMembersAreSeparatedAsValues)
{
    JsonWriter json;
    json.beginObject().field("a\"b", 1).key("tree").raw("{\"x\":[]}").key("z").null().endObject();
    EXPECT_EQ(json.text(), R"({"a\"b":1,"tree":{"x":[]},"z":null})");
}

} // namespace
