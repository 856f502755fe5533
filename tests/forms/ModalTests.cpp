// Alerts and action sheets: their buttons, the delegate told of a tap, the one list of the
// modals on screen, and their drawing by a host's presenter or, without one, by the platform.

#include "PlatformScope.h"

#include "corefoundation/CFRunLoop.h"
#include "graphics/PixelProbe.h"
#include "ui/UIModalOverlay.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

struct AlertListener : UIAlertViewDelegate {
    Calls calls;
    std::function<void(const UIAlertViewRef&, int)> then;
    void clickedButtonAtIndex(const UIAlertViewRef& alert, int index) override
    {
        calls.push_back(alert->title() + " " + std::to_string(index));
        if (then)
            then(alert, index);
    }
};

struct SheetListener : UIActionSheetDelegate {
    std::vector<int> clicked;
    void clickedButtonAtIndex(const UIActionSheetRef&, int index) override { clicked.push_back(index); }
};

// Records what it was asked to show and shows nothing.
struct RecordingPresenter : UIModalPresenter {
    std::vector<UIModalViewRef> presented;
    std::vector<UIViewRef> views;
    UIViewRef presentModal(const UIModalViewRef& modal, const UIViewRef& view) override
    {
        presented.push_back(modal);
        views.push_back(view);
        return nullptr;
    }
};

std::vector<std::shared_ptr<UIModalOverlay>> overlaysIn(const UIViewRef& window)
{
    std::vector<std::shared_ptr<UIModalOverlay>> found;
    for (const UIViewRef& view : window->subviews())
        if (auto overlay = std::dynamic_pointer_cast<UIModalOverlay>(view))
            found.push_back(overlay);
    return found;
}

using Modals = std::vector<UIModalViewRef>;

class ModalTest : public ::testing::Test {
protected:
    PlatformScope _scope;
    UIWindowRef _window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
};

} // namespace

TEST(AlertView, CancelFirstOthersFollowDelegateCalledOnce)
{
    PlatformScope scope;
    auto delegate = std::make_shared<AlertListener>();
    auto alert = UIAlertView::initWithTitle("Developed by @Vastelmark", std::nullopt, delegate, "OK",
        {"Website", "Twitter", "More by this Developer"});
    alert->setTag(2);
    EXPECT_EQ(alert->numberOfButtons(), 4);
    EXPECT_EQ(alert->buttonTitleAtIndex(0), "OK");
    EXPECT_EQ(alert->buttonTitleAtIndex(3), "More by this Developer");
    EXPECT_EQ(alert->buttonTitleAtIndex(4), "");
    EXPECT_EQ(alert->buttonTitleAtIndex(-1), "");
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->firstOtherButtonIndex(), 1);
    EXPECT_EQ(alert->destructiveButtonIndex(), -1);

    alert->show();
    alert->show();
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {alert}));
    EXPECT_TRUE(alert->isVisible());
    alert->dismissWithClickedButtonIndex(2);
    EXPECT_EQ(delegate->calls, (Calls {"Developed by @Vastelmark 2"}));
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(UIModalView::visibleModals().empty());
    alert->dismissWithClickedButtonIndex(9); // no such button: no call
    EXPECT_EQ(delegate->calls.size(), 1u);

    auto noCancel = UIAlertView::initWithTitle("T", "M", delegate, std::nullopt, {"A", "B"});
    EXPECT_EQ(noCancel->buttonTitleAtIndex(0), "A");
    EXPECT_EQ(noCancel->cancelButtonIndex(), -1);
    EXPECT_EQ(noCancel->firstOtherButtonIndex(), 0);
    // The delegate is weak: once gone, a click reaches nobody.
    delegate.reset();
    noCancel->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(noCancel->delegate(), nullptr);
}

