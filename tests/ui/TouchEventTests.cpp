#include "UITestSupport.h"

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
    auto touch = touchAt(window, {12.5f, 40});
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
    auto touch = touchAt(window, {50, 110});
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
    auto touch = touchAt(window, {20, 20});
    EXPECT_EQ(touch->view(), plain);
    press(touch);
    release(touch);
    EXPECT_EQ(catcher->began, 1);
    EXPECT_EQ(catcher->ended, 1);
}
