// The product's package as dpkg-deb reads it, and packages installed, upgraded, removed and
// refused on a temporary device through the ruvex command, as a user runs it.

#include "DebWriter.h"
#include "support/CommandRun.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using Result = CommandRun;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class Packages : public ::testing::Test {
protected:
    void TearDown() override { run(std::string(RUVEX_PATH) + " --device '" + _device + "' shutdown"); }

    Result run(const std::string& command) { return runCommand(command, _scratch + "/stderr"); }
    Result ruvex(const std::string& arguments) { return run(std::string(RUVEX_PATH) + " --device '" + _device + "' " + arguments); }

    void create() { ASSERT_EQ(ruvex("device create --apps com.apple.Music").status, 0); }

    std::string deb(const std::string& name, const std::string& control, const std::vector<DebMember>& members)
    {
        std::string file = _scratch + "/" + name + ".deb";
        EXPECT_TRUE(writeDeb(file, control, members)) << name;
        return file;
    }

    // Every path below the device with its kind and size, to tell whether anything changed.
    std::map<std::string, std::string> snapshot() const
    {
        std::map<std::string, std::string> paths;
        for (auto it = fs::recursive_directory_iterator(_device); it != fs::recursive_directory_iterator(); ++it) {
            std::string kind = it->is_symlink() ? "link" : it->is_directory() ? "folder" : std::to_string(it->file_size());
            paths[fs::relative(it->path(), _device).string()] = kind;
        }
        return paths;
    }

    ScratchFolder _folder { "ruvex-package" };
    std::string _scratch = _folder.path();
    std::string _device = _folder / "device";
};

std::vector<DebMember> thing(const std::vector<std::pair<std::string, std::string>>& files)
{
    std::vector<DebMember> members { { "./", DebMember::Kind::Folder, 0755, {}, 0, {} },
        { "./Library/", DebMember::Kind::Folder, 0755, {}, 0, {} },
        { "./Library/Thing/", DebMember::Kind::Folder, 0755, {}, 0, {} } };
    for (const auto& [name, content] : files)
        members.push_back({ "./Library/Thing/" + name, DebMember::Kind::File, 0644, content, 0, {} });
    return members;
}

TEST_F(Packages, TheProductPackageReadsBackWithDpkgDeb)
{
    const std::string file = PACKAGE_FILE;
    ASSERT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(fs::path(file).filename().string(), "com.vastelmark.ruvexpro_" PACKAGE_VERSION "_iphoneos-arm.deb");

    Result fields = run("dpkg-deb --field '" + file + "' Package Name Version Architecture Depends Section Maintainer Author");
    ASSERT_EQ(fields.status, 0) << fields.err;
    for (const char* line : { "Package: com.vastelmark.ruvexpro\n", "Name: Ruvex Pro\n", "Version: " PACKAGE_VERSION "\n",
             "Architecture: iphoneos-arm\n", "Depends: preferenceloader\n", "Section: Widgets\n", "Maintainer: ", "Author: " })
        EXPECT_NE(fields.out.find(line), std::string::npos) << line << " in " << fields.out;
    EXPECT_EQ(run("dpkg-deb --info '" + file + "'").status, 0);
    EXPECT_NE(run("dpkg-deb --info '" + file + "'").out.find("Description: "), std::string::npos);
    EXPECT_NE(run("dpkg-deb --info '" + file + "'").out.find(" md5sums"), std::string::npos);

    Result contents = run("dpkg-deb --contents '" + file + "'");
    ASSERT_EQ(contents.status, 0) << contents.err;
    for (const char* path : { " ./System/Library/WeeAppPlugins/RuvexPro.bundle/RuvexPro\n",
             " ./System/Library/WeeAppPlugins/RuvexPro.bundle/Info.plist\n",
             " ./System/Library/WeeAppPlugins/RuvexPro.bundle/Background@2x.png\n",
             " ./Library/PreferenceBundles/RuvexProprefs.bundle/RuvexProprefs\n",
             " ./Library/PreferenceBundles/RuvexProprefs.bundle/RVXFontController.plist\n",
             " ./Library/PreferenceBundles/RuvexProprefs.bundle/colormap@2x.png\n",
             " ./Library/PreferenceBundles/ruvexcfPrefs.bundle/TilesPreview.png\n",
             " ./Library/PreferenceLoader/Preferences/RuvexPro.plist\n" })
        EXPECT_NE(contents.out.find(path), std::string::npos) << path;
    std::istringstream lines(contents.out);
    for (std::string line; std::getline(lines, line);) {
        std::string mode = line.substr(0, 10);
        EXPECT_NE(line.find(" root/root "), std::string::npos) << line;
        auto endsWith = [&](const std::string& tail) {
            return line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0;
        };
        bool executable = endsWith("RuvexPro.bundle/RuvexPro") || endsWith("RuvexProprefs.bundle/RuvexProprefs");
        EXPECT_EQ(mode, line[0] == 'd' ? "drwxr-xr-x" : executable ? "-rwxr-xr-x" : "-rw-r--r--") << line;
    }

    // Nothing of the machine that built it: no source or build paths in any file. A sanitizer
    // build names its source files in the instrumentation itself, so only a plain build is read.
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "an instrumented build carries its source paths";
#endif
    std::string unpacked = _scratch + "/unpacked";
    ASSERT_EQ(run("dpkg-deb -x '" + file + "' '" + unpacked + "'").status, 0);
    for (auto it = fs::recursive_directory_iterator(unpacked); it != fs::recursive_directory_iterator(); ++it) {
        if (!it->is_regular_file())
            continue;
        std::string bytes = readFile(it->path());
        EXPECT_EQ(bytes.find(SOURCE_DIR), std::string::npos) << it->path();
        EXPECT_EQ(bytes.find(BINARY_DIR), std::string::npos) << it->path();
    }
}