TEST(ActionSheet, OrdersDestructiveOthersCancelAndTellsItsDelegate)
{
    PlatformScope scope;
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

    auto view = std::make_shared<UIView>();
    sheet->showInView(view);
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {sheet}));
    EXPECT_EQ(sheet->shownInView(), view);
    sheet->dismissWithClickedButtonIndex(1);
    EXPECT_EQ(listener->clicked, std::vector<int> {1});
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_FALSE(sheet->shownInView());
    sheet->dismissWithClickedButtonIndex(9); // no such button: no call
    EXPECT_EQ(listener->clicked.size(), 1u);
}

TEST(ModalView, AButtonIsNamedByItsTitleFirstThenByItsIndex)
{
    auto alert = UIAlertView::initWithTitle("Pick", std::nullopt, nullptr, "Cancel", {"2", "Twice", "Twice"});
    EXPECT_EQ(alert->buttonIndexNamed("Cancel"), 0);
    EXPECT_EQ(alert->buttonIndexNamed("Twice"), 2); // the first of two alike
    EXPECT_EQ(alert->buttonIndexNamed("2"), 1);     // a title, though it spells another index
    EXPECT_EQ(alert->buttonIndexNamed("3"), 3);
    for (const char* word : {"4", "-1", "", "1x", "+9", "cancel", "99999999999999999999"})
        EXPECT_EQ(alert->buttonIndexNamed(word), -1) << word;
}

TEST_F(ModalTest, ATapOutOfRangeLeavesTheModalUp)
{
    UIModalOverlayPresenter presenter(_window);
    UIModalView::setPresenter(&presenter);
    auto delegate = std::make_shared<AlertListener>();
    auto alert = UIAlertView::initWithTitle("Saved", std::nullopt, delegate, "OK", {"More"});
    alert->show();
    for (int index : {-1, 2, 1000}) {
        EXPECT_FALSE(presenter.tapButton(index)) << index;
        EXPECT_TRUE(alert->isVisible());
    }
    // A tap on the overlay with an index it never made reaches nothing either.
    auto overlay = overlaysIn(_window).at(0);
    EXPECT_FALSE(overlay->buttonAtIndex(2));
    EXPECT_FALSE(overlay->buttonAtIndex(-1));
    EXPECT_TRUE(delegate->calls.empty());
    EXPECT_TRUE(presenter.tapButton(1));
    EXPECT_EQ(delegate->calls, (Calls {"Saved 1"}));
    EXPECT_FALSE(presenter.tapButton(0)); // nothing shows now
    EXPECT_TRUE(overlaysIn(_window).empty());
}

TEST_F(ModalTest, DismissedFromWithinItsOwnDelegateCall)
{
    UIModalOverlayPresenter presenter(_window);
    UIModalView::setPresenter(&presenter);
    auto delegate = std::make_shared<AlertListener>();
    auto alert = UIAlertView::initWithTitle("About", std::nullopt, delegate, "OK", {"More"});
    // The delegate dismisses its alert again, with another button: no second call.
    delegate->then = [](const UIAlertViewRef& shown, int) { shown->dismissWithClickedButtonIndex(0); };
    alert->show();
    EXPECT_TRUE(presenter.tapButton(1));
    EXPECT_EQ(delegate->calls, (Calls {"About 1"}));
    EXPECT_FALSE(alert->isVisible());
    EXPECT_TRUE(overlaysIn(_window).empty());

    // The delegate shows the next alert and drops its last reference to this one: the next
    // stays, on top and drawn, and this one goes.
    auto developer = UIAlertView::initWithTitle("Developer", std::nullopt, delegate, "OK");
    auto about = UIAlertView::initWithTitle("About", std::nullopt, delegate, "OK", {"More"});
    std::weak_ptr<UIAlertView> gone = about;
    delegate->then = [&](const UIAlertViewRef& shown, int) {
        if (shown == about) {
            about.reset();
            developer->show();
        }
    };
    about->show();
    ASSERT_TRUE(presenter.tapButton(1));
    EXPECT_TRUE(gone.expired());
    EXPECT_EQ(presenter.shownModals(), (Modals {developer}));
    EXPECT_EQ(overlaysIn(_window).size(), 1u);
    EXPECT_TRUE(developer->isVisible());
}

