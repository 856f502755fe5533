// Hostile and broken Settings files, one row each: wrong kinds, empty, huge, non-finite and
// negative values, invalid UTF-8 for the keys; empty, truncated, malformed and deeply
// nested files; things that are not files at the path. Each row runs in a child with an
// alarm and a memory bound: it must read as the defaults (or the value as the coercions
// give it), and the next change must either write a sound file or refuse, never crash,
// hang or damage what lies elsewhere.

#include "ChildProcess.h"

#include "foundation/PropertyList.h"
#include "TestDevice.h"
#include "shared/RVXSettings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace RVXSettings;

namespace {

// What the next change (Dismiss = true) must do.
enum class NextWrite {
    Keeps,      // writes, keeping every key that was read
    StartsOver, // keeps the unreadable file aside as ".corrupt" and writes a fresh one
    Refuses,    // fails and leaves what lies at the path as it was
};

struct BadInput {
    std::string name;
    std::function<void(const std::string& hostPath)> prepare;
    // Answers what is wrong with the settings as read, or "".
    std::function<std::string(const NSDictionary& settings)> check;
    NextWrite nextWrite;
};

// ---- making files

void writeBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

std::function<void(const std::string&)> xmlFile(const std::string& body)
{
    return [body](const std::string& path) { writeBytes(path, xmlPlist(body)); };
}

std::function<void(const std::string&)> oneKey(const std::string& key, const std::string& valueXml)
{
    return xmlFile("<dict><key>" + key + "</key>" + valueXml + "<key>Closing</key><string>Closing</string></dict>");
}

std::string nestedXml(size_t depth)
{
    std::string body = "<dict><key>Label</key>";
    for (size_t i = 0; i < depth; ++i)
        body += "<array>";
    for (size_t i = 0; i < depth; ++i)
        body += "</array>";
    return xmlPlist(body + "</dict>");
}

void appendBigEndian(std::string& out, uint64_t value, size_t width)
{
    for (size_t i = width; i-- > 0;)
        out += char((value >> (8 * i)) & 0xFF);
}

// A binary list whose root dictionary holds arrays nested `depth` deep.
std::string nestedBinary(size_t depth)
{
    std::string out = "bplist00";
    std::vector<uint64_t> offsets;
    const size_t refSize = 4;
    offsets.push_back(out.size());
    out += char(0xD1);
    appendBigEndian(out, 1, refSize);
    appendBigEndian(out, 2, refSize);
    offsets.push_back(out.size());
    out += "\x55Label";
    for (size_t i = 0; i < depth; ++i) {
        offsets.push_back(out.size());
        out += char(0xA1);
        appendBigEndian(out, 3 + i, refSize);
    }
    offsets.push_back(out.size());
    out += char(0x08);
    uint64_t table = out.size();
    for (uint64_t offset : offsets)
        appendBigEndian(out, offset, 4);
    out += std::string(6, '\0');
    out += char(4);
    out += char(refSize);
    appendBigEndian(out, offsets.size(), 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, table, 8);
    return out;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream stream(path, std::ios::binary);
    std::stringstream buffer;
    buffer << stream.rdbuf();
    return buffer.str();
}

// ---- checks

std::string allOf(std::initializer_list<std::string> problems)
{
    std::string all;
    for (const std::string& problem : problems) {
        if (!problem.empty())
            all += (all.empty() ? "" : "; ") + problem;
    }
    return all;
}

template<typename T>
std::string same(const char* what, const T& actual, const T& expected)
{
    if (actual == expected)
        return "";
    std::ostringstream text;
    text << what << " read as " << actual << ", expected " << expected;
    return text.str();
}

std::string sameOptional(const char* what, const std::optional<std::string>& actual, const std::optional<std::string>& expected)
{
    if (actual == expected)
        return "";
    return std::string(what) + " read as " + (actual ? "\"" + actual->substr(0, 40) + "\"" : "nothing") + ", expected "
        + (expected ? "\"" + expected->substr(0, 40) + "\"" : "nothing");
}

std::string isTheDefaults(const NSDictionary& settings)
{
    return allOf({
        same("the key count", settings.count(), size_t(0)),
        sameOptional("Label", valueFor(settings, Keys::Label), std::string("Tap to close all Apps")),
        same("Height", valueFor(settings, Keys::Height), 35.0f),
        same("TextColor", textColorFor(settings) == white, true),
    });
}

// Every reader over every key, as the widget and the panes use them.
void readEverything(const NSDictionary& settings)
{
    for (const StringKey& key : { Keys::Label, Keys::Closing, Keys::Family, Keys::Style, Keys::TextColor, Keys::Path })
        (void)valueFor(settings, key);
    for (const BoolKey& key : { Keys::Highlight, Keys::HideAlpha, Keys::UseCustom, Keys::Strechable,
             Keys::CloseOnAppear, Keys::CloseOnDisappear, Keys::Dismiss })
        (void)valueFor(settings, key);
    (void)valueFor(settings, Keys::Background);
    (void)valueFor(settings, Keys::Count);
    (void)valueFor(settings, Keys::Size);
    (void)valueFor(settings, Keys::Height);
    (void)textColorFor(settings);
    for (const auto& [key, value] : settings)
        (void)isExcluded(settings, key);
}

std::string checkNextWrite(NextWrite expected, const NSDictionary& before, const std::string& host,
    const std::string& bytesBefore)
{
    bool written = changeOneKey("Dismiss", true);
    switch (expected) {
    case NextWrite::Keeps: {
        auto after = file().readIfPresent();
        if (!written || !after)
            return "the next change was not written";
        NSDictionary expectedAfter = before;
        expectedAfter.setObject(true, "Dismiss");
        // Compared as written, since a NaN equals nothing, not even itself.
        return PropertyList::xmlData(PlistValue(*after)) == PropertyList::xmlData(PlistValue(expectedAfter))
            ? ""
            : "the next change lost or altered a key";
    }
    case NextWrite::StartsOver: {
        auto after = file().readIfPresent();
        if (!written || !after)
            return "the next change was not written";
        if (after->count() != 1 || !boolFor(*after, "Dismiss"))
            return "the fresh file holds more than the change";
        return fs::exists(file().corruptPath()) ? "" : "the unreadable file was not kept aside";
    }
    case NextWrite::Refuses:
        if (written)
            return "the next change claimed success";
        std::error_code ignored;
        if (fs::is_regular_file(host, ignored) && fileBytes(host) != bytesBefore)
            return "the refused change altered the file";
        return "";
    }
    return "";
}

constexpr long kMemoryBoundKB = 256 * 1024;

// ---- the table

std::vector<BadInput> keyRows()
{
    const std::string megabyte(1024 * 1024, 'M');
    auto keeps = NextWrite::Keeps;
    return {
        { "LabelInteger", oneKey("Label", "<integer>5</integer>"),
            [](const NSDictionary& s) { return sameOptional("Label", valueFor(s, Keys::Label), std::string("Tap to close all Apps")); }, keeps },
        { "LabelEmpty", oneKey("Label", "<string></string>"),
            [](const NSDictionary& s) { return sameOptional("Label", valueFor(s, Keys::Label), std::string()); }, keeps },
        { "LabelOneMegabyte", oneKey("Label", "<string>" + megabyte + "</string>"),
            [megabyte](const NSDictionary& s) { return sameOptional("Label", valueFor(s, Keys::Label), megabyte); }, keeps },
        { "LabelArray", oneKey("Label", "<array><string>a</string></array>"),
            [](const NSDictionary& s) { return sameOptional("Label", valueFor(s, Keys::Label), std::string("Tap to close all Apps")); }, keeps },
        { "LabelInvalidUTF8", oneKey("Label", "<string>ok\xff\xfe\xc3(\xed\xa0\x80</string>"),
            [](const NSDictionary& s) {
                auto label = valueFor(s, Keys::Label);
                return label && label->starts_with("ok") ? "" : "Label lost its valid part";
            }, keeps },
        { "KeyInvalidUTF8", xmlFile("<dict><key>\xc0\xafLabel</key><string>x</string><key>Count</key><integer>3</integer></dict>"),
            [](const NSDictionary& s) { return same("Count", valueFor(s, Keys::Count), 3); }, keeps },
        { "LabelControlCharacters", oneKey("Label", "<string>a&#1;b</string>"),
            [](const NSDictionary& s) { return same("a label that can be written", PropertyList::xmlData(PlistValue(s)).has_value(), true); }, keeps },
        { "FamilyBoolean", oneKey("Family", "<true/>"),
            [](const NSDictionary& s) { return sameOptional("Family", valueFor(s, Keys::Family), std::string("Helvetica")); }, keeps },
        { "FamilyEmpty", oneKey("Family", "<string></string>"),
            [](const NSDictionary& s) { return sameOptional("Family", valueFor(s, Keys::Family), std::string()); }, keeps },
        { "StyleInteger", oneKey("Style", "<integer>1</integer>"),
            [](const NSDictionary& s) { return sameOptional("Style", valueFor(s, Keys::Style), std::nullopt); }, keeps },
        { "SizeText", oneKey("Size", "<string>huge</string>"),
            [](const NSDictionary& s) { return same("Size", valueFor(s, Keys::Size), 0.0f); }, keeps },
        { "SizeNegative", oneKey("Size", "<real>-5</real>"),
            [](const NSDictionary& s) { return same("Size", valueFor(s, Keys::Size), -5.0f); }, keeps },
        { "SizeOverflowsFloat", oneKey("Size", "<string>1e39</string>"),
            [](const NSDictionary& s) { return same("Size is infinite", std::isinf(valueFor(s, Keys::Size)), true); }, keeps },
        { "SizeHugeInteger", oneKey("Size", "<integer>99999999999999999999999</integer>"),
            [](const NSDictionary& s) { return same("Size", valueFor(s, Keys::Size), float(LLONG_MAX)); }, keeps },
        { "SizeDictionary", oneKey("Size", "<dict/>"),
            [](const NSDictionary& s) { return same("Size", valueFor(s, Keys::Size), 17.0f); }, keeps },
        { "HeightNotANumber", oneKey("Height", "<real>nan</real>"),
            [](const NSDictionary& s) { return same("Height read", true, true); }, keeps },
        { "HeightInfinite", oneKey("Height", "<real>-inf</real>"),
            [](const NSDictionary& s) { return same("Height", valueFor(s, Keys::Height), -INFINITY); }, keeps },
        { "HeightTextWithUnit", oneKey("Height", "<string>42.5pt</string>"),
            [](const NSDictionary& s) { return same("Height", valueFor(s, Keys::Height), 42.5f); }, keeps },
        { "TextColorThreeParts", oneKey("TextColor", "<string>0.1,0.2,0.3</string>"),
            [](const NSDictionary& s) { return same("white", textColorFor(s) == white, true); }, keeps },
        { "TextColorNotNumbers", oneKey("TextColor", "<string>nan,inf,red,-</string>"),
            [](const NSDictionary& s) { return same("white", textColorFor(s) == white, true); }, keeps },
        { "TextColorInteger", oneKey("TextColor", "<integer>5</integer>"),
            [](const NSDictionary& s) { return same("white", textColorFor(s) == white, true); }, keeps },
        { "TextColorMegabyteOfCommas", oneKey("TextColor", "<string>" + std::string(1024 * 1024, ',') + "</string>"),
            [](const NSDictionary& s) { return same("white", textColorFor(s) == white, true); }, keeps },
        { "TextColorOutOfRange", oneKey("TextColor", "<string>1.5,-0.2,2,-1</string>"),
            [](const NSDictionary& s) { return same("unclamped", textColorFor(s) == TextColor { 1.5f, -0.2f, 2, -1 }, true); }, keeps },
        { "HighlightTextNo", oneKey("Highlight", "<string>NO</string>"),
            [](const NSDictionary& s) { return same("Highlight", valueFor(s, Keys::Highlight), false); }, keeps },
        { "HighlightArray", oneKey("Highlight", "<array/>"),
            [](const NSDictionary& s) { return same("Highlight", valueFor(s, Keys::Highlight), true); }, keeps },
        { "HideAlphaFraction", oneKey("HideAlpha", "<real>0.5</real>"),
            [](const NSDictionary& s) { return same("HideAlpha", valueFor(s, Keys::HideAlpha), true); }, keeps },
        { "UseCustomData", oneKey("UseCustom", "<data>AAE=</data>"),
            [](const NSDictionary& s) { return same("UseCustom", valueFor(s, Keys::UseCustom), false); }, keeps },
        { "PathInteger", oneKey("Path", "<integer>7</integer>"),
            [](const NSDictionary& s) { return sameOptional("Path", valueFor(s, Keys::Path), std::nullopt); }, keeps },
        { "PathOneMegabyte", oneKey("Path", "<string>/" + megabyte + "</string>"),
            [megabyte](const NSDictionary& s) { return sameOptional("Path", valueFor(s, Keys::Path), "/" + megabyte); }, keeps },
        { "StrechableDate", oneKey("Strechable", "<date>2013-01-01T00:00:00Z</date>"),
            [](const NSDictionary& s) { return same("Strechable", valueFor(s, Keys::Strechable), false); }, keeps },
        { "BackgroundNegative", oneKey("Background", "<integer>-1</integer>"),
            [](const NSDictionary& s) { return same("Background", valueFor(s, Keys::Background), -1); }, keeps },
        { "BackgroundHugeReal", oneKey("Background", "<real>1e300</real>"),
            [](const NSDictionary& s) { return same("Background", valueFor(s, Keys::Background), INT_MAX); }, keeps },
        { "CloseOnAppearText", oneKey("CloseOnAppear", "<string>YES</string>"),
            [](const NSDictionary& s) { return same("CloseOnAppear", valueFor(s, Keys::CloseOnAppear), true); }, keeps },
        { "CloseOnDisappearTwo", oneKey("CloseOnDisappear", "<integer>2</integer>"),
            [](const NSDictionary& s) { return same("CloseOnDisappear", valueFor(s, Keys::CloseOnDisappear), true); }, keeps },
        { "DismissDictionary", oneKey("Dismiss", "<dict><key>a</key><true/></dict>"),
            [](const NSDictionary& s) { return same("Dismiss", valueFor(s, Keys::Dismiss), false); }, keeps },
        { "CountText", oneKey("Count", "<string>12abc</string>"),
            [](const NSDictionary& s) { return same("Count", valueFor(s, Keys::Count), 12); }, keeps },
        { "CountNegative", oneKey("Count", "<integer>-5</integer>"),
            [](const NSDictionary& s) { return same("Count", valueFor(s, Keys::Count), -5); }, keeps },
        { "CountOctalLooking", oneKey("Count", "<integer>010</integer>"),
            [](const NSDictionary& s) { return same("Count", valueFor(s, Keys::Count), 10); }, keeps },
        { "CountBeyondInt", oneKey("Count", "<integer>9223372036854775807</integer>"),
            [](const NSDictionary& s) { return same("Count", valueFor(s, Keys::Count), INT_MAX); }, keeps },
        { "CountReal", oneKey("Count", "<real>3.9</real>"),
            [](const NSDictionary& s) { return same("Count", valueFor(s, Keys::Count), 3); }, keeps },
        { "ExclusionText", oneKey("com.example.mail", "<string>true</string>"),
            [](const NSDictionary& s) { return same("excluded", isExcluded(s, "com.example.mail"), true); }, keeps },
        { "ExclusionArray", oneKey("com.example.mail", "<array><true/></array>"),
            [](const NSDictionary& s) { return same("excluded", isExcluded(s, "com.example.mail"), false); }, keeps },
        { "EmptyKey", oneKey("", "<string>nameless</string>"),
            [](const NSDictionary& s) { return same("keys", s.count(), size_t(2)); }, keeps },
    };
}

std::vector<BadInput> fileRows()
{
    auto defaults = [](const NSDictionary& s) { return isTheDefaults(s); };
    auto startsOver = NextWrite::StartsOver;
    const std::string real = xmlPlist("<dict><key>Label</key><string>Mine</string><key>Count</key><integer>4</integer></dict>");
    const std::string elsewhere = "/tmp/rvx-reliability-elsewhere-" + std::to_string(getpid());
    return {
        { "EmptyFile", [](const std::string& p) { writeBytes(p, ""); }, defaults, startsOver },
        { "TruncatedXml", [real](const std::string& p) { writeBytes(p, real.substr(0, real.size() / 2)); }, defaults, startsOver },
        { "TruncatedBinary", [](const std::string& p) { writeBytes(p, nestedBinary(3).substr(0, 30)); }, defaults, startsOver },
        { "BinaryOffsetsPastTheEnd", [](const std::string& p) {
              std::string bytes = nestedBinary(3);
              for (size_t i = bytes.size() - 32 - 6 * 4; i < bytes.size() - 32; ++i)
                  bytes[i] = char(0xFF);
              writeBytes(p, bytes);
          }, defaults, startsOver },
        { "BinaryReferenceCycle", [](const std::string& p) {
              std::string bytes = nestedBinary(2);
              // The inner array (object 3, at byte 28) refers back to the outer one (object 2).
              bytes[28 + 4] = 2;
              writeBytes(p, bytes);
          }, defaults, startsOver },
        { "BinaryKeyHoldingNul", [](const std::string& p) {
              // { "\u00e9\0": true }, the key in UTF-16: the parser beneath aborts on it.
              std::string bytes("bplist00\xD1\x01\x02\x62\x00\xE9\x00\x00\x09\x08\x0B\x10", 20);
              bytes += std::string(6, '\0') + "\x01\x01";
              for (uint64_t field : { 3, 0, 17 })
                  appendBigEndian(bytes, field, 8);
              writeBytes(p, bytes);
          }, defaults, startsOver },
        { "RootIsAnArray", xmlFile("<array><string>Label</string></array>"), defaults, startsOver },
        { "GarbageBytes", [](const std::string& p) { writeBytes(p, std::string("\x00\xff\x13garbage\x7f", 12)); }, defaults, startsOver },
        { "XmlNested100000Deep", [](const std::string& p) { writeBytes(p, nestedXml(100000)); }, defaults, startsOver },
        { "BinaryNested100000Deep", [](const std::string& p) { writeBytes(p, nestedBinary(100000)); }, defaults, startsOver },
        { "XmlNestedJustOverTheBound", [](const std::string& p) { writeBytes(p, nestedXml(PropertyList::maximumDepth)); }, defaults, startsOver },
        { "XmlNestedAtTheBound", [](const std::string& p) { writeBytes(p, nestedXml(PropertyList::maximumDepth - 1)); },
            [](const NSDictionary& s) { return same("keys", s.count(), size_t(1)); }, NextWrite::Keeps },
        { "LargerThanTheSizeBound", [](const std::string& p) {
              writeBytes(p, "<?xml");
              fs::resize_file(p, PropertyList::maximumSize + 1); // sparse: costs no disk
          }, defaults, startsOver },
        { "EntityExpansion", [](const std::string& p) {
              writeBytes(p, "<?xml version=\"1.0\"?><!DOCTYPE plist [<!ENTITY a \"aaaaaaaaaa\">"
                            "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>"
                            "<plist><dict><key>Label</key><string>&c;&c;&c;&c;</string></dict></plist>");
          }, [](const NSDictionary& s) { return ""; }, NextWrite::Keeps },
        { "ByteOrderMark", [real](const std::string& p) { writeBytes(p, "\xEF\xBB\xBF" + real); },
            [](const NSDictionary& s) { return sameOptional("Label", valueFor(s, Keys::Label), std::string("Mine")); }, NextWrite::Keeps },
        { "DirectoryInPlaceOfTheFile", [](const std::string& p) { fs::create_directory(p); }, defaults, NextWrite::Refuses },
        { "FifoInPlaceOfTheFile", [](const std::string& p) { mkfifo(p.c_str(), 0600); }, defaults, NextWrite::Refuses },
        { "ModeZero", [real](const std::string& p) {
              writeBytes(p, real);
              chmod(p.c_str(), 0);
          }, [](const NSDictionary& s) {
              // Permissions do not stop root; anyone else reads the defaults.
              if (geteuid() == 0)
                  return sameOptional("Label", valueFor(s, Keys::Label), std::string("Mine"));
              return isTheDefaults(s);
          }, geteuid() == 0 ? NextWrite::Keeps : NextWrite::Refuses },
        // A link out of the device is neither read nor written through, and stays.
        { "SymlinkToAPlistElsewhere", [real, elsewhere](const std::string& p) {
              writeBytes(elsewhere, real);
              fs::create_symlink(elsewhere, p);
          }, [real, elsewhere](const NSDictionary& s) {
              return allOf({ isTheDefaults(s), fileBytes(elsewhere) == real ? "" : "the file elsewhere changed" });
          }, NextWrite::Refuses },
        { "SymlinkToTextElsewhere", [elsewhere](const std::string& p) {
              writeBytes(elsewhere, "root:x:0:0:root:/root:/bin/sh\n");
              fs::create_symlink(elsewhere, p);
          }, defaults, NextWrite::Refuses },
        { "SymlinkToDevZero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }, defaults, NextWrite::Refuses },
        { "SymlinkToItself", [](const std::string& p) { fs::create_symlink(p, p); }, defaults, NextWrite::Refuses },
        { "DanglingSymlink", [](const std::string& p) { fs::create_symlink(p + ".nowhere", p); }, defaults, NextWrite::Refuses },
    };
}

std::vector<BadInput> allRows()
{
    auto rows = keyRows();
    auto files = fileRows();
    rows.insert(rows.end(), files.begin(), files.end());
    return rows;
}

class BadSettingsInput : public testing::TestWithParam<BadInput> { };

} // namespace

TEST_P(BadSettingsInput, ReadsSoundlyAndTheNextChangeWritesOrRefuses)
{
    const BadInput& row = GetParam();
    TestDevice device;
    const std::string host = device.hostPath(path);
    const long baselineKB = ownMaxResidentKB();
    ChildOutcome outcome = runInChild([&]() -> std::string {
        row.prepare(host);
        std::error_code ignored;
        bool keepBytes = row.nextWrite == NextWrite::Refuses && fs::is_regular_file(host, ignored);
        std::string bytesBefore = keepBytes ? fileBytes(host) : "";
        NSDictionary settings = read();
        readEverything(settings);
        std::string problem = row.check(settings);
        if (!problem.empty())
            return problem;
        return checkNextWrite(row.nextWrite, settings, host, bytesBefore);
    });
    EXPECT_TRUE(outcome.succeeded()) << row.name << ": " << outcome.describe();
    EXPECT_LT(outcome.maxResidentKB - baselineKB, kMemoryBoundKB) << row.name << " peaked at " << outcome.maxResidentKB << " KB";
    std::error_code ignored;
    fs::remove("/tmp/rvx-reliability-elsewhere-" + std::to_string(getpid()), ignored);
}

INSTANTIATE_TEST_SUITE_P(Table, BadSettingsInput, testing::ValuesIn(allRows()),
    [](const testing::TestParamInfo<BadInput>& info) { return info.param.name; });
