#include "foundation/PropertyList.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {

std::string xmlPlist(const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n" + body + "\n</plist>\n";
}

void appendBigEndian(std::string& out, uint64_t value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out += char((value >> (8 * i)) & 0xFF);
}

// A binary list of `depth` arrays, each holding the next; the last refers back to the first
// when `cycle` is set.
std::string nestedBinary(uint64_t depth, bool cycle = false)
{
    std::string out = "bplist00";
    std::vector<uint64_t> offsets;
    for (uint64_t i = 0; i < depth; ++i) {
        offsets.push_back(out.size());
        bool last = i + 1 == depth;
        if (last && !cycle) {
            out += char(0xA0);
        } else {
            out += char(0xA1);
            appendBigEndian(out, last ? 0 : i + 1, 4);
        }
    }
    uint64_t table = out.size();
    for (uint64_t offset : offsets)
        appendBigEndian(out, offset, 4);
    out.append(6, '\0');
    out += char(4);
    out += char(4);
    appendBigEndian(out, depth, 8);
    appendBigEndian(out, 0, 8);
    appendBigEndian(out, table, 8);
    return out;
}

std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

} // namespace

TEST(PropertyList, WritesThePlatformsXMLForm)
{
    NSDictionary inner { { "b", true }, { "a", false } };
    NSDictionary root { { "Size", 17.0 }, { "Label", "A & <B>" }, { "Count", -3 }, { "Ratio", 0.1 },
        { "Inner", inner }, { "List", NSArray { 1, "two" } }, { "Empty", NSArray {} }, { "Bytes", NSData { { 0, 1, 2 } } },
        { "When", NSDate::dateWithTimeIntervalSinceReferenceDate(86400) } };
    auto xml = PropertyList::xmlData(PlistValue(root));
    ASSERT_TRUE(xml);
    EXPECT_EQ(*xml,
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n"
        "<dict>\n"
        "\t<key>Bytes</key>\n\t<data>\n\tAAEC\n\t</data>\n"
        "\t<key>Count</key>\n\t<integer>-3</integer>\n"
        "\t<key>Empty</key>\n\t<array/>\n"
        "\t<key>Inner</key>\n\t<dict>\n\t\t<key>a</key>\n\t\t<false/>\n\t\t<key>b</key>\n\t\t<true/>\n\t</dict>\n"
        "\t<key>Label</key>\n\t<string>A &amp; &lt;B&gt;</string>\n"
        "\t<key>List</key>\n\t<array>\n\t\t<integer>1</integer>\n\t\t<string>two</string>\n\t</array>\n"
        "\t<key>Ratio</key>\n\t<real>0.10000000000000001</real>\n"
        "\t<key>Size</key>\n\t<real>17</real>\n"
        "\t<key>When</key>\n\t<date>2001-01-02T00:00:00Z</date>\n"
        "</dict>\n"
        "</plist>\n");
    auto back = PropertyList::parse(*xml);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, PlistValue(root));
}

TEST(PropertyList, DataIsBase64WithPadding)
{
    EXPECT_EQ(NSData {}.base64EncodedString(), "");
    EXPECT_EQ((NSData { { 'f' } }).base64EncodedString(), "Zg==");
    EXPECT_EQ((NSData { { 'f', 'o' } }).base64EncodedString(), "Zm8=");
    EXPECT_EQ((NSData { { 'f', 'o', 'o' } }).base64EncodedString(), "Zm9v");
    EXPECT_EQ((NSData { { 0xff, 0xfe, 0xfd, 0x00 } }).base64EncodedString(), "//79AA==");
}

TEST(PropertyList, ReadsIntegersAsDecimalAndSigned)
{
    auto value = PropertyList::parse(xmlPlist("<dict><key>o</key><integer>010</integer><key>n</key><integer>-5</integer>"
                                              "<key>p</key><integer> +7 </integer><key>big</key><integer>99999999999999999999</integer>"
                                              "<key>min</key><integer>-9223372036854775808</integer></dict>"));
    ASSERT_TRUE(value && value->dictionary());
    auto& dict = *value->dictionary();
    EXPECT_EQ(*dict.objectForKey("o")->integer(), 10);
    EXPECT_EQ(*dict.objectForKey("n")->integer(), -5);
    EXPECT_EQ(*dict.objectForKey("p")->integer(), 7);
    EXPECT_EQ(*dict.objectForKey("big")->integer(), INT64_MAX);
    EXPECT_EQ(*dict.objectForKey("min")->integer(), INT64_MIN);
    EXPECT_FALSE(PropertyList::parse(xmlPlist("<dict><key>x</key><integer>abc</integer></dict>")));
}

