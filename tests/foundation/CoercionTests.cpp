#include "foundation/NSString.h"
#include "foundation/PlistValue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

TEST(Coercions, IntValueOfStrings)
{
    struct Case { const char* text; int expected; };
    for (auto [text, expected] : std::initializer_list<Case> {
             { "123a", 123 }, { "a123", 0 }, { "++123", 0 }, { "12.9", 12 }, { "0x10", 0 }, { "1e3", 1 },
             { "999999999999999999", INT_MAX }, { "-999999999999999999", INT_MIN }, { "- 5", -5 },
             { "  \t\n42", 42 }, { "\xC2\xA0" "7", 7 }, { "\xE3\x80\x80" "8", 8 }, { "", 0 }, { "-2147483648", INT_MIN } })
        EXPECT_EQ(NSString::intValue(text), expected) << '"' << text << '"';
}

TEST(Coercions, DoubleAndFloatValueOfStrings)
{
    struct Case { const char* text; double expected; };
    for (auto [text, expected] : std::initializer_list<Case> {
             { ".2", 0.2 }, { "1.23015e+3", 1230.15 }, { ".e12", 0 }, { "2e3.12", 2000 }, { "1.2.3.4", 1.2 },
             { "1e", 1 }, { "inf", 0 }, { "nan", 0 }, { "0x1p3", 0 }, { " -3.5x", -3.5 }, { "5.", 5 }, { "", 0 } })
        EXPECT_DOUBLE_EQ(NSString::doubleValue(text), expected) << '"' << text << '"';
    EXPECT_TRUE(std::isinf(NSString::floatValue("1e39")));
    EXPECT_FLOAT_EQ(NSString::floatValue("17.5"), 17.5f);
}

TEST(Coercions, DecimalPointIgnoresTheLocale)
{
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    std::string saved = previous ? previous : "C";
    if (!setlocale(LC_NUMERIC, "de_DE.UTF-8") && !setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_DOUBLE_EQ(NSString::doubleValue("1.5"), 1.5);
    setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Coercions, BoolValueOfStrings)
{
    for (const char* yes : { "YES", "true", "T", "1", "+000009", "-5", " 1 ", "1a", "ya" })
        EXPECT_TRUE(NSString::boolValue(yes)) << '"' << yes << '"';
    for (const char* no : { "", "NO", "false", "0", "-00000", "+t", "+y", "0t", "a1" })
        EXPECT_FALSE(NSString::boolValue(no)) << '"' << no << '"';
}

TEST(Coercions, OfNumbersAndBooleans)
{
    EXPECT_EQ(PlistValue(3.9).intValue(), 3);
    EXPECT_EQ(PlistValue(-3.9).intValue(), -3);
    EXPECT_EQ(PlistValue(1e20).intValue(), INT_MAX);
    EXPECT_EQ(PlistValue(-1e20).intValue(), INT_MIN);
    EXPECT_EQ(PlistValue(std::nan("")).intValue(), 0);
    EXPECT_EQ(PlistValue(int64_t(1) << 40).intValue(), INT_MAX);
    EXPECT_EQ(PlistValue(true).intValue(), 1);
    EXPECT_EQ(PlistValue(false).doubleValue(), 0.0);
    EXPECT_EQ(PlistValue(0.5).boolValue(), true);
    EXPECT_EQ(PlistValue(0).boolValue(), false);
    EXPECT_EQ(PlistValue("12.5").floatValue(), 12.5f);
}

TEST(Coercions, ContainersDatesAndDataHaveNoValue)
{
    for (const PlistValue& value : { PlistValue(NSArray { 1 }), PlistValue(NSDictionary { { "a", 1 } }),
             PlistValue(NSData { { 1, 2 } }), PlistValue(NSDate::dateWithTimeIntervalSinceReferenceDate(5)) }) {
        EXPECT_FALSE(value.boolValue());
        EXPECT_FALSE(value.intValue());
        EXPECT_FALSE(value.floatValue());
        EXPECT_FALSE(value.doubleValue());
    }
}

TEST(Strings, UTF8Validation)
{
    EXPECT_TRUE(NSString::isValidUTF8("plain, caf\xC3\xA9, \xF0\x9F\x98\x80"));
    for (const char* bad : { "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "a\x80" })
        EXPECT_FALSE(NSString::isValidUTF8(bad)) << bad;
}

TEST(Strings, PathComponents)
{
    EXPECT_EQ(NSString::stringByAppendingPathComponent("/a/b/", "c.png"), "/a/b/c.png");
    EXPECT_EQ(NSString::stringByAppendingPathComponent("/", "c"), "/c");
    EXPECT_EQ(NSString::lastPathComponent("/x/RuvexPro.bundle/"), "RuvexPro.bundle");
    EXPECT_EQ(NSString::stringByDeletingPathExtension("/x/RuvexPro.bundle"), "/x/RuvexPro");
    EXPECT_EQ(NSString::pathExtension("/x/.hidden"), "");
    EXPECT_EQ(NSString::stringByDeletingLastPathComponent("/a"), "/");
    EXPECT_EQ(NSString::format("%s=%d,%.1f", "n", 3, 0.25), "n=3,0.2");
}