TEST_F(ModalTest, TwoShownAtOnceAreFoundLatestFirstAndDrawnInThatOrder)
{
    UIModalOverlayPresenter presenter(_window);
    UIModalView::setPresenter(&presenter);
    auto first = UIAlertView::initWithTitle("First", std::nullopt, nullptr, "OK");
    auto sheet = UIActionSheet::initWithTitle("Sheet", nullptr, "Cancel", std::nullopt, {"Go"});
    auto second = UIAlertView::initWithTitle("Second", std::nullopt, nullptr, "OK");
    first->show();
    sheet->showInView(_window);
    second->show();
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {first, sheet, second}));
    EXPECT_EQ(presenter.shownModals(), (Modals {first, sheet, second}));
    EXPECT_EQ(presenter.topModal(), second);
    EXPECT_EQ(presenter.topAlert(), second);
    EXPECT_EQ(presenter.topActionSheet(), sheet);
    EXPECT_EQ(UIModalView::topVisible<UIAlertView>(), second);
    // The latest is drawn on top: its overlay is the window's last view.
    ASSERT_EQ(overlaysIn(_window).size(), 3u);
    EXPECT_EQ(_window->subviews().back(), overlaysIn(_window)[2]);
    EXPECT_EQ(overlaysIn(_window)[2]->buttonAtIndex(0)->currentTitle(), "OK");
    EXPECT_EQ(overlaysIn(_window)[1]->buttonAtIndex(0)->currentTitle(), "Go");

    // The one on top goes first; then the earlier alert is the alert on top again, though the
    // sheet was shown after it.
    EXPECT_TRUE(presenter.tapButton(0));
    EXPECT_EQ(presenter.topModal(), sheet);
    EXPECT_EQ(presenter.topAlert(), first);
    // Dismissed out of order, the rest keep theirs.
    first->dismissWithClickedButtonIndex(0);
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {sheet}));
    EXPECT_EQ(overlaysIn(_window).size(), 1u);
    // Shown again, a modal goes on top.
    first->show();
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {sheet, first}));
    UIModalView::dismissAllModals();
    EXPECT_TRUE(UIModalView::visibleModals().empty());
    EXPECT_TRUE(overlaysIn(_window).empty());
    EXPECT_FALSE(first->isVisible() || sheet->isVisible());
}

TEST_F(ModalTest, WithNoPresenterThePlatformDrawsOverTheKeyWindowOrTheSheetsOwn)
{
    ASSERT_FALSE(UIModalView::presenter());
    auto lone = UIAlertView::initWithTitle("Nowhere", std::nullopt, nullptr, "OK");
    // No key window yet: listed and visible, drawn nowhere, and still dismissed by a tap.
    UIWindowRef before = UIWindow::keyWindow();
    if (!before) {
        lone->show();
        EXPECT_EQ(UIModalView::topVisible<UIAlertView>(), lone);
        lone->dismissWithClickedButtonIndex(0);
        EXPECT_TRUE(UIModalView::visibleModals().empty());
    }

    _window->makeKeyAndVisible();
    auto other = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto pane = std::make_shared<UIView>(CGRectMake(0, 0, 320, 480));
    other->addSubview(pane);
    auto alert = UIAlertView::initWithTitle("Saved", std::nullopt, nullptr, "OK");
    auto sheet = UIActionSheet::initWithTitle("Links", nullptr, "Cancel", std::nullopt, {"Website"});
    auto loose = UIActionSheet::initWithTitle("Loose", nullptr, "Cancel", std::nullopt);
    alert->show();
    sheet->showInView(pane);
    loose->showInView(std::make_shared<UIView>()); // a view in no window
    EXPECT_EQ(overlaysIn(_window).size(), 1u);
    EXPECT_EQ(overlaysIn(other).size(), 1u);
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {alert, sheet, loose}));
    // The platform's overlays are tapped like a presenter's.
    overlaysIn(other)[0]->buttonAtIndex(1)->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(overlaysIn(other).empty());
    loose->dismissWithClickedButtonIndex(0);
    alert->dismissWithClickedButtonIndex(0);
    EXPECT_TRUE(overlaysIn(_window).empty());
    EXPECT_TRUE(UIModalView::visibleModals().empty());
}