TEST_F(Packages, InstallUpgradeAndUninstallKeepTheDpkgDatabase)
{
    create();
    std::string v1 = deb("thing1", controlFor("com.example.thing", "1.0"), thing({ { "a", "one" }, { "b", "bee" } }));
    std::string v2 = deb("thing2", controlFor("com.example.thing", "1.0+2"), thing({ { "a", "ONE" }, { "c", "sea" } }));

    Result installed = ruvex("install '" + v1 + "'");
    ASSERT_EQ(installed.status, 0) << installed.err;
    EXPECT_EQ(readFile(_device + "/Library/Thing/b"), "bee");
    // dpkg itself reads the device's database.
    std::string query = "dpkg-query --admindir='" + _device + "/var/lib/dpkg' ";
    EXPECT_EQ(run(query + "-W -f='${Package} ${Version} ${Status}' com.example.thing").out,
        "com.example.thing 1.0 install ok installed");
    EXPECT_EQ(run(query + "-L com.example.thing").out, "/.\n/Library\n/Library/Thing\n/Library/Thing/a\n/Library/Thing/b\n");

    // The upgrade replaces a, adds c and removes b, which the new version no longer has.
    installed = ruvex("install '" + v2 + "'");
    ASSERT_EQ(installed.status, 0) << installed.err;
    EXPECT_NE(installed.out.find("(was 1.0)"), std::string::npos) << installed.out;
    EXPECT_EQ(readFile(_device + "/Library/Thing/a"), "ONE");
    EXPECT_TRUE(fs::exists(_device + "/Library/Thing/c"));
    EXPECT_FALSE(fs::exists(_device + "/Library/Thing/b"));
    EXPECT_EQ(run(query + "-L com.example.thing").out, "/.\n/Library\n/Library/Thing\n/Library/Thing/a\n/Library/Thing/c\n");

    Result older = ruvex("install '" + v1 + "'");
    EXPECT_EQ(older.status, 1);
    EXPECT_NE(older.err.find("older than the installed 1.0+2"), std::string::npos) << older.err;
    EXPECT_EQ(readFile(_device + "/Library/Thing/a"), "ONE");
    EXPECT_EQ(ruvex("install --downgrade '" + v1 + "'").status, 0);
    EXPECT_EQ(readFile(_device + "/Library/Thing/a"), "one");

    Result listed = ruvex("--json packages");
    EXPECT_NE(listed.out.find("{\"package\":\"com.example.thing\",\"version\":\"1.0\""), std::string::npos) << listed.out;

    // Uninstalling removes the listed files and the folders left empty, not what the user put there.
    std::ofstream(_device + "/Library/mine") << "mine";
    Result removed = ruvex("uninstall com.example.thing");
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(fs::exists(_device + "/Library/Thing"));
    EXPECT_TRUE(fs::exists(_device + "/Library/mine"));
    EXPECT_NE(run(query + "-W com.example.thing").status, 0);
    EXPECT_EQ(ruvex("uninstall com.example.thing").status, 1);
    EXPECT_EQ(ruvex("uninstall ../etc").status, 2);
}

