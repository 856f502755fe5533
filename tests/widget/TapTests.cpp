// Taps from the host become synthetic touches; the window's hit test decides which control
// gets them.

#include "WidgetFixture.h"

#include "ui/UIEvent.h"
#include "ui/UITouch.h"

namespace {

// Lies over the whole row and keeps every touch event it receives.
class RecordingView : public UIView {
public:
    using UIView::UIView;
    void touchesBegan(const UITouchSet& touches, const UIEventRef& event) override { keep(touches, event); }
    void touchesEnded(const UITouchSet& touches, const UIEventRef& event) override { keep(touches, event); }

    struct Received {
        std::shared_ptr<UITouchesEvent> event;
        int phase;
        size_t touches;
    };
    std::vector<Received> received;

private:
    void keep(const UITouchSet& touches, const UIEventRef& event)
    {
        received.push_back({ std::dynamic_pointer_cast<UITouchesEvent>(event), touches.empty() ? -1 : touches.front()->phase(), touches.size() });
    }
};

using TapTest = HostedWidget;

TEST_F(TapTest, TheInfoButtonWinsInsideItsFrameAndTheBarEverywhereElse)
{
    set("Count", 0);
    load();
    EXPECT_EQ(tap({ 295, 17 }), nullptr);
    ASSERT_TRUE(host().alerts().topAlert());
    EXPECT_EQ(count(), 0);
    host().alerts().tapButton(0);

    for (CGPoint point : { CGPoint { 5, 5 }, CGPoint { 150, 17 }, CGPoint { 278, 17 }, CGPoint { 295, 33 } })
        EXPECT_EQ(tap(point), nullptr);
    EXPECT_EQ(count(), 4);
    EXPECT_FALSE(host().alerts().topAlert());
    EXPECT_TRUE(events("open ").empty());
}

TEST_F(TapTest, WithTheInfoButtonHiddenEveryTapRunsTheCloseAllAction)
{
    set("HideAlpha", true);
    load();
    tap({ 295, 17 });
    tap({ 20, 17 });
    EXPECT_EQ(count(), 2);
    EXPECT_FALSE(host().alerts().topAlert());
}

TEST_F(TapTest, TheTouchBeginsAndEndsWithTheRecordsFlags)
{
    load();
    auto recorder = std::make_shared<RecordingView>(root()->bounds());
    root()->addSubview(recorder);

    tap({ 40, 12 });

    ASSERT_EQ(recorder->received.size(), 2u);
    const auto& began = recorder->received[0];
    const auto& ended = recorder->received[1];
    ASSERT_TRUE(began.event && ended.event);
    EXPECT_EQ(began.phase, UITouchPhaseBegan);
    EXPECT_EQ(ended.phase, UITouchPhaseEnded);
    EXPECT_EQ(began.touches, 1u);
    EXPECT_EQ(began.event->recordFlags(), 0x03010180u);
    EXPECT_EQ(ended.event->recordFlags(), 0x01010180u);
    EXPECT_EQ(began.event->recordType(), 3001u);
    EXPECT_EQ(ended.event->recordType(), 3001u);
    // The record carries the point in the window's coordinates: the row lies at (2, 20).
    EXPECT_EQ(began.event->recordLocation().x, 42);
    EXPECT_EQ(began.event->recordLocation().y, 32);

    UITouchRef touch = began.event->allTouches().front();
    EXPECT_EQ(touch, ended.event->allTouches().front());
    EXPECT_EQ(touch->tapCount(), 1);
    EXPECT_EQ(touch->view(), recorder);
    EXPECT_EQ(touch->window(), host().window());
    EXPECT_EQ(touch->_touchFlags.firstByte & 0x03, 0x03);
    EXPECT_GT(touch->timestamp(), 0);
    recorder->received.clear(); // the touches hold the recorder
}

TEST_F(TapTest, ATapOutsideEveryViewDoesNothing)
{
    set("Count", 0);
    load();
    EXPECT_EQ(tap({ 500, 500 }), nullptr);
    EXPECT_EQ(count(), 0);
}

} // namespace
