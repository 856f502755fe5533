// The label and font pane and the widget on one device: the widget loaded from its bundle
// in the simulated Notification Center, the pane in the Settings host. Each edit reaches
// the bar once the notification is delivered on the main run loop.

#include "EditFixture.h"

#include "ShellHooks.h"
#include "ShellState.h"
#include "WeeAppHost.h"

#include "corefoundation/CFNotificationCenter.h"
#include "foundation/NSUserDefaults.h"
#include "preferences/PSAppListController.h"
#include "ui/UIButton.h"
#include "ui/UIFont.h"

namespace fs = std::filesystem;

namespace {

class EndToEndTest : public EditFixture {
protected:
    EndToEndTest()
    {
        ShellState::shared().reset();
        ShellHooks::install();
        NSUserDefaults::setStandardDomain("com.apple.springboard");
        stageWidget();
        _center = std::make_unique<WeeAppHost>();
        if (_center->loadPlugins() != 1)
            ADD_FAILURE() << "the widget did not load";
        _center->openCenter(); // the widget registers for the notification as it appears
        drain();
    }

    ~EndToEndTest() override
    {
        _center.reset();
        drain();
        ShellHooks::remove();
        ShellState::shared().reset();
    }

    // Resources copied, the executable linked: every test loads the image already loaded.
    void stageWidget()
    {
        fs::path target = _device.hostPath("/System/Library/WeeAppPlugins/RuvexPro.bundle/Info.plist", true);
        target = target.parent_path();
        for (const auto& entry : fs::directory_iterator(RUVEXPRO_BUNDLE_DIR)) {
            if (entry.path().filename() == "RuvexPro")
                fs::create_symlink(entry.path(), target / "RuvexPro");
            else
                fs::copy(entry.path(), target / entry.path().filename());
        }
    }

    UIButtonRef bar()
    {
        if (_center->widgets().empty() || !_center->widgets().front().controller)
            return nullptr;
        UIViewRef root = _center->widgets().front().controller->view();
        for (const UIViewRef& view : root ? root->subviews() : std::vector<UIViewRef> {}) {
            auto button = std::dynamic_pointer_cast<UIButton>(view);
            if (button && button->buttonType() == UIButtonTypeCustom)
                return button;
        }
        return nullptr;
    }
    std::string barTitle() { return bar() ? bar()->titleForState(UIControlStateNormal) : "(no bar)"; }
    UIFontRef barFont() { return bar() ? bar()->titleLabel()->font() : nullptr; }

    void tapNamed(std::string_view name) { ASSERT_TRUE(succeeded(host().tapRowNamed(name))); }

