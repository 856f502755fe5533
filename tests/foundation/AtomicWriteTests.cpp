#include "foundation/AtomicFile.h"
#include "foundation/PreferenceFile.h"
#include "foundation/PropertyList.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> entriesOf(const std::string& directory)
{
    std::vector<std::string> names;
    for (auto& entry : fs::directory_iterator(directory))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(AtomicWrite, FailsWithoutTouchingAnythingWhenTheDirectoryIsUnusable)
{
    TestDevice device;
    std::string file = device.hostPath("/blocker");
    std::ofstream(file) << "a regular file";
    EXPECT_FALSE(AtomicFile::write(file + "/x.plist", "data"));
    EXPECT_FALSE(AtomicFile::write(device.root() + "/missing/x.plist", "data"));
    NSDictionary dictionary { { "a", 1 } };
    EXPECT_FALSE(dictionary.writeToFile("/blocker/x.plist", true));
    EXPECT_EQ(entriesOf(device.root()), (std::vector<std::string> { "blocker" }));
}

TEST(AtomicWrite, FailedRenameLeavesTheOldFileAndNoTemporary)
{
    TestDevice device;
    std::string target = device.hostPath("/data/x.plist");
    fs::create_directories(target); // a non-empty directory cannot be replaced by a file
    std::ofstream(target + "/inside") << "old";
    EXPECT_FALSE(AtomicFile::write(target, "new"));
    EXPECT_EQ(entriesOf(device.root() + "/data"), (std::vector<std::string> { "x.plist" }));
    EXPECT_TRUE(fs::exists(target + "/inside"));
}

TEST(AtomicWrite, DoesNotFollowALinkAtTheTemporaryPath)
{
    TestDevice device;
    std::string target = device.hostPath("/data/x.plist");
    std::string victim = device.hostPath("/victim");
    std::ofstream(victim) << "precious";
    std::string temporary = AtomicFile::temporaryPrefix(target) + "planted";
    fs::create_symlink(victim, temporary);
    EXPECT_EQ(AtomicFile::writeThrough(target, temporary, "attack"), AtomicFile::Result::Exists);
    std::ifstream in(victim);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "precious");
    EXPECT_TRUE(fs::is_symlink(temporary));
    EXPECT_FALSE(fs::exists(target));
}

TEST(AtomicWrite, NewFilesFollowTheUmaskAndOldOnesKeepTheirMode)
{
    TestDevice device;
    std::string target = device.hostPath("/data/x.plist");
    mode_t previous = umask(022);
    EXPECT_TRUE(AtomicFile::write(target, "one"));
    EXPECT_EQ(modeOf(target), mode_t(0644));
    chmod(target.c_str(), 0600);
    EXPECT_TRUE(AtomicFile::write(target, "two"));
    EXPECT_EQ(modeOf(target), mode_t(0600));
    umask(previous);
    EXPECT_EQ(entriesOf(device.root() + "/data"), (std::vector<std::string> { "x.plist" }));
}

TEST(AtomicWrite, LockedWritesRemoveStaleTemporariesOfDeadWriters)
{
    TestDevice device;
    auto file = PreferenceFile::forDomain("com.example.other");
    std::string directory = fs::path(file.hostPath()).parent_path().string();
    fs::create_directories(directory);
    // A writer whose pid cannot be alive, and one of ours that is recent: only the first goes.
    std::string dead = directory + "/." + fs::path(file.hostPath()).filename().string() + ".tmp.2147483646.abcdef";
    std::string live = AtomicFile::temporaryPrefix(file.hostPath()) + "inflight";
    std::ofstream(dead) << "half";
    std::ofstream(live) << "half";
    EXPECT_TRUE(file.setObject(1, "a"));
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(live));
    EXPECT_EQ(*file.read().objectForKey("a")->integer(), 1);
}
