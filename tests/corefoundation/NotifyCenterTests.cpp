#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "corefoundation/NotifyPostListener.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include <unistd.h>

namespace {

struct Call {
    void* observer;
    std::string name;
    const void* object;
    CFDictionaryRef userInfo;
    bool onMainThread;
};

std::vector<Call> calls;
int observerA, observerB;

void record(CFNotificationCenterRef, void* observer, CFStringRef name, const void* object, CFDictionaryRef userInfo)
{
    calls.push_back({ observer, name, object, userInfo, gettid() == getpid() });
}

void recordAgain(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef info)
{
    record(center, observer, name, object, info);
}

void removeObserverB(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object, CFDictionaryRef info)
{
    record(center, observer, name, object, info);
    CFNotificationCenterRemoveEveryObserver(center, &observerB);
}

class NotifyCenterTest : public testing::Test {
protected:
    CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();

    NotifyCenterTest() { calls.clear(); }
    ~NotifyCenterTest() override
    {
        CFNotificationCenterRemoveEveryObserver(center, nullptr);
        CFNotificationCenterRemoveEveryObserver(center, &observerA);
        CFNotificationCenterRemoveEveryObserver(center, &observerB);
        while (RunLoop::main().runOnce(0)) {
        }
    }

    void observe(const void* observer, const char* name, CFNotificationCallback callback = record, const void* object = nullptr)
    {
        CFNotificationCenterAddObserver(center, observer, callback, name, object,
            CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    void post(const char* name) { CFNotificationCenterPostNotification(center, name, nullptr, nullptr, true); }
    void turn() { RunLoop::main().runOnce(0); }
};

TEST_F(NotifyCenterTest, CallbacksRunOnTheMainLoopNeverInsideThePost)
{
    observe(nullptr, "com.example.changed");
    int object = 0;
    CFNotificationCenterPostNotification(center, "com.example.changed", &object,
        reinterpret_cast<CFDictionaryRef>(&object), true);
    EXPECT_TRUE(calls.empty());

    turn();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].observer, nullptr);
    EXPECT_EQ(calls[0].name, "com.example.changed");
    EXPECT_EQ(calls[0].object, nullptr);
    EXPECT_EQ(calls[0].userInfo, nullptr);
    EXPECT_TRUE(calls[0].onMainThread);

    std::thread([&] { post("com.example.changed"); }).join();
    EXPECT_EQ(calls.size(), 1u);
    turn();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_TRUE(calls[1].onMainThread);
}

TEST_F(NotifyCenterTest, DeliversByExactNameOnly)
{
    observe(&observerA, "com.example.changed");
    post("com.example");
    post("com.example.changed.more");
    post("COM.EXAMPLE.CHANGED");
    turn();
    EXPECT_TRUE(calls.empty());
}

TEST_F(NotifyCenterTest, AnIdenticalRegistrationIsKeptOnce)
{
    for (int i = 0; i < 3; ++i)
        observe(nullptr, "com.example.changed");
    observe(&observerA, "com.example.changed");
    observe(&observerB, "com.example.changed");
    observe(&observerA, "com.example.changed", recordAgain);
    int object = 0;
    observe(&observerA, "com.example.changed", record, &object);
    post("com.example.changed");
    turn();
    // nil observer, A, B, A with another callback, A with an object.
    EXPECT_EQ(calls.size(), 5u);

    CFNotificationCenterRemoveObserver(center, nullptr, "com.example.changed", nullptr);
    calls.clear();
    post("com.example.changed");
    turn();
    EXPECT_EQ(calls.size(), 4u);
}

TEST_F(NotifyCenterTest, RemovingMatchesObserverNameAndObject)
{
    int object = 0;
    observe(&observerA, "one");
    observe(&observerA, "two");
    observe(&observerA, "three", record, &object);
    observe(&observerB, "one");

    CFNotificationCenterRemoveObserver(center, &observerA, "one", nullptr);
    CFNotificationCenterRemoveObserver(center, &observerA, "three", &observerB); // another object: kept
    post("one");
    post("two");
    post("three");
    turn();
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].observer, &observerB);

    CFNotificationCenterRemoveObserver(center, &observerA, nullptr, nullptr);
    calls.clear();
    post("one");
    post("two");
    post("three");
    turn();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].observer, &observerB);

    CFNotificationCenterRemoveEveryObserver(center, &observerB);
    calls.clear();
    post("one");
    turn();
    EXPECT_TRUE(calls.empty());
}

