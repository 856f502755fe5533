// The product as the phone takes it: a widget comes with its package and a respring and goes
// with its removal; a booted device is shut down before it is erased.

#include "DeviceFixture.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class PackageRoad : public DeviceFixture {
protected:
    int widgets() { return int(json::numeric(json::member(json::member(ask("boot"), "springboard"), "widgets"), -1)); }
    int shellPid() { return int(json::numeric(json::member(json::member(ask("boot"), "springboard"), "pid"), -1)); }
    bool centerShowsTheWidget()
    {
        ask("nc open");
        return ruvex("ui dump springboard").out.find("SBBulletinListIconContainerView") != std::string::npos;
    }
    // The build's own outputs beside the ruvex binary.
    static std::string built(const std::string& relative) { return (fs::path(RUVEX_PATH).parent_path() / ".." / relative).string(); }
    static std::string productPackage()
    {
        for (const auto& entry : fs::directory_iterator(built("packages")))
            if (entry.path().filename().string().rfind("com.vastelmark.ruvexpro_", 0) == 0)
                return entry.path().string();
        return {};
    }
};

TEST_F(PackageRoad, AWidgetComesWithItsPackageAndARespringAndGoesWithItsRemoval)
{
    createAndBoot("com.apple.Music");
    ASSERT_EQ(widgets(), 1);
    EXPECT_TRUE(centerShowsTheWidget());

    RunResult removed = ruvex("uninstall com.vastelmark.ruvexpro");
    ASSERT_EQ(removed.status, 0) << removed.err;
    EXPECT_NE(removed.out.find("resprung"), std::string::npos) << "a widget went: " << removed.out;
    EXPECT_EQ(widgets(), 0);
    EXPECT_FALSE(centerShowsTheWidget());
    EXPECT_EQ(int(json::numeric(json::member(json::member(ask("boot"), "settings"), "entries"), -1)), 0) << "the Settings entry went too";

    RunResult installed = ruvex("install " + shellQuoted(productPackage()));
    ASSERT_EQ(installed.status, 0) << installed.err;
    EXPECT_EQ(widgets(), 1);
    EXPECT_TRUE(centerShowsTheWidget());
    EXPECT_EQ(int(json::numeric(json::member(json::member(ask("boot"), "settings"), "entries"), -1)), 1);

    // The respring by hand: a new shell process that loads the bundles again.
    int before = shellPid();
    RunResult resprung = ruvex("respring");
    ASSERT_EQ(resprung.status, 0) << resprung.err;
    EXPECT_NE(shellPid(), before);
    EXPECT_EQ(widgets(), 1);
    EXPECT_TRUE(json::flag(json::member(ask("status"), "settings"))) << "the Settings app keeps running";

    // A developer's bundle folder goes to its phone path, as its own package.
    ASSERT_EQ(ruvex("uninstall com.vastelmark.ruvexpro").status, 0);
    RunResult bundle = ruvex("install " + shellQuoted(built("bundles/RuvexPro.bundle")));
    ASSERT_EQ(bundle.status, 0) << bundle.err;
    EXPECT_EQ(widgets(), 1);
    EXPECT_NE(ruvex("packages").out.find("com.vastelmark.ruvexpro.widget"), std::string::npos);
}

TEST_F(PackageRoad, RespringNeedsABootedDevice)
{
    ASSERT_EQ(ruvex("device create --apps com.apple.Music").status, 0);
    RunResult result = ruvex("respring");
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("not booted"), std::string::npos) << result.err;
}

TEST_F(PackageRoad, ErasingABootedDeviceShutsItDownFirst)
{
    createAndBoot("com.apple.Music");
    RunResult erased = ruvex("device erase");
    EXPECT_EQ(erased.status, 0) << erased.err;
    EXPECT_NE(erased.err.find("booted"), std::string::npos) << "it says so: " << erased.err;
    EXPECT_EQ(json::member(ask("status"), "springboard"), false);
    EXPECT_EQ(json::member(ask("status"), "settings"), false);
    EXPECT_TRUE(fs::is_empty(device()));
}

} // namespace
