// The shell's services as a widget reaches them: classes found by name, instances cast to
// the interfaces of platform/springboard.

#include "ShellFixture.h"

#include "springboard/ShellServices.h"
#include "ui/UIView.h"

using Names = std::vector<std::string>;

namespace {

template<typename T>
std::shared_ptr<T> shared(std::string_view className, std::string_view selector = "sharedInstance")
{
    const Class* cls = objc_getClass(className);
    return cls ? std::dynamic_pointer_cast<T>(cls->performSelector(selector)) : nullptr;
}

class FakeIconView : public UIView, public springboard::IconHolder {
public:
    id icon() const override { return _icon; }
    void setIcon(id icon) { _icon = std::move(icon); }

private:
    id _icon;
};

} // namespace

class ShellServicesTest : public ShellFixture {
protected:
    void SetUp() override
    {
        for (const char* app : { "com.a", "com.b", "com.c" })
            installApp(app);
        shell().loadInstalledApps();
        for (const char* app : { "com.a", "com.b", "com.c" })
            shell().launch(app);
    }

    std::shared_ptr<springboard::AppSwitcherModel> model = shared<springboard::AppSwitcherModel>("SBAppSwitcherModel");
    std::shared_ptr<springboard::AppSwitcherController> switcher = shared<springboard::AppSwitcherController>("SBAppSwitcherController");
    std::shared_ptr<springboard::IconModel> icons = shared<springboard::IconModel>("SBIconModel");
};

TEST_F(ShellServicesTest, EveryServiceIsFoundByNameAndIsShared)
{
    ASSERT_TRUE(model);
    ASSERT_TRUE(switcher);
    ASSERT_TRUE(icons);
    EXPECT_TRUE(shared<springboard::BulletinListController>("SBBulletinListController"));
    EXPECT_TRUE(shared<springboard::IconViewMap>("SBIconViewMap", "homescreenMap"));
    EXPECT_EQ(model, shared<springboard::AppSwitcherModel>("SBAppSwitcherModel"));
    // The interfaces themselves are not registered under the platform's names.
    EXPECT_EQ(objc_getClass("SBAppSwitcherModel")->name(), model->className());
}

TEST_F(ShellServicesTest, IdentifiersAreACopyThatMayHoldAnyValue)
{
    shell().insertSwitcherEntry(PlistValue(7.5), 1);
    NSArray copy = model->identifiers();
    ASSERT_EQ(copy.count(), 4u);
    EXPECT_EQ(copy.objectAtIndex(0), PlistValue("com.c"));
    EXPECT_EQ(copy.objectAtIndex(1), PlistValue(7.5));

    model->remove("com.c");
    EXPECT_EQ(copy.count(), 4u);
    EXPECT_EQ(listed(), (Names { "(not a string)", "com.b", "com.a" }));
    EXPECT_TRUE(shell().isRunning("com.c"));

    // By name, as target-action would send it.
    const PlistValue name("com.b");
    model->performSelector("remove:", std::make_shared<PlistObject>(name));
    EXPECT_EQ(listed(), (Names { "(not a string)", "com.a" }));
}

TEST_F(ShellServicesTest, TheCloseBoxClosesTheAppTheIconBelongsTo)
{
    auto view = std::make_shared<FakeIconView>();
    view->setIcon(icons->applicationIconForDisplayIdentifier("com.b"));
    ASSERT_TRUE(view->icon());
    EXPECT_EQ(std::dynamic_pointer_cast<springboard::ApplicationIcon>(view->icon())->applicationBundleID(), "com.b");

    switcher->iconCloseBoxTapped(view);
    EXPECT_FALSE(shell().isRunning("com.b"));
    EXPECT_EQ(listed(), (Names { "com.c", "com.a" }));

    // One fake view reused for the next app, sent by name this time.
    view->setIcon(icons->applicationIconForDisplayIdentifier("com.a"));
    switcher->performSelector("iconCloseBoxTapped:", view);
    EXPECT_EQ(listed(), (Names { "com.c" }));
}

TEST_F(ShellServicesTest, NoIconClosesNothing)
{
    auto view = std::make_shared<FakeIconView>();
    view->setIcon(icons->applicationIconForDisplayIdentifier("com.not.installed"));
    EXPECT_FALSE(view->icon());
    switcher->iconCloseBoxTapped(view);
    switcher->iconCloseBoxTapped(std::make_shared<UIView>()); // a view without an icon
    switcher->iconCloseBoxTapped(nullptr);

    EXPECT_EQ(listed(), (Names { "com.c", "com.b", "com.a" }));
    EXPECT_EQ(shell().runningApps().size(), 3u);
}

TEST_F(ShellServicesTest, TheHomeScreenMapHasAnIconModelOnlyWhenConfigured)
{
    auto map = shared<springboard::IconViewMap>("SBIconViewMap", "homescreenMap");
    ASSERT_TRUE(map->respondsToSelector("iconModel"));
    EXPECT_EQ(map->iconModel(), icons);
    EXPECT_EQ(map->performSelector("iconModel"), icons);

    shell().setHomescreenMapHasIconModel(false);
    auto older = shared<springboard::IconViewMap>("SBIconViewMap", "homescreenMap");
    ASSERT_TRUE(older);
    EXPECT_FALSE(older->respondsToSelector("iconModel"));
    EXPECT_FALSE(older->iconModel());
}

TEST_F(ShellServicesTest, HidingTheCenterClosesIt)
{
    auto list = shared<springboard::BulletinListController>("SBBulletinListController");
    EXPECT_FALSE(list->listViewIsActive());
    shell().setListViewActive(true);
    EXPECT_TRUE(list->listViewIsActive());

    std::vector<bool> heard;
    shell().addCenterObserver([&](bool active) { heard.push_back(active); });
    list->hideListViewAnimated(true);
    EXPECT_FALSE(list->listViewIsActive());
    EXPECT_EQ(heard, (std::vector<bool> { false }));
    list->hideListViewAnimated(false); // already closed: nobody is told again
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(ShellServicesTest, EveryCallIsLoggedInOrder)
{
    shell().clearEvents();
    auto view = std::make_shared<FakeIconView>();
    model->identifiers();
    view->setIcon(icons->applicationIconForDisplayIdentifier("com.a"));
    switcher->iconCloseBoxTapped(view);
    model->remove("com.apple.newsstand");
    shared<springboard::BulletinListController>("SBBulletinListController")->hideListViewAnimated(true);

    EXPECT_EQ(shell().events(), (Names {
        "SBAppSwitcherModel identifiers",
        "SBIconModel applicationIconForDisplayIdentifier: com.a",
        "SBAppSwitcherController iconCloseBoxTapped: com.a",
        "SBAppSwitcherModel remove: com.apple.newsstand",
        "SBBulletinListController hideListViewAnimated: YES",
    }));
}
