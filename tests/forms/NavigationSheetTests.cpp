#include "ui/UIDevice.h"
#include "ui/UINavigationController.h"

#include <gtest/gtest.h>

namespace {

class Pane : public UIViewController {
    RVX_OBJECT(Pane)
public:
    std::vector<std::string> calls;
    UIBarButtonItemRef lastSender;
    void viewWillAppear(bool) override { calls.push_back("willAppear"); }
    void viewDidDisappear(bool) override { calls.push_back("didDisappear"); }
};

} // namespace

RVX_DEFINE_CLASS(Pane, UIViewController,
    cls.addMethod("save", [](NSObject& self, const id& sender) -> id {
        auto& pane = static_cast<Pane&>(self);
        pane.calls.push_back("save");
        pane.lastSender = std::dynamic_pointer_cast<UIBarButtonItem>(sender);
        return nullptr;
    }))

TEST(Navigation, PushAndPopCallTheAppearanceHooksAndKeepTheRoot)
{
    auto root = std::make_shared<Pane>();
    root->setTitle("Settings");
    auto nav = UINavigationController::initWithRootViewController(root);
    nav->view();
    auto child = std::make_shared<Pane>();
    nav->pushViewController(child, true);
    EXPECT_EQ(nav->topViewController(), child);
    EXPECT_EQ(child->navigationController(), nav);
    EXPECT_EQ(child->view()->superview(), nav->view());
    EXPECT_EQ(child->view()->frame().origin.y, UINavigationController::kBarHeight);
    EXPECT_TRUE(nav->backButtonShown());
    EXPECT_NE(nav->view()->dump().find("\"Settings\""), std::string::npos); // the back button's title
    child->navigationItem()->setHidesBackButton(true, false);
    EXPECT_FALSE(nav->tapBack());
    child->navigationItem()->setHidesBackButton(false, false);
    EXPECT_TRUE(nav->tapBack());
    EXPECT_EQ(nav->topViewController(), root);
    EXPECT_EQ(child->calls.back(), "didDisappear");
    EXPECT_EQ(root->calls.back(), "willAppear");
    EXPECT_EQ(nav->popViewControllerAnimated(true), nullptr); // the root stays
    EXPECT_FALSE(child->view()->superview());
}

TEST(Navigation, BarItemsSendTheirActionWithTheItemAsSender)
{
    auto pane = std::make_shared<Pane>();
    auto save = UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemSave, pane, "save");
    EXPECT_EQ(save->title(), "Save");
    EXPECT_EQ(UIBarButtonItem::initWithBarButtonSystemItem(UIBarButtonSystemItemAdd, pane, "save")->title(), "+");
    auto nav = UINavigationController::initWithRootViewController(pane);
    nav->view();
    pane->navigationItem()->setRightBarButtonItem(save, true);
    nav->updateBar();
    EXPECT_TRUE(nav->tapRight());
    EXPECT_EQ(pane->calls.back(), "save");
    EXPECT_EQ(pane->lastSender, save);
    EXPECT_FALSE(nav->tapLeft());
    // The target is weak: a gone pane gets nothing and nothing crashes.
    auto orphan = UIBarButtonItem::initWithTitle("Cancel", UIBarButtonItemStyleBordered, std::make_shared<Pane>(), "save");
    orphan->tap();
}

TEST(Device, TheIdiomIsTheHostsToSet)
{
    auto device = UIDevice::currentDevice();
    EXPECT_EQ(device, UIDevice::currentDevice());
    EXPECT_EQ(device->userInterfaceIdiom(), UIUserInterfaceIdiomPhone);
    device->setUserInterfaceIdiom(UIUserInterfaceIdiomPad);
    EXPECT_EQ(device->model(), "iPad");
    device->setUserInterfaceIdiom(UIUserInterfaceIdiomPhone);
}
