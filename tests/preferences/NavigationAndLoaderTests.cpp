#include "PrefsTestSupport.h"

#include "preferences/PSAppListController.h"
#include "preferences/SpecifierPlist.h"
#include "ui/UIAlertView.h"
#include "ui/UISwitch.h"
#include "ui/UITouch.h"

#include <filesystem>

namespace {

// A pane a link row names, and a button row's target.
class TestDetailController : public PSListController {
    RVX_OBJECT(TestDetailController)
public:
    static inline int created = 0;
    TestDetailController() { ++created; }
    std::vector<PSSpecifierRef> pinged;
    const std::vector<PSSpecifierRef>& specifiers() override
    {
        if (_specifiers.empty()) {
            _specifiers = specifier_plist::fromDictionary(NSDictionary {{"items", NSArray {
                row({{"cell", "PSButtonCell"}, {"label", "Donate"}, {"action", "ping:"}}),
                row({{"cell", "PSButtonCell"}, {"label", "Nothing"}, {"action", "noSuchAction:"}}),
            }}}, self())->specifiers;
        }
        return _specifiers;
    }
};

} // namespace

RVX_DEFINE_CLASS(TestDetailController, PSListController,
    cls.addMethod("ping:", [](NSObject& self, const id& argument) -> id {
        static_cast<TestDetailController&>(self).pinged.push_back(std::dynamic_pointer_cast<PSSpecifier>(argument));
        return nullptr;
    }))

TEST_F(PrefsFixture, EntriesAreFoundRecursivelyAndSortedByLabelWithoutCase)
{
    auto entry = [](const char* label) {
        return NSDictionary {{"entry", row({{"cell", "PSLinkCell"}, {"label", label}})}, {"items", NSArray {}}};
    };
    writePlist("/Library/PreferenceLoader/Preferences/b.plist", entry("beta"));
    writePlist("/Library/PreferenceLoader/Preferences/nested/deeper/a.plist", entry("Alpha"));
    writePlist("/Library/PreferenceLoader/Preferences/c.plist", entry("Gamma"));
    writePlist("/Library/PreferenceLoader/Preferences/noentry.plist", NSDictionary {{"title", "x"}});
    device.hostPath("/Library/PreferenceLoader/Preferences/broken.plist");
    std::FILE* broken = std::fopen(DeviceRoot::resolve("/Library/PreferenceLoader/Preferences/broken.plist").c_str(), "w");
    std::fputs("<plist><dict><key>", broken);
    std::fclose(broken);
    std::vector<PreferenceLoaderEntry> entries = PreferenceLoader::entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].label, "Alpha");
    EXPECT_EQ(entries[1].label, "beta");
    EXPECT_EQ(entries[2].label, "Gamma");

    SettingsHost host;
    EXPECT_EQ(host.rootPane()->table()->numberOfRowsInSection(0), 3);
    EXPECT_TRUE(failedSaying(host.openEntry("Delta"), "Delta"));
}

TEST_F(PrefsFixture, AMissingBundleIsReportedAndTheSystemPlaceIsSearchedSecond)
{
    writePlist("/Library/PreferenceLoader/Preferences/x.plist",
        NSDictionary {{"entry", row({{"bundle", "Missing"}, {"label", "Missing"}, {"detail", "MissingController"}})}});
    std::filesystem::create_directories(device.hostPath("/System/Library/PreferenceBundles/Other.bundle", false));
    PreferenceLoaderEntry other;
    other.bundle = "Other";
    EXPECT_EQ(PreferenceLoader::bundlePathForEntry(other), "/System/Library/PreferenceBundles/Other.bundle");
    other.bundle = "../Other";
    EXPECT_FALSE(PreferenceLoader::bundlePathForEntry(other));
    SettingsHost host;
    EXPECT_TRUE(failedSaying(host.openEntry("missing"), "Missing"));
    EXPECT_EQ(host.navigation()->viewControllers().size(), 1u);
    // A tap an alert takes is not the entry's, and the earlier reason is not told again.
    auto alert = UIAlertView::initWithTitle("Over the list", std::nullopt, nullptr, "OK");
    alert->show();
    EXPECT_TRUE(failedSaying(host.openEntry("missing"), "the tap reached no entry"));
    alert->dismissWithClickedButtonIndex(0, false);
    EXPECT_TRUE(failedSaying(host.openEntry("missing"), "Missing"));
}

