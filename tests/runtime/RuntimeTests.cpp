#include "runtime/NSObject.h"
#include "runtime/TargetAction.h"

#include <gtest/gtest.h>

namespace {

class Counter : public NSObject {
    RVX_OBJECT(Counter)
public:
    int plain = 0;
    int withSender = 0;
    std::shared_ptr<NSObject> lastSender;
    TargetActionList* list = nullptr;

    void tick() { ++plain; }
    void tickFrom(std::shared_ptr<NSObject> sender) { ++withSender; lastSender = sender; }
    void removeSelf(std::shared_ptr<NSObject>) { list->remove(self(), "", ~0u); ++plain; }
    std::shared_ptr<NSObject> echo(std::shared_ptr<NSObject> arg) { return arg; }
};

class LoudCounter : public Counter {
    RVX_OBJECT(LoudCounter)
public:
    std::shared_ptr<Counter> make() { return std::make_shared<Counter>(); }
};

// Counts its second phases and keeps what self() answered in it.
class Recorded : public NSObject {
    RVX_OBJECT(Recorded)
public:
    int secondPhases = 0;
    std::weak_ptr<NSObject> selfInSecondPhase;

protected:
    void didConstruct() override
    {
        NSObject::didConstruct();
        ++secondPhases;
        selfInSecondPhase = self();
    }
};

// Becomes the target of its own list in its second phase, as a cell does of its controls;
// only runtime::make can construct it.
class SelfListener : public Counter {
    RVX_OBJECT(SelfListener)
public:
    explicit SelfListener(runtime::Construction, int start = 0)
        : start(start)
    {
    }
    int start;
    TargetActionList own;
    std::vector<std::string> phases;
    long ownersInSecondPhase = 0;

protected:
    void didConstruct() override
    {
        Counter::didConstruct();
        ownersInSecondPhase = weak_from_this().use_count();
        own.add(self(), "tick", 1);
        phases.push_back("SelfListener");
    }
};

class LateListener : public SelfListener {
    RVX_OBJECT(LateListener)
public:
    explicit LateListener(runtime::Construction construction)
        : SelfListener(construction, 5)
    {
    }

protected:
    void didConstruct() override
    {
        SelfListener::didConstruct();
        phases.push_back("LateListener");
    }
};

static_assert(!std::is_default_constructible_v<SelfListener> && !std::is_constructible_v<SelfListener, int>,
    "a class taking a Construction cannot be made around runtime::make");

} // namespace

RVX_DEFINE_CLASS(Recorded, NSObject)
RVX_DEFINE_CLASS(SelfListener, Counter)
RVX_DEFINE_CLASS(LateListener, SelfListener)

RVX_DEFINE_CLASS(Counter, NSObject,
    cls.addMethod("tick", runtime::method(&Counter::tick));
    cls.addMethod("tickFrom:", runtime::method(&Counter::tickFrom));
    cls.addMethod("removeSelf:", runtime::method(&Counter::removeSelf));
    cls.addMethod("echo:", runtime::method(&Counter::echo));
    cls.addClassMethod("sharedInstance", [](const id&) -> id {
        static id shared = std::make_shared<Counter>();
        return shared;
    }))

RVX_DEFINE_CLASS(LoudCounter, Counter,
    cls.addMethod("make", runtime::method(&LoudCounter::make)))

TEST(ClassRegistry, FindsClassesByNameAndMakesInstances)
{
    const Class* cls = objc_getClass("LoudCounter");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->superclass(), &Counter::classObject());
    EXPECT_EQ(objc_getClass("NoSuchClass"), nullptr);

    id object = cls->createInstance();
    ASSERT_TRUE(object);
    EXPECT_EQ(object->className(), "LoudCounter");
    EXPECT_TRUE(object->isKindOfClass(Counter::classObject()));
    EXPECT_TRUE(object->isKindOfClass(NSObject::classObject()));
    EXPECT_FALSE(std::make_shared<Counter>()->isKindOfClass(LoudCounter::classObject()));
}

TEST(ClassRegistry, RegisteringANameTwiceKeepsTheFirstClass)
{
    Class& again = runtime::registerClass("Counter", &NSObject::classObject(), nullptr);
    EXPECT_EQ(&again, &Counter::classObject());
    EXPECT_TRUE(again.createInstance());
}

TEST(TwoPhaseConstruction, MakeRunsTheSecondPhaseOnceWithTheObjectAlreadyShared)
{
    auto recorded = runtime::make<Recorded>();
    EXPECT_EQ(recorded->secondPhases, 1);
    EXPECT_EQ(recorded->selfInSecondPhase.lock(), recorded);

    auto listener = runtime::make<SelfListener>(3);
    EXPECT_EQ(listener->start, 3);
    EXPECT_EQ(listener->phases, std::vector<std::string> {"SelfListener"});
    EXPECT_EQ(listener->ownersInSecondPhase, 1);
    listener->own.send(1, *listener); // the target it added for itself is itself
    EXPECT_EQ(listener->plain, 1);

    // Each class's part runs once, the base's first.
    auto late = runtime::make<LateListener>();
    EXPECT_EQ(late->phases, (std::vector<std::string> {"SelfListener", "LateListener"}));
    EXPECT_EQ(late->start, 5);
}

