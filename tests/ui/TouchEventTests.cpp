#include "ui/Finger.h"
#include "ui/UIEvent.h"
#include "ui/UITouch.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::array<unsigned char, 128> record(uint32_t flags, uint32_t type, float x, float y)
{
    std::array<unsigned char, 128> bytes {};
    std::memcpy(bytes.data() + 4, &flags, 4);
    std::memcpy(bytes.data() + 8, &type, 4);
    for (size_t offset : {16, 24, 108}) {
        std::memcpy(bytes.data() + offset, &x, 4);
        std::memcpy(bytes.data() + offset + 4, &y, 4);
    }
    float one = 1;
    std::memcpy(bytes.data() + 100, &one, 4);
    std::memcpy(bytes.data() + 104, &one, 4);
    return bytes;
}

} // namespace

TEST(TouchesEvent, ReadsTheRecordAtItsOffsets)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    Finger finger(window, {12.5f, 40});
    UITouchRef touch = finger.touch();
    auto bytes = record(0x03010180, 3001, 12.5f, 40);
    // Read from an odd address too: the record is never taken as an aligned struct.
    std::array<unsigned char, 129> shifted {};
    std::memcpy(shifted.data() + 1, bytes.data(), bytes.size());
    auto event = UITouchesEvent::_initWithEvent(shifted.data() + 1, {touch, touch});
    EXPECT_EQ(event->recordFlags(), 0x03010180u);
    EXPECT_EQ(event->recordType(), 3001u);
    EXPECT_EQ(event->recordLocation(), (CGPoint {12.5f, 40}));
    EXPECT_EQ(event->allTouches(), (UITouchSet {touch}));
    EXPECT_EQ(event->touchesForView(window.get()), (UITouchSet {touch}));
    EXPECT_TRUE(event->touchesForView(nullptr).empty());

    auto other = UITouchesEvent::_initWithEvent(record(0x01010180, 7, 0, 0).data(), {touch});
    EXPECT_EQ(other->recordType(), 7u);
    EXPECT_EQ(other->allTouches().size(), 1u);
}

TEST(TouchesEvent, LocationsConvertFromTheWindow)
{
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto row = std::make_shared<UIView>(CGRectMake(2, 100, 316, 35));
    window->addSubview(row);
    Finger finger(window, {50, 110});
    UITouchRef touch = finger.touch();
    touch->_previousLocationInWindow = {40, 105};
    EXPECT_EQ(touch->view(), row);
    EXPECT_EQ(touch->locationInView(row), (CGPoint {48, 10}));
    EXPECT_EQ(touch->previousLocationInView(row), (CGPoint {38, 5}));
    EXPECT_EQ(touch->locationInView(nullptr), (CGPoint {50, 110}));
}

TEST(Responders, UnhandledTouchesGoToTheSuperview)
{
    struct Catcher : UIView {
        int began = 0, ended = 0;
        void touchesBegan(const UITouchSet&, const UIEventRef&) override { ++began; }
        void touchesEnded(const UITouchSet&, const UIEventRef&) override { ++ended; }
    };
    auto window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    auto catcher = std::make_shared<Catcher>();
    catcher->setFrame(CGRectMake(0, 0, 200, 200));
    auto plain = std::make_shared<UIView>(CGRectMake(10, 10, 50, 50));
    window->addSubview(catcher);
    catcher->addSubview(plain);
    Finger finger(window, {20, 20});
    UITouchRef touch = finger.touch();
    EXPECT_EQ(touch->view(), plain);
    finger.down();
    finger.lift();
    EXPECT_EQ(catcher->began, 1);
    EXPECT_EQ(catcher->ended, 1);
}

namespace {

// Logs every phase it is sent, by name and with the touch's location in its own coordinates.
struct PhaseLog : UIView {
    std::vector<std::string> log;
    void note(const char* name, const UITouchSet& touches)
    {
        CGPoint at = touches.front()->locationInView(this);
        log.push_back(std::string(name) + " " + std::to_string(int(at.x)) + "," + std::to_string(int(at.y)));
    }
    void touchesBegan(const UITouchSet& touches, const UIEventRef&) override { note("began", touches); }
    void touchesMoved(const UITouchSet& touches, const UIEventRef&) override { note("moved", touches); }
    void touchesEnded(const UITouchSet& touches, const UIEventRef&) override { note("ended", touches); }
    void touchesCancelled(const UITouchSet& touches, const UIEventRef&) override { note("cancelled", touches); }
};

struct TwoViews {
    UIWindowRef window = std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480));
    std::shared_ptr<PhaseLog> left = std::make_shared<PhaseLog>();
    std::shared_ptr<PhaseLog> right = std::make_shared<PhaseLog>();
    TwoViews()
    {
        left->setFrame(CGRectMake(0, 0, 160, 480));
        right->setFrame(CGRectMake(160, 0, 160, 480));
        window->addSubview(left);
        window->addSubview(right);
    }
};

} // namespace

TEST(Finger, EveryPhaseGoesToTheViewItWentDownOn)
{
    TwoViews views;
    Finger finger(views.window, {100, 10});
    EXPECT_EQ(finger.view(), views.left);
    EXPECT_EQ(finger.touch()->tapCount(), 1);
    ASSERT_TRUE(finger.down());
    EXPECT_TRUE(finger.isDown());
    finger.moveAlong({200, 30}, 2); // over the right view from the second step on
    EXPECT_EQ(finger.touch()->previousLocationInView(nullptr), (CGPoint {150, 20}));
    finger.lift();
    EXPECT_FALSE(finger.isDown());
    EXPECT_EQ(views.left->log, (std::vector<std::string> {"began 100,10", "moved 150,20", "moved 200,30", "ended 200,30"}));
    EXPECT_TRUE(views.right->log.empty());
    EXPECT_EQ(finger.touch()->phase(), UITouchPhaseEnded);

    // A finger given its view goes down there, whatever lies above it.
    Finger onto(UIViewRef(views.right), {10, 10});
    EXPECT_EQ(onto.touch()->window(), views.window);
    onto.down();
    onto.liftAt({20, 40}); // no move between
    EXPECT_EQ(views.right->log, (std::vector<std::string> {"began -150,10", "ended -140,40"}));
}

TEST(Finger, SendsEachPhaseOnlyInItsTurn)
{
    TwoViews views;
    Finger finger(views.window, {10, 10});
    finger.moveTo({20, 20}); // not down yet
    finger.lift();
    finger.cancel();
    EXPECT_TRUE(views.left->log.empty());

    ASSERT_TRUE(finger.down());
    EXPECT_FALSE(finger.down()); // one finger goes down once
    finger.cancel();
    finger.moveTo({30, 30}); // cancelled: no more phases
    finger.lift();
    EXPECT_EQ(views.left->log, (std::vector<std::string> {"began 10,10", "cancelled 10,10"}));
    EXPECT_EQ(finger.touch()->phase(), UITouchPhaseCancelled);

    // Nothing under the finger: nothing is sent and down() says so.
    Finger nowhere(std::make_shared<UIWindow>(CGRectMake(0, 0, 10, 10)), {50, 50});
    EXPECT_FALSE(nowhere.view());
    EXPECT_FALSE(nowhere.down());
    nowhere.lift();
    EXPECT_FALSE(nowhere.isDown());
}