TEST_F(PrefsFixture, LinkRowsPushPanesByClassNameAndButtonsSendTheirAction)
{
    writePlist("/Library/PreferenceLoader/Preferences/x.plist", NSDictionary {
        {"entry", row({{"label", "Links"}})},
        {"items", NSArray {
            row({{"cell", "PSLinkCell"}, {"label", "More"}, {"detail", "TestDetailController"}, {"isController", true}}),
            row({{"cell", "PSLinkCell"}, {"label", "Nowhere"}, {"detail", "NoSuchController"}}),
        }}});
    SettingsHost host;
    ASSERT_TRUE(succeeded(host.openEntry("Links")));
    int before = TestDetailController::created;
    ASSERT_TRUE(succeeded(host.tapRowNamed("Nowhere")));
    EXPECT_EQ(host.navigation()->viewControllers().size(), 2u); // nothing pushed
    ASSERT_TRUE(succeeded(host.tapRowNamed("More")));
    auto detail = std::dynamic_pointer_cast<TestDetailController>(host.topPane());
    ASSERT_TRUE(detail);
    EXPECT_EQ(TestDetailController::created, before + 1);
    EXPECT_EQ(detail->title(), "More");
    EXPECT_EQ(detail->specifier()->name(), "More");
    EXPECT_EQ(detail->rootController(), host.rootPane());
    ASSERT_TRUE(succeeded(host.tapRowNamed("Donate")));
    ASSERT_EQ(detail->pinged.size(), 1u);
    EXPECT_EQ(detail->pinged[0]->name(), "Donate");
    EXPECT_TRUE(succeeded(host.tapRowNamed("Nothing"))); // an action the target lacks does nothing
    EXPECT_EQ(detail->pinged.size(), 1u);
    ASSERT_TRUE(succeeded(host.goBack()));
    ASSERT_TRUE(succeeded(host.goBack()));
    EXPECT_FALSE(host.goBack());
}

TEST_F(PrefsFixture, TheAppListWritesOneBundleIdentifierKeyPerSwitch)
{
    auto app = [&](const char* folder, const char* identifier, const char* name) {
        writePlist(std::string("/Applications/") + folder + "/Info.plist",
            NSDictionary {{"CFBundleIdentifier", identifier}, {"CFBundleDisplayName", name}});
    };
    app("MobileSafari.app", "com.apple.mobilesafari", "Safari");
    app("MobileMail.app", "com.apple.mobilemail", "Mail");
    app("calc.app", "com.example.calc", "calculator");
    writePlist("/Applications/NotAnApp/Info.plist", NSDictionary {{"CFBundleIdentifier", "x"}});
    std::vector<InstalledApp> apps = PSAppListController::installedApps();
    ASSERT_EQ(apps.size(), 3u);
    EXPECT_EQ(apps[0].displayName, "calculator");
    EXPECT_EQ(apps[1].displayName, "Mail");
    EXPECT_EQ(apps[2].displayName, "Safari");

    const char* settings = "/var/mobile/Library/Preferences/com.example.widgetprefs.plist";
    writePlist("/Library/PreferenceLoader/Preferences/x.plist", NSDictionary {
        {"entry", row({{"label", "Apps"}})},
        {"items", NSArray {row({{"cell", "PSLinkCell"}, {"label", "Excluded Apps"}, {"detail", "PSAppListController"},
            {"ALSettingsPath", settings}, {"ALSettingsKeyPrefix", ""}, {"ALSettingsDefaultValue", false},
            {"ALChangeNotification", "com.example.changed"}})}}});
    PreferenceFile::forPhonePath(settings).setObject(true, "com.apple.mobilemail");
    listen("com.example.changed");
    SettingsHost host;
    ASSERT_TRUE(succeeded(host.openEntry("Apps")));
    ASSERT_TRUE(succeeded(host.tapRowNamed("Excluded Apps")));
    ASSERT_EQ(host.topPane()->className(), "PSAppListController");
    const UITableViewRef& table = host.topPane()->table();
    ASSERT_EQ(table->numberOfRowsInSection(0), 3);
    auto on = [&](int r) {
        auto cell = table->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(r, 0));
        return std::dynamic_pointer_cast<UISwitch>(cell->accessoryView())->isOn();
    };
    EXPECT_FALSE(on(0));
    EXPECT_TRUE(on(1)); // Mail was excluded already
    ASSERT_TRUE(succeeded(host.flipSwitch(0, 2)));
    NSDictionary file = PreferenceFile::forPhonePath(settings).read();
    ASSERT_TRUE(file.objectForKey("com.apple.mobilesafari"));
    EXPECT_EQ(*file.objectForKey("com.apple.mobilesafari"), PlistValue(true));
    EXPECT_EQ(*file.objectForKey("com.apple.mobilemail"), PlistValue(true));
    EXPECT_EQ(heard("com.example.changed"), 1);
}

