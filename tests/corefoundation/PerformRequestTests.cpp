#include "corefoundation/CFRunLoop.h"
#include "corefoundation/PerformRequest.h"

#include <gtest/gtest.h>

namespace {

class Receiver : public NSObject {
    RVX_OBJECT(Receiver)
public:
    std::vector<std::string> log;
    void ping(std::shared_ptr<NSObject> argument) { log.push_back(argument ? "ping:arg" : "ping:nil"); }
    void chain()
    {
        log.push_back("chain");
        performSelectorAfterDelay(self(), "ping:", nullptr, 0);
    }
};

} // namespace

RVX_DEFINE_CLASS(Receiver, NSObject,
    cls.addMethod("ping:", runtime::method(&Receiver::ping));
    cls.addMethod("chain", runtime::method(&Receiver::chain)))

namespace {

class PerformRequestTest : public testing::Test {
protected:
    std::shared_ptr<VirtualClock> clock = RunLoop::main().installVirtualClock();
    std::shared_ptr<Receiver> receiver = std::make_shared<Receiver>();

    ~PerformRequestTest() override { RunLoop::main().installSystemClock(); }
};

TEST_F(PerformRequestTest, FiresAfterTheDelayWithItsArgument)
{
    performSelectorAfterDelay(receiver, "ping:", std::make_shared<NSObject>(), 0.5);
    performSelectorAfterDelay(receiver, "ping:", nullptr, 0.25);
    clock->advance(0.3);
    EXPECT_EQ(receiver->log, std::vector<std::string> { "ping:nil" });
    clock->advance(0.2);
    EXPECT_EQ(receiver->log, (std::vector<std::string> { "ping:nil", "ping:arg" }));
    EXPECT_EQ(pendingPerformRequestCount(), 0u);
}

TEST_F(PerformRequestTest, ZeroDelayWaitsForTheNextTurn)
{
    performSelectorAfterDelay(receiver, "chain", nullptr, 0);
    EXPECT_TRUE(receiver->log.empty());
    RunLoop::main().runOnce(0);
    EXPECT_EQ(receiver->log, std::vector<std::string> { "chain" });
    RunLoop::main().runOnce(0);
    EXPECT_EQ(receiver->log, (std::vector<std::string> { "chain", "ping:nil" }));
}

TEST_F(PerformRequestTest, KeepsTargetAndArgumentAliveUntilItFires)
{
    auto argument = std::make_shared<NSObject>();
    std::weak_ptr<Receiver> target = receiver;
    std::weak_ptr<NSObject> weakArgument = argument;
    performSelectorAfterDelay(receiver, "ping:", argument, 1);
    receiver.reset();
    argument.reset();
    EXPECT_FALSE(target.expired());
    EXPECT_FALSE(weakArgument.expired());

    clock->advance(1);
    EXPECT_TRUE(target.expired());
    EXPECT_TRUE(weakArgument.expired());
}

TEST_F(PerformRequestTest, CancelRemovesOnlyTheMatchingRequests)
{
    auto other = std::make_shared<Receiver>();
    auto argument = std::make_shared<NSObject>();
    performSelectorAfterDelay(receiver, "ping:", nullptr, 1);
    performSelectorAfterDelay(receiver, "chain", nullptr, 1);
    performSelectorAfterDelay(other, "ping:", nullptr, 1);
    performSelectorAfterDelay(other, "ping:", argument, 1);
    performSelectorAfterDelay(nullptr, "ping:", nullptr, 1);
    EXPECT_EQ(pendingPerformRequestCount(), 4u);

    cancelPreviousPerformRequests(receiver);
    cancelPreviousPerformRequests(other, "ping:", argument);
    clock->advance(2);
    EXPECT_TRUE(receiver->log.empty());
    EXPECT_EQ(other->log, std::vector<std::string> { "ping:nil" });
    EXPECT_EQ(RunLoop::main().timerCount(), 0u);
}

} // namespace
