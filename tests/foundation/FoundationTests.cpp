#include "foundation/DeviceRoot.h"
#include "foundation/NSAssertionHandler.h"
#include "foundation/NSBundle.h"
#include "foundation/NSFileManager.h"
#include "foundation/NSURL.h"
#include "foundation/NSUserDefaults.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

TEST(DeviceRoot, ResolvesPhonePathsBeneathTheRoot)
{
    TestDevice device;
    EXPECT_EQ(DeviceRoot::resolve("/var/mobile/Library/Preferences/x.plist"), device.root() + "/var/mobile/Library/Preferences/x.plist");
    EXPECT_EQ(DeviceRoot::resolve("/a/../../../etc/passwd"), device.root() + "/etc/passwd");
    EXPECT_EQ(DeviceRoot::resolve("//a/./b//"), device.root() + "/a/b");
    EXPECT_EQ(DeviceRoot::resolve("relative"), device.root() + "/relative");
}

TEST(DeviceRoot, DefaultFollowsXDGDataHome)
{
    const char* saved = getenv("XDG_DATA_HOME");
    std::string previous = saved ? saved : "";
    setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(DeviceRoot::defaultRoot(), "/data/home/ruvex/devices/default");
    unsetenv("XDG_DATA_HOME");
    EXPECT_TRUE(DeviceRoot::defaultRoot().ends_with("/.local/share/ruvex/devices/default"));
    if (saved)
        setenv("XDG_DATA_HOME", previous.c_str(), 1);
}

TEST(FileManager, ExistenceAndDirectoriesAtPhonePaths)
{
    TestDevice device;
    auto& manager = NSFileManager::defaultManager();
    EXPECT_FALSE(manager.fileExistsAtPath("/Library/PreferenceBundles"));
    EXPECT_FALSE(manager.createDirectoryAtPath("/Library/PreferenceBundles", false));
    EXPECT_TRUE(manager.createDirectoryAtPath("/Library/PreferenceBundles", true));
    bool isDirectory = false;
    EXPECT_TRUE(manager.fileExistsAtPath("/Library/PreferenceBundles", isDirectory));
    EXPECT_TRUE(isDirectory);
    EXPECT_TRUE(fs::is_directory(device.root() + "/Library/PreferenceBundles"));
}

TEST(UserDefaults, StoredInTheHostsDomainFile)
{
    TestDevice device;
    NSUserDefaults::setStandardDomain("com.apple.springboard");
    auto& defaults = NSUserDefaults::standardUserDefaults();
    EXPECT_EQ(defaults.integerForKey("Count"), 0);
    EXPECT_FALSE(defaults.objectForKey("Count"));
    EXPECT_TRUE(defaults.setObject(41, "Count"));
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(defaults.integerForKey("Count"), 41);
    auto file = NSDictionary::dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/com.apple.springboard.plist");
    ASSERT_TRUE(file);
    EXPECT_EQ(*file->objectForKey("Count")->integer(), 41);
    EXPECT_TRUE(defaults.removeObjectForKey("Count"));
    EXPECT_FALSE(defaults.objectForKey("Count"));
}

TEST(Bundle, ResourcesInfoAndPrincipalClass)
{
    TestDevice device;
    EXPECT_FALSE(NSBundle::bundleWithPath("/Library/PreferenceBundles/Test.bundle"));
    std::string directory = device.hostPath("/Library/PreferenceBundles/Test.bundle/Info.plist");
    fs::copy_file(RVX_TEST_BUNDLE_EXECUTABLE, device.root() + "/Library/PreferenceBundles/Test.bundle/Test");
    std::ofstream(device.root() + "/Library/PreferenceBundles/Test.bundle/crosshair.png") << "png";
    NSDictionary info { { "CFBundleIdentifier", "com.example.test" }, { "NSPrincipalClass", "RVXTestPrincipal" } };
    ASSERT_TRUE(info.writeToFile("/Library/PreferenceBundles/Test.bundle/Info.plist", true));

    auto bundle = NSBundle::bundleWithPath("/Library/PreferenceBundles/Test.bundle");
    ASSERT_TRUE(bundle);
    EXPECT_EQ(bundle->pathForResource("crosshair", "png"), "/Library/PreferenceBundles/Test.bundle/crosshair.png");
    EXPECT_FALSE(bundle->pathForResource("colormap", "png"));
    EXPECT_EQ(bundle->bundleIdentifier(), "com.example.test");
    EXPECT_EQ(bundle->executableName(), "Test");
    EXPECT_EQ(objc_getClass("RVXTestPrincipal"), nullptr);
    const Class* principal = bundle->principalClass();
    ASSERT_TRUE(principal);
    EXPECT_EQ(principal->name(), "RVXTestPrincipal");
    EXPECT_TRUE(principal->createInstance());

    auto empty = NSBundle::bundleWithPath("/Library");
    ASSERT_TRUE(empty);
    Result<void> load = empty->load();
    ASSERT_FALSE(load);
    EXPECT_FALSE(load.error().empty());
    EXPECT_EQ(empty->principalClass(), nullptr);
}

TEST(URL, PartsAndInvalidAddresses)
{
    auto url = NSURL::URLWithString("https://user@www.example.com:8080/a/b?x=1&y=2#top");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->host(), "www.example.com");
    EXPECT_EQ(url->port(), 8080);
    EXPECT_EQ(url->path(), "/a/b");
    EXPECT_EQ(url->query(), "x=1&y=2");
    EXPECT_EQ(url->fragment(), "top");
    EXPECT_EQ(url->absoluteString(), "https://user@www.example.com:8080/a/b?x=1&y=2#top");

    auto app = NSURL::URLWithString("twitter://user?screen_name=maker");
    ASSERT_TRUE(app);
    EXPECT_EQ(app->scheme(), "twitter");
    EXPECT_EQ(app->host(), "user");
    EXPECT_EQ(app->query(), "screen_name=maker");

    for (const char* bad : { "", "http://a b", "http://x/%zz", "http://x/\xC3\xA9", "http://x/<y>", "http://[::1" })
        EXPECT_FALSE(NSURL::URLWithString(bad)) << bad;
}

TEST(AssertionHandler, RaisesWithWhereAndWhy)
{
    auto object = std::make_shared<NSObject>();
    try {
        NSAssertionHandler::currentHandler().handleFailureInMethod("colorByDarkeningColor:", object.get(), "UIColor-Toolkit", 42, "Must be a %s color", "RGB");
        FAIL() << "no exception";
    } catch (const NSInternalInconsistencyException& error) {
        EXPECT_EQ(error.method(), "-[NSObject colorByDarkeningColor:]");
        EXPECT_EQ(error.file(), "UIColor-Toolkit");
        EXPECT_EQ(error.line(), 42);
        EXPECT_EQ(error.reason(), "Must be a RGB color");
        EXPECT_TRUE(error.objectDescription().starts_with("<NSObject: 0x"));
        EXPECT_STREQ(error.what(), "*** Assertion failure in -[NSObject colorByDarkeningColor:], UIColor-Toolkit:42: Must be a RGB color");
    }
    EXPECT_THROW(NSAssertionHandler::currentHandler().handleFailureInFunction("hsv_color", "HSV", 7, "bad"), NSInternalInconsistencyException);
}