TEST_F(NotifyCenterTest, AnObserverRemovedByAnEarlierCallbackIsNotCalled)
{
    observe(&observerA, "changed", removeObserverB);
    observe(&observerB, "changed");
    post("changed");
    turn();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].observer, &observerA);
}

TEST_F(NotifyCenterTest, AFloodOfPostsCoalescesPerTurn)
{
    observe(&observerA, "flood");
    observe(&observerA, "other");
    for (int i = 0; i < 100000; ++i)
        post(i % 1000 == 0 ? "other" : "flood");
    EXPECT_TRUE(calls.empty());
    turn();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].name, "other"); // in the order of first posting
    EXPECT_EQ(calls[1].name, "flood");

    post("flood");
    turn();
    EXPECT_EQ(calls.size(), 3u);
}

TEST_F(NotifyCenterTest, ThePostListenerHearsEveryPostAsItIsMade)
{
    std::vector<std::string> heard;
    notifyCenterSetPostListener([&](const std::string& name) { heard.push_back(name); });
    observe(&observerA, "flood");
    post("flood");
    post("flood");
    post(""); // refused: never made
    post("unobserved");
    EXPECT_EQ(heard, (std::vector<std::string> {"flood", "flood", "unobserved"}));
    turn();
    EXPECT_EQ(calls.size(), 1u); // the observer hears the two as one

    notifyCenterSetPostListener(nullptr);
    post("flood");
    EXPECT_EQ(heard.size(), 3u);
}

TEST_F(NotifyCenterTest, BadNamesAndArgumentsAreRefused)
{
    std::string longest(kCFNotificationNameMaxLength, 'n');
    std::string tooLong = longest + "n";
    EXPECT_EQ(CFNotificationCenterAddObserverChecked(center, nullptr, record, nullptr, nullptr,
                  CFNotificationSuspensionBehaviorDeliverImmediately),
        kCFNotificationStatusNoName);
    EXPECT_EQ(CFNotificationCenterAddObserverChecked(center, nullptr, record, "", nullptr,
                  CFNotificationSuspensionBehaviorDeliverImmediately),
        kCFNotificationStatusNoName);
    EXPECT_EQ(CFNotificationCenterAddObserverChecked(center, nullptr, record, tooLong.c_str(), nullptr,
                  CFNotificationSuspensionBehaviorDeliverImmediately),
        kCFNotificationStatusNameTooLong);
    EXPECT_EQ(CFNotificationCenterAddObserverChecked(center, nullptr, nullptr, "name", nullptr,
                  CFNotificationSuspensionBehaviorDeliverImmediately),
        kCFNotificationStatusInvalidArgument);
    EXPECT_EQ(CFNotificationCenterAddObserverChecked(nullptr, nullptr, record, "name", nullptr,
                  CFNotificationSuspensionBehaviorDeliverImmediately),
        kCFNotificationStatusInvalidArgument);

    EXPECT_EQ(CFNotificationCenterPostNotificationChecked(center, nullptr, nullptr, nullptr, true), kCFNotificationStatusNoName);
    EXPECT_EQ(CFNotificationCenterPostNotificationChecked(center, "", nullptr, nullptr, true), kCFNotificationStatusNoName);
    EXPECT_EQ(CFNotificationCenterPostNotificationChecked(center, tooLong.c_str(), nullptr, nullptr, true),
        kCFNotificationStatusNameTooLong);

    observe(&observerA, longest.c_str());
    EXPECT_EQ(CFNotificationCenterPostNotificationChecked(center, longest.c_str(), nullptr, nullptr, true),
        kCFNotificationStatusOK);
    turn();
    EXPECT_EQ(calls.size(), 1u);

    testing::internal::CaptureStderr();
    post("");
    post(tooLong.c_str());
    std::string logged = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 2);
    EXPECT_NE(logged.find("CFNotificationCenterPostNotification: the notification name is missing or empty"), std::string::npos);
    EXPECT_NE(logged.find("longer than 128 bytes"), std::string::npos);
}

} // namespace