TEST_F(Packages, TheProductUninstallsAndKeepsTheSettingsFile)
{
    create();
    std::string settings = _device + "/var/mobile/Library/Preferences/com.vastelmark.ruvexpro.plist";
    ASSERT_EQ(ruvex("defaults write com.vastelmark.ruvexpro Label 'Close them all'").status, 0);
    // dpkg itself checks the installed files against the package's md5sums.
    Result verified = run("dpkg --root='" + _device + "' --verify com.vastelmark.ruvexpro");
    EXPECT_EQ(verified.status, 0) << verified.err;
    EXPECT_EQ(verified.out, "") << "every file as the package holds it";
    EXPECT_EQ(ruvex("uninstall preferenceloader").status, 1) << "the product depends on it";

    Result removed = ruvex("uninstall com.vastelmark.ruvexpro");
    ASSERT_EQ(removed.status, 0) << removed.err;
    EXPECT_FALSE(fs::exists(_device + "/System/Library/WeeAppPlugins/RuvexPro.bundle"));
    EXPECT_FALSE(fs::exists(_device + "/Library/PreferenceBundles/RuvexProprefs.bundle"));
    EXPECT_FALSE(fs::exists(_device + "/Library/PreferenceLoader/Preferences/RuvexPro.plist"));
    EXPECT_TRUE(fs::is_directory(_device + "/System/Library/WeeAppPlugins")) << "the phone's own folder stays";
    EXPECT_NE(readFile(settings).find("Close them all"), std::string::npos);

    EXPECT_EQ(ruvex("install '" PACKAGE_FILE "'").status, 0);
    EXPECT_TRUE(fs::exists(_device + "/System/Library/WeeAppPlugins/RuvexPro.bundle/RuvexPro"));
    EXPECT_NE(readFile(settings).find("Close them all"), std::string::npos);
}

TEST_F(Packages, HostilePackagesAreRefusedWithNothingWrittenOrLeft)
{
    create();
    const DebMember root { "./", DebMember::Kind::Folder, 0755, {}, 0, {} };
    const DebMember library { "./Library/", DebMember::Kind::Folder, 0755, {}, 0, {} };
    const DebMember good { "./Library/good", DebMember::Kind::File, 0644, "fine", 0, {} };
    std::string control = controlFor("com.example.bad", "1.0");
    struct Case {
        const char* name;
        std::string file;
        const char* cause; // a word the one line names
    };
    std::string truncated = _scratch + "/truncated.deb";
    {
        std::string whole = readFile(PACKAGE_FILE);
        std::ofstream(truncated, std::ios::binary) << whole.substr(0, whole.size() / 2);
    }
    std::string text = _scratch + "/text.deb";
    std::ofstream(text) << "not a package\n";

    std::vector<Case> cases {
        { "traversal", deb("traversal", control, { root, library, good, { "./../outside/x", DebMember::Kind::File, 0644, "x", 0, {} } }), "leaves the root" },
        { "deep traversal", deb("deep", control, { root, library, good, { "./Library/../../outside/x", DebMember::Kind::File, 0644, "x", 0, {} } }), "leaves the root" },
        { "absolute path", deb("absolute", control, { root, library, good, { "/tmp/ruvex-absolute-member", DebMember::Kind::File, 0644, "x", 0, {} } }), "absolute" },
        { "absolute link", deb("abslink", control, { root, library, good, { "./Library/etc", DebMember::Kind::Link, 0777, {}, 0, "/etc" } }), "absolute" },
        { "escaping link", deb("esclink", control, { root, library, good, { "./Library/up", DebMember::Kind::Link, 0777, {}, 0, "../../outside" } }), "out of the root" },
        { "link through a link", deb("chain", control, { root, library, good,
            { "./Library/top", DebMember::Kind::Link, 0777, {}, 0, ".." },
            { "./Library/out", DebMember::Kind::Link, 0777, {}, 0, "top/.." } }), "out of the root" },
        { "member inside a link", deb("inside", control, { root, library,
            { "./Library/here", DebMember::Kind::Link, 0777, {}, 0, "." },
            { "./Library/here/x", DebMember::Kind::File, 0644, "x", 0, {} } }), "inside a link" },
        { "device node", deb("device", control, { root, library, good, { "./Library/null", DebMember::Kind::CharacterDevice, 0666, {}, 0, {} } }), "device file" },
        { "fifo", deb("fifo", control, { root, library, good, { "./Library/pipe", DebMember::Kind::Fifo, 0644, {}, 0, {} } }), "FIFO" },
        { "setuid", deb("setuid", control, { root, library, good, { "./Library/su", DebMember::Kind::File, 04755, "#!/bin/sh\n", 0, {} } }), "setuid" },
        { "setgid", deb("setgid", control, { root, library, good, { "./Library/sg", DebMember::Kind::File, 02755, "#!/bin/sh\n", 0, {} } }), "setgid" },
        { "hard link", deb("hard", control, { root, library, good, { "./Library/hard", DebMember::Kind::HardLink, 0644, {}, 0, "./Library/good" } }), "hard link" },
        { "100 MB of zeros", deb("zeros", control, { root, library, good, { "./Library/zeros", DebMember::Kind::File, 0644, {}, 100ull << 20, {} } }), "100 MB" },
        { "control without Package", deb("nopackage", "Version: 1.0\nArchitecture: iphoneos-arm\n", { root, library, good }), "no Package" },
        { "unmet Depends", deb("depends", controlFor("com.example.bad", "1.0", "Depends: mobilesubstrate (>= 0.9)\n"), { root, library, good }), "mobilesubstrate" },
        { "another architecture", deb("arch", "Package: com.example.bad\nVersion: 1.0\nArchitecture: amd64\n", { root, library, good }), "amd64" },
        { "a file of another package", deb("steal", control, { root, library, { "./Library/PreferenceLoader/", DebMember::Kind::Folder, 0755, {}, 0, {} },
            { "./Library/PreferenceLoader/Preferences/", DebMember::Kind::Folder, 0755, {}, 0, {} },
            { "./Library/PreferenceLoader/Preferences/RuvexPro.plist", DebMember::Kind::File, 0644, "x", 0, {} } }), "belongs to the package com.vastelmark.ruvexpro" },
        { "truncated", truncated, "truncated" },
        { "not a deb", text, "not a Debian package" },
    };
    std::map<std::string, std::string> before = snapshot();
    for (const Case& bad : cases) {
        Result result = ruvex("install '" + bad.file + "'");
        EXPECT_EQ(result.status, 1) << bad.name << ": " << result.out;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << bad.name << ": " << result.err;
        EXPECT_NE(result.err.find(bad.cause), std::string::npos) << bad.name << ": " << result.err;
        EXPECT_EQ(snapshot(), before) << bad.name << " left something on the device";
        EXPECT_FALSE(fs::exists(_scratch + "/outside")) << bad.name;
        EXPECT_FALSE(fs::exists("/tmp/ruvex-absolute-member")) << bad.name;
    }
    // A link planted on the device where the package has a folder is not followed.
    fs::create_directories(_scratch + "/elsewhere");
    fs::create_directory_symlink(_scratch + "/elsewhere", _device + "/Library/Thing");
    Result planted = ruvex("install '" + deb("thing", controlFor("com.example.thing", "1.0"), thing({ { "a", "one" } })) + "'");
    EXPECT_EQ(planted.status, 1) << planted.err;
    EXPECT_NE(planted.err.find("/Library/Thing"), std::string::npos) << planted.err;
    EXPECT_TRUE(fs::is_empty(_scratch + "/elsewhere"));

    EXPECT_EQ(ruvex("install").status, 2);
    EXPECT_EQ(ruvex("install a.deb b.deb").status, 2);
    EXPECT_EQ(ruvex("install --force x.deb").status, 2);
}

