#include "ColorNameReference.h"

#include "color/NamedColorCache.h"
#include "color/NamedColorTable.h"
#include "color/UIColorToolkit.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <map>
#include <thread>

using namespace UIColor_Toolkit;
using UIColor_ToolkitSupport::searchForColorByName;

namespace {

// The entries ",name#rrggbb" of the table, in order.
std::vector<std::pair<std::string, std::string>> tableEntries()
{
    std::vector<std::pair<std::string, std::string>> entries;
    std::string_view table = kNamedColorTable;
    for (size_t at = 0; at < table.size();) {
        size_t hash = table.find('#', at);
        size_t next = std::min(table.find(',', hash), table.size());
        entries.emplace_back(std::string(table.substr(at + 1, hash - at - 1)), std::string(table.substr(hash + 1, next - hash - 1)));
        at = next;
    }
    return entries;
}

} // namespace

TEST(NamedColorTable, HasTheFormOfSortedLowercaseEntries)
{
    std::string_view table = kNamedColorTable;
    ASSERT_EQ(table.front(), ',');
    auto entries = tableEntries();
    ASSERT_EQ(entries.size(), kNamedColorCount);
    ASSERT_EQ(entries.size(), 147u);
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto& [name, hex] = entries[i];
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find_first_not_of("abcdefghijklmnopqrstuvwxyz"), std::string::npos) << name;
        EXPECT_EQ(hex.size(), 6u) << name;
        EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos) << name;
        if (i > 0) {
            EXPECT_LT(entries[i - 1].first, name);
        }
    }
}

TEST(NamedColorTable, MatchesTheReferenceKeywordList)
{
    std::map<std::string, uint32_t> reference;
    for (const auto& color : color_reference::kColorNames) {
        // A Level 4 addition, not one of the Level 3 keywords the table holds.
        if (std::strcmp(color.name, "rebeccapurple") != 0)
            reference[color.name] = uint32_t(color.red) << 16 | uint32_t(color.green) << 8 | color.blue;
    }
    std::map<std::string, uint32_t> table;
    for (const auto& [name, hex] : tableEntries())
        table[name] = uint32_t(std::stoul(hex, nullptr, 16));
    EXPECT_EQ(table, reference);
    for (const auto& [name, hex] : reference)
        EXPECT_EQ(rgbHex(searchForColorByName(name)), hex) << name;
}

TEST(NamedColorSearch, MatchesWholeCaseSensitiveNamesOnly)
{
    EXPECT_EQ(rgbHex(searchForColorByName("blue")), 0x0000FFu);
    EXPECT_EQ(rgbHex(searchForColorByName("aliceblue")), 0xF0F8FFu);
    EXPECT_EQ(rgbHex(searchForColorByName("yellowgreen")), 0x9ACD32u);
    for (std::string_view name : std::initializer_list<std::string_view> {"Blue", "lue", "alice", "navy ", " navy", "", "#", ",", "blue#0000ff,red",
             "blue#0000ff", ",red", "gray#808080,green", "rebeccapurple", std::string_view("red\0x", 5)})
        EXPECT_FALSE(searchForColorByName(name)) << name;
}

TEST(NamedColorLookup, FindsNamesAndCachesTheColour)
{
    auto navy = colorWithName("navy");
    ASSERT_TRUE(navy);
    EXPECT_EQ(rgbHex(navy), 0x000080u);
    EXPECT_EQ(colorWithName("navy"), navy);
    EXPECT_EQ(rgbHex(colorWithName("grey")), 0x808080u);
    EXPECT_EQ(rgbHex(colorWithName("gray")), 0x808080u);
    for (std::string_view name : {"Navy", "navy ", "", "Blue", "Blue"})
        EXPECT_FALSE(colorWithName(name)) << name;
}

TEST(NamedColorCache, SearchesEachNameOnceAndRemembersAbsence)
{
    int searches = 0;
    NamedColorCache cache([&](std::string_view name) {
        ++searches;
        return searchForColorByName(name);
    });
    EXPECT_FALSE(cache.colorWithName("nosuchcolour"));
    EXPECT_FALSE(cache.colorWithName("nosuchcolour"));
    EXPECT_EQ(searches, 1);
    auto red = cache.colorWithName("red");
    EXPECT_EQ(cache.colorWithName("red"), red);
    EXPECT_FALSE(cache.colorWithName("Red"));
    EXPECT_EQ(searches, 3);
    EXPECT_EQ(cache.count(), 3u);
}

TEST(NamedColorCache, ConcurrentAskersOfANewNameShareOneSearch)
{
    std::atomic<int> searches = 0;
    NamedColorCache cache([&](std::string_view name) {
        ++searches;
        // Give the other threads time to pile up on the lock while a search is running.
        std::this_thread::yield();
        return searchForColorByName(name);
    });
    const std::vector<std::string> names = {"teal", "tomato", "Teal", "missing", "wheat", "snow"};
    constexpr int kThreads = 8;
    std::vector<std::vector<UIColorRef>> answers(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 50; ++round) {
                for (const auto& name : names)
                    answers[t].push_back(cache.colorWithName(name));
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(searches.load(), int(names.size()));
    for (int t = 1; t < kThreads; ++t)
        EXPECT_EQ(answers[t], answers[0]);
    EXPECT_EQ(rgbHex(answers[0][0]), 0x008080u);
    EXPECT_FALSE(answers[0][2]);
}
