// Images named by the user's "Path": a PNG declaring a giant canvas, files that are not
// PNGs, and things at the path that are not files. Each is refused or loaded within the
// pixel budget, in a child with an alarm so that a blocking open shows as a failure.

#include "ChildProcess.h"

#include "TestDevice.h"
#include "ui/UIImage.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

uint32_t crc32(const std::string& bytes)
{
    static const auto table = [] {
        std::array<uint32_t, 256> entries {};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes)
        crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char((value >> shift) & 0xFF);
}

void appendChunk(std::string& png, const char* type, const std::string& data)
{
    appendBigEndian32(png, uint32_t(data.size()));
    std::string typed = std::string(type, 4) + data;
    png += typed;
    appendBigEndian32(png, crc32(typed));
}

// zlib stream of stored (uncompressed) blocks.
std::string storedZlib(const std::string& raw)
{
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        size_t length = std::min<size_t>(raw.size() - at, 65535);
        bool last = at + length == raw.size();
        out += char(last ? 1 : 0);
        out += char(length & 0xFF);
        out += char(length >> 8);
        out += char(~length & 0xFF);
        out += char((~length >> 8) & 0xFF);
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    appendBigEndian32(out, b << 16 | a);
    return out;
}

// An RGBA PNG declaring width x height, holding the pixel data of its first `rows` rows.
std::string pngDeclaring(uint32_t width, uint32_t height, uint32_t rows)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    appendBigEndian32(header, width);
    appendBigEndian32(header, height);
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8 bits, RGBA, deflate, no filter, no interlace
    appendChunk(png, "IHDR", header);
    std::string raw;
    for (uint32_t row = 0; row < rows; ++row)
        raw += '\0' + std::string(size_t(width) * 4, '\x7f');
    appendChunk(png, "IDAT", storedZlib(raw));
    appendChunk(png, "IEND", "");
    return png;
}

class ImageInput : public testing::Test {
protected:
    TestDevice device;
    const std::string phonePath = "/var/mobile/Media/bar.png";
    std::string host = device.hostPath(phonePath);
    long baselineKB = ownMaxResidentKB();

    void writeFile(const std::string& bytes) { std::ofstream(host, std::ios::binary) << bytes; }

    // Loads the image in a child; answers "" when `expectImage` matches what came back.
    ChildOutcome loadInChild(bool expectImage, CGSize expectedSize = {})
    {
        return runInChild([=, this]() -> std::string {
            UIImageRef image = UIImage::imageWithContentsOfFile(phonePath);
            if (bool(image) != expectImage)
                return expectImage ? "no image was loaded" : "an image was loaded";
            if (image && (image->size().width != expectedSize.width || image->size().height != expectedSize.height))
                return "the image has the wrong size";
            return "";
        }, 5);
    }
};

} // namespace

TEST_F(ImageInput, ADecompressionBombIsRefusedBeforeItIsDecoded)
{
    writeFile(pngDeclaring(30000, 30000, 1));
    ASSERT_LT(fs::file_size(host), 200u * 1024);
    ChildOutcome outcome = loadInChild(false);
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();
    // 30000 x 30000 pixels would be 3.6 GB decoded.
    EXPECT_LT(outcome.maxResidentKB - baselineKB, 32 * 1024);
}

TEST_F(ImageInput, TheSideBoundLoadsAndOnePixelMoreIsRefused)
{
    const uint32_t side = UIImage::kMaxPixelsPerSide;
    writeFile(pngDeclaring(side, 1, 1));
    ChildOutcome atBound = loadInChild(true, { CGFloat(side), 1 });
    EXPECT_TRUE(atBound.succeeded()) << atBound.describe();

    writeFile(pngDeclaring(side + 1, 1, 1));
    ChildOutcome past = loadInChild(false);
    EXPECT_TRUE(past.succeeded()) << past.describe();

    // The largest canvas allowed, with its pixel data cut short: refused or loaded, within budget.
    writeFile(pngDeclaring(side, side, 2));
    ChildOutcome truncated = runInChild([&]() -> std::string {
        UIImageRef image = UIImage::imageWithContentsOfFile(phonePath);
        return !image || image->size().width == CGFloat(side) ? "" : "a truncated image came back with the wrong size";
    }, 20);
    EXPECT_TRUE(truncated.succeeded()) << truncated.describe();
    EXPECT_LT(truncated.maxResidentKB - baselineKB, 512 * 1024);
}

TEST_F(ImageInput, FilesThatAreNotPngsAreRefused)
{
    for (const std::string& bytes : { std::string("just some text\n"), std::string("\xFF\xD8\xFF\xE0\x00\x10JFIF", 10),
             std::string("\x89PNG\r\n\x1a\n", 8), std::string(), pngDeclaring(0, 0, 0), pngDeclaring(1, 1, 1).substr(0, 40) }) {
        writeFile(bytes);
        ChildOutcome outcome = loadInChild(false);
        EXPECT_TRUE(outcome.succeeded()) << outcome.describe() << " for " << bytes.size() << " bytes";
    }
}

TEST_F(ImageInput, AFifoAtThePathDoesNotBlock)
{
    ASSERT_EQ(mkfifo(host.c_str(), 0600), 0);
    ChildOutcome outcome = loadInChild(false);
    EXPECT_TRUE(outcome.succeeded()) << outcome.describe();

    // The "@2x" file beside it is tried first: a FIFO there must not block either.
    fs::remove(host);
    writeFile(pngDeclaring(2, 2, 2));
    std::string doubled = device.hostPath("/var/mobile/Media/bar@2x.png");
    ASSERT_EQ(mkfifo(doubled.c_str(), 0600), 0);
    ChildOutcome beside = loadInChild(true, { 2, 2 });
    EXPECT_TRUE(beside.succeeded()) << beside.describe();
}

TEST_F(ImageInput, DevicesAndDirectoriesBehindLinksAreRefused)
{
    for (const char* target : { "/dev/zero", "/dev/urandom", "/", "/proc/self/mem" }) {
        fs::remove(host);
        fs::create_symlink(target, host);
        ChildOutcome outcome = loadInChild(false);
        EXPECT_TRUE(outcome.succeeded()) << target << ": " << outcome.describe();
    }
}
