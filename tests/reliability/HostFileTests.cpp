// Files the hosts write or load that are not what they should be: a screenshot's target that
// is a FIFO, a link or on a full disk; a bundle binary that is a FIFO, text or truncated;
// phone folders linked out of the device. Each risky step runs in a child with an alarm.

#include "ChildProcess.h"

#include "control/Screenshot.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSBundle.h"
#include "foundation/PlistValue.h"
#include "foundation/PreferenceFile.h"
#include "support/ScratchFolder.h"
#include "TestDevice.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string bytesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::shared_ptr<UIWindow> smallWindow()
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 40, 30));
    window->setBackgroundColor(UIColor::colorWithWhite(0.5, 1));
    return window;
}

TEST(ScreenshotTarget, OnlyARegularFileOrANewNameIsWrittenAndAFailedWriteKeepsTheOld)
{
    ScratchFolder scratch { "rvx-hostfiles" };
    auto window = smallWindow();
    int tried = 0;

    // A FIFO, a folder, a link: refused without opening, so nothing blocks.
    std::string fifo = scratch.path() + "/f";
    mkfifo(fifo.c_str(), 0600);
    std::string folder = scratch.path() + "/d";
    fs::create_directory(folder);
    std::string victim = scratch.path() + "/victim.txt";
    writeFile(victim, "precious");
    std::string link = scratch.path() + "/l.png";
    fs::create_symlink(victim, link);
    for (const std::string& target : { fifo, folder, link }) {
        ChildOutcome outcome = runInChild([&]() -> std::string {
            Result<void> written = control::writeScreenshot(*window, target, 1);
            if (written)
                return "wrote " + target;
            return written.error().find("could not write") != std::string::npos ? "" : "unclear refusal: " + written.error();
        }, 5);
        EXPECT_TRUE(outcome.succeeded()) << target << ": " << outcome.describe();
        ++tried;
    }
    EXPECT_EQ(bytesOf(victim), "precious");
    EXPECT_TRUE(fs::is_symlink(link));

    // Scales outside 0.1 to 8, however they are spelt.
    for (double scale : { 1e-300, 0.0, 0.09, -1.0, 8.5, 1e300, std::nan("") }) {
        Result<void> written = control::writeScreenshot(*window, scratch.path() + "/s.png", scale);
        ASSERT_FALSE(written) << scale;
        EXPECT_NE(written.error().find("scale"), std::string::npos) << written.error();
        ++tried;
    }
    EXPECT_FALSE(fs::exists(scratch.path() + "/s.png"));

    // A full disk (a file size limit here): the old picture stays whole, a new name stays unmade.
    std::string old = scratch.path() + "/old.png";
    Result<void> first = control::writeScreenshot(*window, old, 4);
    ASSERT_TRUE(first) << first.error();
    std::string before = bytesOf(old);
    ChildOutcome full = runInChild([&]() -> std::string {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit { 64, 64 };
        setrlimit(RLIMIT_FSIZE, &limit);
        if (control::writeScreenshot(*window, old, 4))
            return "claimed to have written past the limit";
        if (control::writeScreenshot(*window, scratch.path() + "/new.png", 4))
            return "claimed to have written a new file past the limit";
        return "";
    }, 10);
    EXPECT_TRUE(full.succeeded()) << full.describe();
    EXPECT_EQ(bytesOf(old), before);
    EXPECT_FALSE(fs::exists(scratch.path() + "/new.png"));
    for (const auto& entry : fs::directory_iterator(scratch.path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp."), std::string::npos) << entry.path();
    tried += 2;
    EXPECT_EQ(tried, 12);
}

// The file of a shared library this test program has loaded.
std::string loadedLibrary()
{
    Dl_info info {};
    EXPECT_NE(dladdr(reinterpret_cast<void*>(&DeviceRoot::resolve), &info), 0);
    return info.dli_fname ? info.dli_fname : "";
}

TEST(BundleBinary, OnlyAWholeELFLibraryReachesTheLoader)
{
    TestDevice device;
    std::string library = loadedLibrary();
    ASSERT_FALSE(library.empty());
    std::string whole = bytesOf(library);
    ASSERT_GT(whole.size(), 4096u);

    struct Case {
        const char* name;
        std::function<void(const std::string&)> make;
        const char* reason;
    };
    const Case cases[] = {
        { "Fifo", [](const std::string& p) { mkfifo(p.c_str(), 0600); }, "a FIFO" },
        { "Folder", [](const std::string& p) { fs::create_directory(p); }, "a folder" },
        { "Empty", [](const std::string& p) { writeFile(p, ""); }, "too short" },
        { "Text", [](const std::string& p) { writeFile(p, std::string(200, '#')); }, "not an ELF file" },
        { "HeaderOnly", [&](const std::string& p) { writeFile(p, whole.substr(0, 64)); }, "truncated" },
        { "Half", [&](const std::string& p) { writeFile(p, whole.substr(0, whole.size() / 2)); }, "truncated" },
        { "AllButOnePage", [&](const std::string& p) { writeFile(p, whole.substr(0, whole.size() - 4096)); }, "truncated" },
        { "Missing", [](const std::string&) {}, "No such file" },
    };
    int tried = 0;
    for (const Case& c : cases) {
        std::string bundle = std::string("/System/Library/WeeAppPlugins/") + c.name + ".bundle";
        std::string binary = device.hostPath(bundle + "/" + c.name);
        c.make(binary);
        ChildOutcome outcome = runInChild([&]() -> std::string {
            NSBundle loaded(bundle);
            Result<void> load = loaded.load();
            if (load)
                return "loaded";
            if (load.error().find(c.reason) == std::string::npos || load.error().find(c.name) == std::string::npos)
                return "the reason does not say '" + std::string(c.reason) + "' of the file: " + load.error();
            return "";
        }, 5);
        EXPECT_TRUE(outcome.succeeded()) << c.name << ": " << outcome.describe();
        ++tried;
    }
    EXPECT_EQ(tried, 8);

    // A whole copy still loads, and an unreadable Info.plist is named as such.
    std::string good = "/System/Library/WeeAppPlugins/Good.bundle";
    fs::copy_file(library, device.hostPath(good + "/Good"));
    writeFile(device.hostPath(good + "/Info.plist"), "garbage");
    NSBundle bundle(good);
    Result<void> load = bundle.load();
    EXPECT_TRUE(load) << load.error();
    EXPECT_EQ(bundle.infoProblem(), "its Info.plist is not a property list holding a dictionary");
}

TEST(PhoneFolderLinks, WritesNeverLeaveTheDevice)
{
    TestDevice device;
    ScratchFolder outside { "rvx-hostfiles" };
    int tried = 0;
    // The Preferences folder, and a folder above it, linked out of the device.
    for (const char* linked : { "/var/mobile/Library/Preferences", "/var/mobile" }) {
        fs::remove_all(device.root() + "/var");
        std::string host = device.hostPath(linked);
        fs::create_symlink(outside.path(), host);
        EXPECT_FALSE(PreferenceFile::forDomain("com.example.links").setObject(PlistValue(std::string("x")), "Key")) << linked;
        NSDictionary dictionary;
        dictionary.setObject(PlistValue(std::string("x")), "Key");
        EXPECT_FALSE(dictionary.writeToFile("/var/mobile/Library/Preferences/com.example.direct.plist", true)) << linked;
        EXPECT_TRUE(fs::is_empty(outside.path())) << linked << ": something was written outside the device";
        // Nor is anything read from there.
        std::string planted = outside.path() + (std::string(linked) == "/var/mobile" ? "/Library/Preferences" : "");
        fs::create_directories(planted);
        writeFile(planted + "/com.example.planted.plist", "{ Key = planted; }");
        EXPECT_FALSE(PreferenceFile::forDomain("com.example.planted").readIfPresent()) << linked;
        EXPECT_FALSE(NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.example.planted.plist")) << linked;
        fs::remove_all(planted);
        fs::create_directories(outside.path());
        tried += 4;
    }
    // A link that stays inside the device is followed.
    fs::remove_all(device.root() + "/var");
    fs::create_directories(device.root() + "/elsewhere/Preferences");
    fs::create_directories(device.root() + "/var/mobile/Library");
    fs::create_symlink("../../../elsewhere/Preferences", device.root() + "/var/mobile/Library/Preferences");
    EXPECT_TRUE(PreferenceFile::forDomain("com.example.links").setObject(PlistValue(std::string("x")), "Key"));
    EXPECT_TRUE(fs::exists(device.root() + "/elsewhere/Preferences/com.example.links.plist"));
    EXPECT_TRUE(PreferenceFile::forDomain("com.example.links").readIfPresent());
    // And a missing folder is made, never through a link.
    fs::remove_all(device.root() + "/var");
    EXPECT_TRUE(PreferenceFile::forDomain("com.example.fresh").setObject(PlistValue(std::string("y")), "Key"));
    EXPECT_TRUE(fs::is_regular_file(device.root() + "/var/mobile/Library/Preferences/com.example.fresh.plist"));
    tried += 2;
    EXPECT_EQ(tried, 10);
}

} // namespace
