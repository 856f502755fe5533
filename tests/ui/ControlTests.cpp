#include "ui/Finger.h"
#include "ui/UIButton.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

namespace {

class Recorder : public NSObject {
    RVX_OBJECT(Recorder)
public:
    std::vector<std::string> log;
    UIControl* control = nullptr;

    void record(std::string name) { log.push_back(std::move(name)); }
    void down() { record("down"); }
    void upInside() { record("upInside"); }
    void upOutside() { record("upOutside"); }
    void enter() { record("enter"); }
    void exit() { record("exit"); }
    void dragInside() { record("dragInside"); }
    void dragOutside() { record("dragOutside"); }
    void cancel() { record("cancel"); }
    void once()
    {
        record("once");
        control->removeTarget(self(), "once", UIControlEventAllEvents);
    }
};

} // namespace

RVX_DEFINE_CLASS(Recorder, NSObject,
    cls.addMethod("down", runtime::method(&Recorder::down));
    cls.addMethod("upInside", runtime::method(&Recorder::upInside));
    cls.addMethod("upOutside", runtime::method(&Recorder::upOutside));
    cls.addMethod("enter", runtime::method(&Recorder::enter));
    cls.addMethod("exit", runtime::method(&Recorder::exit));
    cls.addMethod("dragInside", runtime::method(&Recorder::dragInside));
    cls.addMethod("dragOutside", runtime::method(&Recorder::dragOutside));
    cls.addMethod("cancel", runtime::method(&Recorder::cancel));
    cls.addMethod("once", runtime::method(&Recorder::once)))

namespace {

struct Scene {
    UIWindowRef window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    UIButtonRef button = UIButton::buttonWithType(0);
    std::shared_ptr<Recorder> recorder = std::make_shared<Recorder>();

    Scene()
    {
        button->setFrame(CGRectMake(100, 100, 100, 40));
        window->addSubview(button);
        button->addTarget(recorder, "down", UIControlEventTouchDown);
        button->addTarget(recorder, "upInside", UIControlEventTouchUpInside);
        button->addTarget(recorder, "upOutside", UIControlEventTouchUpOutside);
        button->addTarget(recorder, "enter", UIControlEventTouchDragEnter);
        button->addTarget(recorder, "exit", UIControlEventTouchDragExit);
        button->addTarget(recorder, "dragInside", UIControlEventTouchDragInside);
        button->addTarget(recorder, "dragOutside", UIControlEventTouchDragOutside);
        button->addTarget(recorder, "cancel", UIControlEventTouchCancel);
    }
};

} // namespace

TEST(ControlTracking, ReleaseWithinGrownBoundsIsInside)
{
    Scene scene;
    Finger finger(scene.window, {150, 120});
    ASSERT_EQ(finger.view(), scene.button);
    finger.down();
    EXPECT_TRUE(scene.button->isHighlighted());
    EXPECT_TRUE(scene.button->isTracking());
    EXPECT_EQ(scene.button->state(), UIControlStateHighlighted);
    finger.moveTo({260, 200}); // 60 points right of and 60 below the button: still inside
    EXPECT_TRUE(scene.button->isHighlighted());
    finger.lift();
    EXPECT_EQ(scene.recorder->log, (std::vector<std::string> {"down", "dragInside", "upInside"}));
    EXPECT_FALSE(scene.button->isHighlighted());
    EXPECT_FALSE(scene.button->isTracking());
}

TEST(ControlTracking, LeavingAndComingBackSendsExitAndEnter)
{
    Scene scene;
    Finger finger(scene.window, {150, 120});
    finger.down();
    finger.moveTo({271, 120}); // 71 points beyond the right edge
    EXPECT_FALSE(scene.button->isHighlighted());
    finger.moveTo({269, 120});
    EXPECT_TRUE(scene.button->isHighlighted());
    finger.moveTo({150, 211}); // below the grown bounds
    finger.lift();
    EXPECT_EQ(scene.recorder->log, (std::vector<std::string> {"down", "exit", "dragOutside", "enter", "dragInside",
                                       "exit", "dragOutside", "upOutside"}));
}

TEST(ControlTracking, ReleaseFarAwayIsOutsideAndPressElsewhereDoesNothing)
{
    Scene scene;
    Finger finger(scene.window, {150, 120});
    finger.down();
    finger.liftAt({10, 400}); // released with no move in between
    EXPECT_EQ(scene.recorder->log, (std::vector<std::string> {"down", "upOutside"}));

    scene.recorder->log.clear();
    Finger elsewhere(scene.window, {10, 10}); // hits the window, released on the button
    EXPECT_EQ(elsewhere.view(), scene.window);
    elsewhere.down();
    elsewhere.liftAt({150, 120});
    EXPECT_TRUE(scene.recorder->log.empty());

    scene.button->setEnabled(false);
    EXPECT_EQ(scene.button->state(), UIControlStateDisabled);
    Finger disabled(scene.window, {150, 120});
    disabled.down();
    disabled.lift();
    EXPECT_TRUE(scene.recorder->log.empty());
}

TEST(ControlTracking, ACancelledTouchEndsTrackingWithNoTouchUp)
{
    Scene scene;
    Finger finger(scene.window, {150, 120});
    finger.down();
    finger.cancel();
    finger.lift(); // a cancelled finger is not lifted again
    EXPECT_EQ(scene.recorder->log, (std::vector<std::string> {"down", "cancel"}));
    EXPECT_FALSE(scene.button->isHighlighted());
    EXPECT_FALSE(scene.button->isTracking());
}

TEST(ControlActions, CallbackRemovingItsOwnTargetAndOthersStay)
{
    Scene scene;
    scene.recorder->control = scene.button.get();
    scene.button->addTarget(scene.recorder, "once", UIControlEventTouchUpInside);
    scene.button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    scene.button->sendActionsForControlEvents(UIControlEventTouchUpInside);
    EXPECT_EQ(scene.recorder->log, (std::vector<std::string> {"upInside", "once", "upInside"}));
    // Removing one action for one event leaves the target's other actions.
    scene.button->removeTarget(scene.recorder, "upInside", UIControlEventTouchUpInside);
    EXPECT_EQ(scene.button->actionsForTarget(scene.recorder, UIControlEventTouchUpOutside),
        (std::vector<std::string> {"upOutside"}));
    EXPECT_TRUE(scene.button->actionsForTarget(scene.recorder, UIControlEventTouchUpInside).empty());
}

TEST(ButtonState, TitlesAndColoursFallBackToNormal)
{
    auto button = UIButton::buttonWithType(0);
    EXPECT_FALSE(button->showsTouchWhenHighlighted());
    button->setTitle("Tap", UIControlStateNormal);
    button->setTitleColor(UIColor::redColor(), UIControlStateNormal);
    button->setTitle("Held", UIControlStateHighlighted);
    EXPECT_EQ(button->titleForState(UIControlStateSelected), "Tap");
    button->setHighlighted(true);
    EXPECT_EQ(button->currentTitle(), "Held");
    EXPECT_TRUE(button->currentTitleColor()->isEqual(*UIColor::redColor()));
    EXPECT_EQ(button->titleLabel()->font()->fontName(), "Helvetica-Bold");

    auto info = UIButton::buttonWithType(3);
    EXPECT_EQ(info->frame().size, (CGSize {18, 19}));
    info->setFrame(CGRectMake(0, 0, 30, 30));
    info->sizeToFit();
    EXPECT_EQ(info->frame().size, (CGSize {18, 19}));
}