TEST(TwoPhaseConstruction, ClassesMadeByNameRunTheirSecondPhaseToo)
{
    auto recorded = std::dynamic_pointer_cast<Recorded>(objc_getClass("Recorded")->createInstance());
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->secondPhases, 1);
    EXPECT_EQ(recorded->selfInSecondPhase.lock(), recorded);

    auto late = std::dynamic_pointer_cast<LateListener>(objc_getClass("LateListener")->createInstance());
    ASSERT_TRUE(late);
    EXPECT_EQ(late->phases, (std::vector<std::string> {"SelfListener", "LateListener"}));
    late->own.send(1, *late);
    EXPECT_EQ(late->plain, 1);
}

TEST(Selectors, RespondAndPerformThroughTheSuperclassChain)
{
    auto loud = std::make_shared<LoudCounter>();
    EXPECT_TRUE(loud->respondsToSelector("tick"));
    EXPECT_TRUE(loud->respondsToSelector("make"));
    EXPECT_FALSE(loud->respondsToSelector("tock"));
    EXPECT_FALSE(std::make_shared<Counter>()->respondsToSelector("make"));

    loud->performSelector("tick");
    EXPECT_EQ(loud->plain, 1);
    EXPECT_EQ(loud->performSelector("tock"), nullptr);

    id made = loud->performSelector("make");
    EXPECT_EQ(made->className(), "Counter");
    EXPECT_EQ(loud->performSelector("echo:", made), made);
}

TEST(Selectors, AnArgumentOfAnotherClassArrivesAsNothing)
{
    auto counter = std::make_shared<Counter>();
    counter->performSelector("tickFrom:", std::make_shared<NSObject>());
    EXPECT_EQ(counter->withSender, 1);
    EXPECT_TRUE(counter->lastSender); // NSObject parameter takes anything

    EXPECT_EQ(counter->performSelector("echo:", nullptr), nullptr);
}

TEST(Selectors, ClassMethodsAnswerByName)
{
    const Class* cls = objc_getClass("LoudCounter");
    EXPECT_TRUE(cls->respondsToSelector("sharedInstance"));
    EXPECT_FALSE(cls->respondsToSelector("tick"));
    id shared = cls->performSelector("sharedInstance");
    EXPECT_EQ(shared, cls->performSelector("sharedInstance"));
    EXPECT_EQ(cls->performSelector("missing"), nullptr);
}

TEST(TargetAction, SendsByMaskInOrderWithTheSender)
{
    auto target = std::make_shared<Counter>();
    auto sender = std::make_shared<NSObject>();
    TargetActionList list;
    list.add(target, "tick", 1 << 6);
    list.add(target, "tickFrom:", 1 << 6 | 1 << 7);

    list.send(1 << 0, *sender);
    EXPECT_EQ(target->plain + target->withSender, 0);
    list.send(1 << 6, *sender);
    EXPECT_EQ(target->plain, 1);
    EXPECT_EQ(target->withSender, 1);
    EXPECT_EQ(target->lastSender, sender);
    list.send(1 << 7, *sender);
    EXPECT_EQ(target->plain, 1);
    EXPECT_EQ(target->withSender, 2);
}

TEST(TargetAction, AddingTwiceMergesAndRemovingOneEventKeepsTheOthers)
{
    auto target = std::make_shared<Counter>();
    TargetActionList list;
    list.add(target, "tick", 1);
    list.add(target, "tick", 2);
    EXPECT_EQ(list.actionsForTarget(target, 3).size(), 1u);

    list.remove(target, "tick", 1);
    EXPECT_TRUE(list.actionsForTarget(target, 1).empty());
    EXPECT_EQ(list.actionsForTarget(target, 2).size(), 1u);

    list.add(target, "tickFrom:", 2);
    list.remove(target, "", 2); // every action of the target
    EXPECT_TRUE(list.empty());
}

TEST(TargetAction, ACallbackThatRemovesItsOwnTargetDoesNotDisturbTheSend)
{
    auto first = std::make_shared<Counter>();
    auto second = std::make_shared<Counter>();
    auto sender = std::make_shared<NSObject>();
    TargetActionList list;
    first->list = &list;
    list.add(first, "removeSelf:", 1);
    list.add(second, "tick", 1);

    list.send(1, *sender);
    EXPECT_EQ(first->plain, 1);
    EXPECT_EQ(second->plain, 1);
    list.send(1, *sender);
    EXPECT_EQ(first->plain, 1);
    EXPECT_EQ(second->plain, 2);
}

TEST(TargetAction, TargetsAreHeldWeakly)
{
    auto sender = std::make_shared<NSObject>();
    auto kept = std::make_shared<Counter>();
    std::weak_ptr<Counter> gone;
    TargetActionList list;
    {
        auto target = std::make_shared<Counter>();
        gone = target;
        list.add(target, "tick", 1);
        list.add(kept, "tick", 1);
    }
    EXPECT_TRUE(gone.expired()); // the list does not keep its targets alive
    list.send(1, *sender);        // the one gone is passed over, the one alive still hears
    EXPECT_EQ(kept->plain, 1);
}