TEST_F(ModalTest, AModalStaysWithThePresenterThatShowedItUntilThatOneGoes)
{
    auto recording = std::make_unique<RecordingPresenter>();
    UIModalOverlayPresenter drawing(_window);
    UIModalView::setPresenter(recording.get());
    auto early = UIAlertView::initWithTitle("Early", std::nullopt, nullptr, "OK");
    auto sheet = UIActionSheet::initWithTitle("Sheet", nullptr, "Cancel", std::nullopt);
    early->show();
    sheet->showInView(_window);
    EXPECT_EQ(recording->presented, (Modals {early, sheet}));
    EXPECT_EQ(recording->views, (std::vector<UIViewRef> {nullptr, _window}));

    // Another presenter installed: what was shown stays with the first, the next goes to it.
    UIModalView::setPresenter(&drawing);
    auto late = UIAlertView::initWithTitle("Late", std::nullopt, nullptr, "OK");
    late->show();
    EXPECT_EQ(recording->shownModals(), (Modals {early, sheet}));
    EXPECT_EQ(drawing.shownModals(), (Modals {late}));
    EXPECT_EQ(recording->topModal(), sheet);
    EXPECT_EQ(drawing.topModal(), late);

    // The first presenter goes: its modals are dismissed without a delegate call, and the
    // installed one is not touched.
    auto listener = std::make_shared<SheetListener>();
    sheet->setDelegate(listener);
    recording.reset();
    EXPECT_FALSE(early->isVisible());
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(listener->clicked.empty());
    EXPECT_EQ(UIModalView::visibleModals(), (Modals {late}));
    EXPECT_EQ(UIModalView::presenter(), &drawing);
    {
        UIModalOverlayPresenter gone(_window);
        UIModalView::setPresenter(&gone);
    }
    EXPECT_FALSE(UIModalView::presenter()); // a presenter that goes is no longer installed
    EXPECT_EQ(overlaysIn(_window).size(), 1u);
}

TEST_F(ModalTest, AnAlertDimsTheWindowMostAtItsCornersAtEveryScaleInTurn)
{
    auto clock = RunLoop::main().installVirtualClock(0);
    UIModalOverlayPresenter presenter(_window);
    UIModalView::setPresenter(&presenter);
    auto alert = UIAlertView::initWithTitle("Dim", std::nullopt, nullptr, "OK");
    alert->show();
    clock->advance(1);
    // Over white: black at 0.75 in the corners, at 0.35 + 0.4 * 240 / 288.4 at the top's
    // middle (the gradient runs from the centre to the corners).
    const int cornerGrey = 64, topGrey = 81;
    for (int scale : {1, 2, 1, 3}) {
        CairoSurfacePtr shot = _window->renderImage(scale);
        ASSERT_EQ(cairo_image_surface_get_width(shot.get()), 320 * scale);
        Pixel corner = pixelAt(shot.get(), 0, 0);
        Pixel farCorner = pixelAt(shot.get(), 320 * scale - 1, 480 * scale - 1);
        Pixel top = pixelAt(shot.get(), 160 * scale, 0);
        EXPECT_NEAR(corner[0], cornerGrey, 2) << "scale " << scale;
        EXPECT_NEAR(farCorner[0], cornerGrey, 2) << "scale " << scale;
        EXPECT_NEAR(top[0], topGrey, 2) << "scale " << scale;
    }
    alert->dismissWithClickedButtonIndex(0, false);
    RunLoop::main().installSystemClock();
}