TEST(PropertyList, RefusesWhatItCannotReadSafely)
{
    EXPECT_FALSE(PropertyList::parse(""));
    EXPECT_FALSE(PropertyList::parse("not a property list"));
    EXPECT_FALSE(PropertyList::parse("bplist00 truncated"));
    EXPECT_FALSE(PropertyList::parse(std::string(PropertyList::maximumSize + 1, ' ')));

    std::string deepXML;
    for (int i = 0; i < 100000; ++i)
        deepXML += "<array>";
    EXPECT_FALSE(PropertyList::parse(xmlPlist(deepXML)));
    EXPECT_FALSE(PropertyList::parse(nestedBinary(200000)));
    EXPECT_FALSE(PropertyList::parse(nestedBinary(3, /*cycle=*/true)));

    auto shallow = PropertyList::parse(nestedBinary(100));
    ASSERT_TRUE(shallow && shallow->array());
    EXPECT_EQ(shallow->array()->count(), 1u);
}

TEST(PropertyList, ToleratesAByteOrderMark)
{
    auto value = PropertyList::parse("\xEF\xBB\xBF" + xmlPlist("<dict><key>a</key><true/></dict>"));
    ASSERT_TRUE(value && value->dictionary());
    EXPECT_TRUE(*value->dictionary()->objectForKey("a")->boolean());
}

TEST(PropertyList, RefusesToWriteInvalidText)
{
    EXPECT_FALSE(PropertyList::xmlData(PlistValue(NSDictionary { { "Label", "bad \xC3(" } })));
    EXPECT_FALSE(PropertyList::xmlData(PlistValue(NSDictionary { { "\xFF", 1 } })));
    EXPECT_FALSE(PropertyList::xmlData(PlistValue(NSDictionary { { "Label", std::string("nul\0x", 5) } })));
    EXPECT_TRUE(PropertyList::xmlData(PlistValue(NSDictionary { { "Label", "tab\tand caf\xC3\xA9" } })));

    TestDevice device;
    std::string path = device.hostPath("/var/mobile/Library/Preferences/x.plist");
    NSDictionary good { { "Label", "kept" } };
    NSDictionary bad { { "Label", "bad \x80" } };
    ASSERT_TRUE(good.writeToFile("/var/mobile/Library/Preferences/x.plist", true));
    EXPECT_FALSE(bad.writeToFile("/var/mobile/Library/Preferences/x.plist", true));
    EXPECT_NE(readText(path).find("kept"), std::string::npos);
}

TEST(PropertyList, ReadsBinaryAndXMLFromAnIndependentWriter)
{
    if (system("python3 -c 'import plistlib' >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3 is not available";
    TestDevice device;
    for (const char* format : { "FMT_BINARY", "FMT_XML" }) {
        std::string path = device.hostPath(std::string("/tmp/peer-") + format + ".plist");
        std::string script = "import plistlib, datetime\n"
                             "d = {'Label': 'caf\\u00e9', 'Count': -7, 'Big': 2**40, 'Size': 12.5, 'Highlight': False,\n"
                             "     'List': [1, 'x'], 'Blob': b'\\x00\\x01', 'When': datetime.datetime(2001, 1, 2)}\n"
                             "open('" + path + "', 'wb').write(plistlib.dumps(d, fmt=plistlib." + format + "))\n";
        std::string command = "python3 -c \"$(cat <<'PY'\n" + script + "PY\n)\"";
        ASSERT_EQ(system(command.c_str()), 0);
        auto dict = NSDictionary::dictionaryWithContentsOfFile(std::string("/tmp/peer-") + format + ".plist");
        ASSERT_TRUE(dict) << format;
        EXPECT_EQ(*dict->objectForKey("Label")->string(), "caf\xC3\xA9");
        EXPECT_EQ(*dict->objectForKey("Count")->integer(), -7);
        EXPECT_EQ(*dict->objectForKey("Big")->integer(), int64_t(1) << 40);
        EXPECT_EQ(*dict->objectForKey("Size")->real(), 12.5);
        EXPECT_FALSE(*dict->objectForKey("Highlight")->boolean());
        EXPECT_EQ(dict->objectForKey("List")->array()->count(), 2u);
        EXPECT_EQ(dict->objectForKey("Blob")->data()->bytes, (std::vector<uint8_t> { 0, 1 }));
        EXPECT_DOUBLE_EQ(dict->objectForKey("When")->date()->timeIntervalSinceReferenceDate(), 86400);
    }
}

TEST(PropertyList, DictionaryReaderAnswersNothingForMissingOrForeignFiles)
{
    TestDevice device;
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/nowhere.plist"));
    std::ofstream(device.hostPath("/array.plist")) << xmlPlist("<array><integer>1</integer></array>");
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/array.plist"));
    std::ofstream(device.hostPath("/broken.plist")) << xmlPlist("<dict><key>a</key><string>x</dict>");
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/broken.plist"));
    std::filesystem::create_directories(device.hostPath("/dir.plist", false));
    EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/dir.plist"));
}
