// The old ASCII form of property lists: what it holds, the strings-file form, and what it
// refuses.

#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

namespace {

std::optional<NSDictionary> dictionaryOf(std::string_view text)
{
    std::optional<PlistValue> value = PropertyList::parse(text);
    if (!value || !value->dictionary())
        return std::nullopt;
    return *value->dictionary();
}

std::string stringOf(const NSDictionary& dictionary, std::string_view key)
{
    const PlistValue* value = dictionary.objectForKey(key);
    return value && value->string() ? *value->string() : "<missing>";
}

TEST(OpenStepPlist, ReadsDictionariesArraysDataAndStrings)
{
    auto settings = dictionaryOf("// written by hand\n"
                                 "{\n"
                                 "  Label = \"Close them all\"; /* the bar */\n"
                                 "  Size = 20.5;\n"
                                 "  Family = Helvetica;\n"
                                 "  com.apple.Music = 1;\n"
                                 "  List = (a, \"b c\", (), {},);\n"
                                 "  Bytes = <0fBD 7a>;\n"
                                 "  Size = 21;\n"
                                 "}\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(stringOf(*settings, "Label"), "Close them all");
    EXPECT_EQ(stringOf(*settings, "Family"), "Helvetica");
    EXPECT_EQ(stringOf(*settings, "Size"), "21") << "a later pair replaces an earlier";
    EXPECT_EQ(settings->objectForKey("Size")->floatValue(), 21.0f) << "numbers are text the readers coerce";
    EXPECT_EQ(settings->objectForKey("com.apple.Music")->boolValue(), true);
    const NSArray* list = settings->objectForKey("List")->array();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 4u) << "a trailing comma adds nothing";
    EXPECT_EQ(*list->objectAtIndex(1).string(), "b c");
    EXPECT_EQ(list->objectAtIndex(2).array()->count(), 0u);
    EXPECT_EQ(list->objectAtIndex(3).dictionary()->count(), 0u);
    EXPECT_EQ(settings->objectForKey("Bytes")->data()->bytes, (std::vector<uint8_t> { 0x0f, 0xbd, 0x7a }));
}

TEST(OpenStepPlist, EscapesGiveTheirCharacters)
{
    auto settings = dictionaryOf(R"({ a = "tab\there \"q\" \\ \'s\'"; c = "\U00e9\UD83D\UDE00"; d = "\101\102"; )"
                                 R"(e = "\UDE00 lone"; f = "\U0007"; g = 'single "quoted"'; })");
    ASSERT_TRUE(settings);
    EXPECT_EQ(stringOf(*settings, "a"), "tab\there \"q\" \\ 's'");
    EXPECT_EQ(stringOf(*settings, "c"), "\xC3\xA9\xF0\x9F\x98\x80") << "a surrogate pair is one character";
    EXPECT_EQ(stringOf(*settings, "d"), "AB");
    EXPECT_EQ(stringOf(*settings, "e"), "\xEF\xBF\xBD lone") << "a lone low surrogate";
    EXPECT_EQ(stringOf(*settings, "f"), "\xEF\xBF\xBD") << "a control character the writer could not carry";
    EXPECT_EQ(stringOf(*settings, "g"), "single \"quoted\"");
}

TEST(OpenStepPlist, PairsWithoutBracesAreAStringsFile)
{
    auto settings = dictionaryOf("Label = \"Hi\";\nHeight = 60;\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(stringOf(*settings, "Label"), "Hi");
    EXPECT_EQ(settings->objectForKey("Height")->floatValue(), 60.0f);
}

TEST(OpenStepPlist, RefusesWhatDoesNotParse)
{
    for (std::string_view bad : { "", "  \n// only a comment\n", "{ a = b }", "{ a = ; }", "{ a b; }", "{ = b; }",
             "{ a = \"open; }", "{ a = <0f1>; }", "{ a = <0g>; }", "(a b)", "(a,,b)", "{ a = (b; }", "{ a = b; } x",
             "{ a = b; }}", "\\", "{ a = \"x\\" }) {
        EXPECT_FALSE(PropertyList::parse(bad)) << bad;
    }
    EXPECT_TRUE(PropertyList::parse("bare")) << "a bare string is a value";
    EXPECT_FALSE(dictionaryOf("bare")) << "but no dictionary";
}

TEST(OpenStepPlist, NestingIsBounded)
{
    std::string deep(PropertyList::maximumDepth - 1, '(');
    deep += std::string(PropertyList::maximumDepth - 1, ')');
    EXPECT_TRUE(PropertyList::parse(deep));
    std::string deeper(100000, '(');
    deeper += std::string(100000, ')');
    EXPECT_FALSE(PropertyList::parse(deeper)) << "refused, not a stack overflow";
}

TEST(OpenStepPlist, XMLAfterWhiteSpaceIsStillXML)
{
    auto settings = dictionaryOf("\n  <?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
                                 "<key>Size</key><real>17</real></dict></plist>\n");
    ASSERT_TRUE(settings);
    EXPECT_EQ(*settings->objectForKey("Size")->real(), 17.0);
}

} // namespace