TEST_F(Packages, TheVerbsHaveHelpAndNeedADevice)
{
    for (const char* verb : { "install", "uninstall", "packages", "respring" }) {
        Result help = ruvex(std::string(verb) + " --help");
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_EQ(help.out.rfind("usage: ruvex " + std::string(verb), 0), 0u) << help.out;
    }
    // Without a device there is nothing to install into, and nothing is made.
    for (const char* line : { "install '" PACKAGE_FILE "'", "uninstall com.example.thing", "packages", "respring" }) {
        Result result = ruvex(line);
        EXPECT_EQ(result.status, 1) << line;
        EXPECT_NE(result.err.find("no device"), std::string::npos) << line << ": " << result.err;
    }
    EXPECT_FALSE(fs::exists(_device));
}

TEST_F(Packages, ABundleFolderInstallsAtItsPhonePath)
{
    create();
    std::string bundle = _scratch + "/Clock.bundle";
    fs::create_directories(bundle);
    std::ofstream(bundle + "/Info.plist") << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
        "<key>CFBundleIdentifier</key><string>org.example.Clock</string><key>CFBundleVersion</key><string>2.1</string>"
        "<key>NSPrincipalClass</key><string>ClockController</string></dict></plist>\n";
    std::ofstream(bundle + "/Clock") << "binary";
    Result installed = ruvex("install '" + bundle + "'");
    ASSERT_EQ(installed.status, 0) << installed.err;
    EXPECT_EQ(readFile(_device + "/System/Library/WeeAppPlugins/Clock.bundle/Clock"), "binary");
    EXPECT_NE(ruvex("packages").out.find("org.example.clock"), std::string::npos);
    EXPECT_EQ(ruvex("uninstall org.example.clock").status, 0);
    EXPECT_FALSE(fs::exists(_device + "/System/Library/WeeAppPlugins/Clock.bundle"));

    fs::create_symlink("/etc/passwd", bundle + "/passwd");
    EXPECT_EQ(ruvex("install '" + bundle + "'").status, 1);
    EXPECT_FALSE(fs::exists(_device + "/System/Library/WeeAppPlugins/Clock.bundle"));
}

} // namespace