TEST_F(PrefsFixture, APaneLoadsItsPlistFromItsBundleResources)
{
    writePlist("/Library/PreferenceBundles/Demo.bundle/Root.plist", NSDictionary {{"title", "Demo"},
        {"items", NSArray {row({{"cell", "PSGroupCell"}}), row({{"cell", "PSSwitchCell"}, {"label", "On"}}),
            row({{"cell", "PSBogusCell"}, {"label", "Plain"}})}}});
    auto pane = std::make_shared<PSListController>();
    pane->setBundle(NSBundle::bundleWithPath("/Library/PreferenceBundles/Demo.bundle"));
    std::vector<PSSpecifierRef> rows = pane->loadSpecifiersFromPlistName("Root", pane);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1]->cellType(), PSSwitchCell);
    EXPECT_EQ(rows[2]->cellType(), PSListItemCell);
    EXPECT_EQ(rows[1]->target(), pane);
    EXPECT_EQ(pane->title(), "Demo");
    EXPECT_TRUE(pane->loadSpecifiersFromPlistName("Absent", pane).empty());
    EXPECT_TRUE(std::make_shared<PSListController>()->loadSpecifiersFromPlistName("Root", nullptr).empty());
}

namespace {

// Counts the phases of the touches it is sent and where they were.
class TouchRecorder : public UIView {
public:
    using UIView::UIView;
    std::string phases;
    CGPoint last {};
    void touchesBegan(const UITouchSet& t, const UIEventRef&) override { record('b', t); }
    void touchesMoved(const UITouchSet& t, const UIEventRef&) override { record('m', t); }
    void touchesEnded(const UITouchSet& t, const UIEventRef&) override { record('e', t); }
    void touchesCancelled(const UITouchSet& t, const UIEventRef&) override { record('c', t); }

private:
    void record(char phase, const UITouchSet& touches)
    {
        phases += phase;
        last = (*touches.begin())->locationInView(this);
    }
};

} // namespace

TEST_F(PrefsFixture, AFingerStaysWithTheViewItWentDownOnAndOutsideTheWindowIsNothing)
{
    SettingsHost host;
    auto recorder = std::make_shared<TouchRecorder>(CGRectMake(100, 100, 50, 50));
    host.window()->addSubview(recorder);
    ASSERT_TRUE(succeeded(host.touchAlong({110, 120}, {300, 400}, 4)));
    EXPECT_EQ(recorder->phases, "bmmmme");
    EXPECT_EQ(recorder->last.x, 200) << "lifted outside the view, at the end of the drag";
    EXPECT_EQ(recorder->last.y, 300);
    ASSERT_TRUE(succeeded(host.touchAlong({120, 120}, {120, 120}, 0)));
    EXPECT_EQ(recorder->phases, "bmmmmebe") << "a tap is down and up";
    EXPECT_TRUE(failedSaying(host.touchAlong({-1, -1}, {10, 10}, 2), "nothing under the point"));
    recorder->removeFromSuperview();
}

// The app's finger phase by phase, as the shell sends it across requests.
TEST_F(PrefsFixture, TheAppsFingerStaysDownBetweenPhasesAndANewOneCancelsTheOld)
{
    SettingsHost host;
    auto recorder = std::make_shared<TouchRecorder>(CGRectMake(100, 100, 50, 50));
    host.window()->addSubview(recorder);
    EXPECT_FALSE(host.fingerMove({120, 120})) << "no finger is down yet";
    EXPECT_FALSE(host.fingerLift());
    EXPECT_FALSE(host.fingerCancel());

    ASSERT_TRUE(succeeded(host.fingerDown({110, 110})));
    EXPECT_EQ(host.fingerView(), recorder);
    ASSERT_TRUE(succeeded(host.fingerMove({130, 300})));
    EXPECT_EQ(recorder->phases, "bm") << "nothing waits for the lift";
    ASSERT_TRUE(succeeded(host.fingerLift(CGPoint {140, 310})));
    EXPECT_EQ(recorder->phases, "bme");
    EXPECT_EQ(recorder->last.x, 40) << "lifted at the point given";
    EXPECT_FALSE(host.fingerIsDown());
    EXPECT_EQ(host.lastFingerPhase(), UITouchPhaseEnded);

    // A finger left down (its sender gone) is cancelled by the next one, or by a tap.
    ASSERT_TRUE(succeeded(host.fingerDown({110, 110})));
    ASSERT_TRUE(succeeded(host.fingerDown({120, 120})));
    EXPECT_EQ(recorder->phases, "bmebcb");
    ASSERT_TRUE(succeeded(host.touchAlong({120, 120}, {120, 120}, 0)));
    EXPECT_EQ(recorder->phases, "bmebcbcbe");
    EXPECT_FALSE(host.fingerIsDown());

    // A finger down on nothing leaves none down.
    ASSERT_TRUE(succeeded(host.fingerDown({110, 110})));
    EXPECT_FALSE(host.fingerDown({-1, -1}));
    EXPECT_EQ(recorder->phases, "bmebcbcbebc");
    EXPECT_FALSE(host.fingerIsDown());
    recorder->removeFromSuperview();
}
