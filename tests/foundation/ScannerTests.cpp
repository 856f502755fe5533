#include "foundation/NSScanner.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

TEST(Scanner, StringsMatchInPlaceAndCaseInsensitively)
{
    auto scanner = NSScanner::scannerWithString("  \n{ Red }");
    EXPECT_FALSE(scanner.scanString("red"));
    EXPECT_EQ(scanner.scanLocation(), 0u);
    EXPECT_TRUE(scanner.scanString("{"));
    std::string matched;
    EXPECT_TRUE(scanner.scanString("RED", &matched));
    EXPECT_EQ(matched, "Red");
    scanner.setCaseSensitive(true);
    EXPECT_FALSE(scanner.scanString("}x"));
    EXPECT_TRUE(scanner.scanString("}"));
    EXPECT_TRUE(scanner.isAtEnd());
}

TEST(Scanner, Floats)
{
    struct Case { const char* text; bool scans; double value; size_t location; };
    for (auto [text, scans, value, location] : std::initializer_list<Case> {
             { ".5", true, 0.5, 2 }, { "5.", true, 5, 2 }, { ".", false, 0, 0 }, { "1e", true, 1, 1 },
             { " -2.5e2,", true, -250, 7 }, { "x", false, 0, 0 }, { "+", false, 0, 0 } }) {
        auto scanner = NSScanner::scannerWithString(text);
        double result = -99;
        EXPECT_EQ(scanner.scanDouble(&result), scans) << text;
        if (scans) {
            EXPECT_DOUBLE_EQ(result, value) << text;
        }
        EXPECT_EQ(scanner.scanLocation(), location) << text;
    }
    auto huge = NSScanner::scannerWithString("1e999");
    double result = 0;
    EXPECT_TRUE(huge.scanDouble(&result));
    EXPECT_EQ(result, HUGE_VAL);
    float narrow = 0;
    auto big = NSScanner::scannerWithString("-1e39");
    EXPECT_TRUE(big.scanFloat(&narrow));
    EXPECT_TRUE(std::isinf(narrow) && narrow < 0);
}

TEST(Scanner, HexIntegers)
{
    struct Case { const char* text; bool scans; unsigned value; size_t location; };
    for (auto [text, scans, value, location] : std::initializer_list<Case> {
             { "0xFF", true, 255, 4 }, { "0Xab", true, 0xab, 4 }, { "ff", true, 255, 2 }, { "0xg", true, 0, 1 },
             { "g", false, 0, 0 }, { "123456789", true, UINT_MAX, 9 }, { "  1f,", true, 31, 4 } }) {
        auto scanner = NSScanner::scannerWithString(text);
        unsigned result = 7;
        EXPECT_EQ(scanner.scanHexInt(&result), scans) << text;
        if (scans) {
            EXPECT_EQ(result, value) << text;
        }
        EXPECT_EQ(scanner.scanLocation(), location) << text;
    }
}

TEST(Scanner, IntegersAndEnd)
{
    auto scanner = NSScanner::scannerWithString(" -12 99999999999 \t\n");
    int value = 0;
    EXPECT_TRUE(scanner.scanInt(&value));
    EXPECT_EQ(value, -12);
    EXPECT_FALSE(scanner.isAtEnd());
    EXPECT_TRUE(scanner.scanInt(&value));
    EXPECT_EQ(value, INT_MAX);
    size_t before = scanner.scanLocation();
    EXPECT_TRUE(scanner.isAtEnd());
    EXPECT_EQ(scanner.scanLocation(), before);
    EXPECT_FALSE(scanner.scanInt(&value));
}
