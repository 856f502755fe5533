#include "ui/UIActionSheet.h"
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

class SheetListener : public UIActionSheetDelegate {
public:
    std::vector<int> clicked;
    void clickedButtonAtIndex(const UIActionSheetRef&, int index) override { clicked.push_back(index); }
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

TEST(ActionSheet, OrdersDestructiveOthersCancelAndTellsItsDelegate)
{
    auto listener = std::make_shared<SheetListener>();
    auto sheet = UIActionSheet::initWithTitle("Ruvex Pro", listener, "Cancel", std::nullopt,
        {"Website", "Twitter", "YouTube Channel", "More by this Developer"});
    EXPECT_EQ(sheet->numberOfButtons(), 5);
    EXPECT_EQ(sheet->cancelButtonIndex(), 4);
    EXPECT_EQ(sheet->destructiveButtonIndex(), -1);
    EXPECT_EQ(sheet->buttonTitleAtIndex(0), "Website");
    auto withDestructive = UIActionSheet::initWithTitle(std::nullopt, listener, "Cancel", "Erase", {"Keep"});
    EXPECT_EQ(withDestructive->buttonTitleAtIndex(0), "Erase");
    EXPECT_EQ(withDestructive->firstOtherButtonIndex(), 1);
    EXPECT_EQ(withDestructive->cancelButtonIndex(), 2);

    UIActionSheet::clearShownActionSheets();
    auto view = std::make_shared<UIView>();
    sheet->showInView(view);
    ASSERT_EQ(UIActionSheet::shownActionSheets().size(), 1u);
    EXPECT_EQ(sheet->shownInView(), view);
    sheet->dismissWithClickedButtonIndex(1);
    EXPECT_EQ(listener->clicked, std::vector<int> {1});
    EXPECT_FALSE(sheet->isVisible());
    sheet->dismissWithClickedButtonIndex(9); // no such button: no call
    EXPECT_EQ(listener->clicked.size(), 1u);
    UIActionSheet::clearShownActionSheets();
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