    std::unique_ptr<WeeAppHost> _center;
};

TEST_F(EndToEndTest, TypingShowsOnTheBarCharacterByCharacter)
{
    open();
    drain();
    editLabel();
    ASSERT_TRUE(succeeded(host().deleteBackward(int(labelField()->text().size()))));
    drain();
    EXPECT_EQ(barTitle(), "");

    type("G");
    EXPECT_EQ(barTitle(), ""); // not before the notification is delivered
    drain();
    EXPECT_EQ(barTitle(), "G");
    type("o!");
    drain();
    EXPECT_EQ(barTitle(), "Go!");
}

TEST_F(EndToEndTest, ADragRestylesTheBarOnceWithTheFinalSize)
{
    open();
    drain();
    ASSERT_TRUE(barFont());
    EXPECT_EQ(barFont()->pointSize(), 17);
    int before = posts();

    ASSERT_TRUE(succeeded(host().slide(2, 0, 29.73f, 12)));
    EXPECT_EQ(posts(), before + 1);
    EXPECT_EQ(barFont()->pointSize(), 17); // every step wrote, nothing was announced yet
    drain();
    EXPECT_FLOAT_EQ(float(barFont()->pointSize()), sizeSlider()->value());
    EXPECT_EQ(sizeDetail(), "29");
}

TEST_F(EndToEndTest, ChoosingAFamilyAndAStyleRestylesTheBar)
{
    // A family other than the stored one, with at least two faces.
    std::string family;
    for (const std::string& name : UIFont::familyNames()) {
        if (name != "Helvetica" && UIFont::fontNamesForFamilyName(name).size() >= 2) {
            family = name;
            break;
        }
    }
    if (family.empty())
        GTEST_SKIP() << "no second family of several faces installed";
    open();
    drain();

    tapNamed("Font Family");
    tapNamed(family);
    drain();
    auto style = stored("Style");
    ASSERT_TRUE(style);
    ASSERT_TRUE(barFont());
    EXPECT_EQ(barFont()->familyName(), family);
    EXPECT_EQ(barFont()->fontName(), *style);

    ASSERT_TRUE(succeeded(host().goBack()));
    EXPECT_EQ(cell(1, 1)->detailTextLabel()->text(), family);
    tapNamed("Font Style");
    std::string other;
    for (const std::string& face : UIFont::fontNamesForFamilyName(family)) {
        if (face != *style) {
            other = face;
            break;
        }
    }
    tapNamed(other);
    drain();
    EXPECT_EQ(barFont()->fontName(), other);
    ASSERT_TRUE(succeeded(host().goBack()));
    EXPECT_EQ(cell(1, 2)->detailTextLabel()->text(), other);
}

TEST_F(EndToEndTest, SavingAColourRecoloursTheBarAndCancelLeavesIt)
{
    open();
    drain();
    auto white = UIColor::colorWithHue(0, 0, 1, 1);
    ASSERT_TRUE(bar());
    EXPECT_TRUE(bar()->titleColorForState(UIControlStateNormal)->isEqual(*white));

    openOverlay();
    advance(0.3);
    pick(UIColor::colorWithHue(0.6, 0.5, 0.9, 1));
    tapSave();
    EXPECT_TRUE(bar()->titleColorForState(UIControlStateNormal)->isEqual(*white));
    drain();
    auto picked = stored("TextColor");
    ASSERT_TRUE(picked);
    auto expected = colorOf(*picked);
    EXPECT_TRUE(bar()->titleColorForState(UIControlStateNormal)->isEqual(*expected));

    advance(0.3);
    openOverlay();
    tapDefault();
    tapCancel();
    advance(0.3);
    EXPECT_TRUE(bar()->titleColorForState(UIControlStateNormal)->isEqual(*expected));
}

TEST_F(EndToEndTest, TheGlowSwitchOfTheExtrasPaneReachesTheBar)
{
    drain();
    ASSERT_TRUE(bar());
    EXPECT_TRUE(bar()->showsTouchWhenHighlighted());
    openPane("Extras");
    auto path = host().indexPathOfRowNamed("Glow When Touched");
    ASSERT_TRUE(path);
    ASSERT_TRUE(succeeded(host().flipSwitch(path->section(), path->row())));
    drain();
    EXPECT_FALSE(bar()->showsTouchWhenHighlighted());
}

// The shell and the exclusion list share one program here, as they share one type: both
// lists hold the same apps, whichever library grew its vector first.
TEST_F(EndToEndTest, TheShellAndTheExclusionListReadTheSameInstalledApps)
{
    std::vector<std::string> folders;
    for (int i = 0; i < 40; ++i) {
        std::string folder = "/Applications/App" + std::to_string(100 + i) + ".app/Info.plist";
        _device.hostPath(folder);
        NSDictionary info { { "CFBundleIdentifier", "com.example.app" + std::to_string(100 + i) },
            { "CFBundleURLTypes", NSArray { NSDictionary { { "CFBundleURLSchemes", NSArray { "x-app" + std::to_string(i) } } } } } };
        if (i % 2)
            info.setObject(PlistValue("Name " + std::to_string(100 + i)), "CFBundleDisplayName");
        ASSERT_TRUE(info.writeToFile(folder, true));
    }
    // A second folder with an identifier already installed is left out by both.
    _device.hostPath("/Applications/Twin.app/Info.plist");
    ASSERT_TRUE((NSDictionary { { "CFBundleIdentifier", "com.example.app100" } }.writeToFile("/Applications/Twin.app/Info.plist", true)));
    std::vector<InstalledApp> listed = PSAppListController::installedApps();
    ASSERT_EQ(ShellState::shared().loadInstalledApps(), 40u);
    const std::vector<InstalledApp>& installed = ShellState::shared().installedApps();
    ASSERT_EQ(listed.size(), installed.size());
    for (const InstalledApp& app : listed) {
        const InstalledApp* same = ShellState::shared().installedApp(app.bundleIdentifier);
        ASSERT_TRUE(same) << app.bundleIdentifier;
        EXPECT_EQ(same->displayName, app.displayName);
        EXPECT_EQ(same->urlSchemes, app.urlSchemes);
    }
    EXPECT_EQ(ShellState::shared().installedApp("com.example.app100")->displayName, "App100");
    EXPECT_EQ(ShellState::shared().installedApp("com.example.app101")->displayName, "Name 101");
}

// The bar and the label pane read one colour text by one rule: what is not four numbers is
// white on both, whatever the numbers a lenient reader would find in it.
TEST_F(EndToEndTest, OneMalformedColourTextIsWhiteOnTheBarAndInThePane)
{
    open();
    for (const char* text : { "a,b,c,d", "0,1,1,0.5,7", "0,1x,1,0.5", "0,1,1,0.5" }) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(RVXSettings::changeOneKey("TextColor", text));
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), RVXSettings::notificationName,
            nullptr, nullptr, true);
        drain();
        ASSERT_TRUE(succeeded(host().goBack()));
        ASSERT_TRUE(succeeded(host().tapRowNamed("Label & Font")));
        UIColorRef expected = std::string(text) == "0,1,1,0.5" ? UIColor::colorWithHue(0, 1, 1, 0.5) : UIColor::colorWithHue(0, 0, 1, 1);
        ASSERT_TRUE(bar() && swatch());
        ASSERT_TRUE(bar()->titleColorForState(UIControlStateNormal));
        ASSERT_TRUE(swatch()->backgroundColor());
        EXPECT_TRUE(bar()->titleColorForState(UIControlStateNormal)->isEqual(*expected));
        EXPECT_TRUE(swatch()->backgroundColor()->isEqual(*expected));
    }
}

} // namespace
