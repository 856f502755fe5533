#include "corefoundation/CFRunLoop.h"
#include "ui/UIButton.h"
#include "ui/UIImageView.h"
#include "ui/UIWindow.h"

#include <gtest/gtest.h>

namespace {

UIWindowRef makeWindow() { return std::make_shared<UIWindow>(CGRectMake(0, 0, 320, 480)); }

} // namespace

TEST(ViewHierarchy, OrderMovesAndWeakSuperview)
{
    auto root = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    auto a = std::make_shared<UIView>(), b = std::make_shared<UIView>(), c = std::make_shared<UIView>();
    root->addSubview(a);
    root->addSubview(b);
    root->insertSubview(c, 0);
    EXPECT_EQ(root->subviews(), (std::vector<UIViewRef> {c, a, b}));
    root->bringSubviewToFront(c);
    EXPECT_EQ(root->subviews(), (std::vector<UIViewRef> {a, b, c}));
    root->addSubview(a); // re-adding moves to the front, never duplicates
    EXPECT_EQ(root->subviews(), (std::vector<UIViewRef> {b, c, a}));
    auto other = std::make_shared<UIView>();
    other->addSubview(b);
    EXPECT_EQ(root->subviews(), (std::vector<UIViewRef> {c, a}));
    EXPECT_EQ(b->superview(), other);
    a->addSubview(root); // a cycle is refused
    EXPECT_TRUE(a->subviews().empty());

    std::weak_ptr<UIView> weakC = c;
    c->removeFromSuperview();
    EXPECT_EQ(c->superview(), nullptr);
    c.reset();
    EXPECT_TRUE(weakC.expired());

    std::weak_ptr<UIView> weakRoot = root;
    root.reset();
    EXPECT_TRUE(weakRoot.expired());
    EXPECT_EQ(a->superview(), nullptr);
}

TEST(ViewHierarchy, ClassNamesComeFromTheRuntime)
{
    EXPECT_EQ(std::make_shared<UIView>()->className(), "UIView");
    EXPECT_EQ(UIButton::buttonWithType(0)->className(), "UIButton");
    EXPECT_EQ(std::make_shared<UIImageView>()->className(), "UIImageView");
    EXPECT_NE(objc_getClass("UIWindow"), nullptr);
    EXPECT_TRUE(UIButton::buttonWithType(0)->isKindOfClass(UIView::classObject()));
}

TEST(ViewGeometry, ConvertPointsAndFindWindow)
{
    auto window = makeWindow();
    auto outer = std::make_shared<UIView>(CGRectMake(10, 20, 200, 200));
    auto inner = std::make_shared<UIView>(CGRectMake(5, 5, 50, 50));
    window->addSubview(outer);
    outer->addSubview(inner);
    EXPECT_EQ(inner->window(), window);
    EXPECT_EQ(inner->convertPoint({1, 2}, window), (CGPoint {16, 27}));
    EXPECT_EQ(inner->convertPointToView({1, 2}, nullptr), (CGPoint {16, 27}));
    EXPECT_EQ(inner->convertPointFromView({16, 27}, window.get()), (CGPoint {1, 2}));
    EXPECT_EQ(outer->convertPointToView({0, 0}, inner.get()), (CGPoint {-5, -5}));
    EXPECT_EQ(std::make_shared<UIView>()->window(), nullptr);

    inner->setCenter({100, 100});
    EXPECT_EQ(inner->frame(), CGRectMake(75, 75, 50, 50));
    inner->setBounds(CGRectMake(0, 0, 10, 20));
    EXPECT_EQ(inner->frame(), CGRectMake(95, 90, 10, 20));
}

TEST(ViewGeometry, FlexibleWidthFollowsTheSuperview)
{
    auto root = std::make_shared<UIView>(CGRectMake(0, 0, 316, 35));
    auto flexible = std::make_shared<UIView>(CGRectMake(2, 0, 312, 35));
    flexible->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    auto fixed = std::make_shared<UIView>(CGRectMake(280, 2, 30, 30));
    auto pinnedRight = std::make_shared<UIView>(CGRectMake(280, 2, 30, 30));
    pinnedRight->setAutoresizingMask(UIViewAutoresizingFlexibleLeftMargin);
    root->addSubview(flexible);
    root->addSubview(fixed);
    root->addSubview(pinnedRight);
    auto nested = std::make_shared<UIView>(CGRectMake(0, 0, 312, 10));
    nested->setAutoresizingMask(UIViewAutoresizingFlexibleWidth);
    flexible->addSubview(nested);

    root->setFrame(CGRectMake(0, 0, 476, 35));
    EXPECT_EQ(flexible->frame(), CGRectMake(2, 0, 472, 35));
    EXPECT_EQ(nested->frame(), CGRectMake(0, 0, 472, 10));
    EXPECT_EQ(fixed->frame(), CGRectMake(280, 2, 30, 30));
    EXPECT_EQ(pinnedRight->frame(), CGRectMake(440, 2, 30, 30));
    root->setFrame(CGRectMake(0, 0, 476, 50)); // height alone leaves widths be
    EXPECT_EQ(flexible->frame(), CGRectMake(2, 0, 472, 35));
}

TEST(HitTest, FrontMostDeepestVisibleInteractive)
{
    auto window = makeWindow();
    auto row = std::make_shared<UIView>(CGRectMake(0, 100, 316, 35));
    window->addSubview(row);
    auto bar = UIButton::buttonWithType(0);
    bar->setFrame(CGRectMake(0, 0, 316, 35));
    auto info = UIButton::buttonWithType(3);
    info->setFrame(CGRectMake(280, 2.5f, 30, 30));
    row->addSubview(bar);
    row->addSubview(info);

    EXPECT_EQ(window->hitTest({290, 110}, nullptr), info); // the info button lies over the bar
    EXPECT_EQ(window->hitTest({100, 110}, nullptr), bar);
    EXPECT_EQ(window->hitTest({310, 110}, nullptr), bar); // half-open: x 310 is outside the info button
    EXPECT_EQ(window->hitTest({100, 135}, nullptr), window); // below the row
    EXPECT_EQ(window->hitTest({-1, 0}, nullptr), nullptr);

    info->setHidden(true);
    EXPECT_EQ(window->hitTest({290, 110}, nullptr), bar);
    info->setHidden(false);
    info->setAlpha(0.005f);
    EXPECT_EQ(window->hitTest({290, 110}, nullptr), bar);
    info->setAlpha(0.01f);
    EXPECT_EQ(window->hitTest({290, 110}, nullptr), info);
    info->setUserInteractionEnabled(false);
    EXPECT_EQ(window->hitTest({290, 110}, nullptr), bar);
    row->setUserInteractionEnabled(false); // a skipped view hides its subviews too
    EXPECT_EQ(window->hitTest({100, 110}, nullptr), window);

    // Image views do not take touches; a background image never shadows the bar.
    row->setUserInteractionEnabled(true);
    auto background = std::make_shared<UIImageView>(CGRectMake(0, 0, 316, 35));
    row->addSubview(background);
    EXPECT_EQ(window->hitTest({100, 110}, nullptr), bar);
}

TEST(Animation, ModelAtOnceRenderedValuesFollowCompletionLater)
{
    auto clock = RunLoop::main().installVirtualClock(100);
    auto view = std::make_shared<UIView>(CGRectMake(0, 0, 100, 100));
    view->setAlpha(0);
    int completions = 0;
    UIView::animateWithDuration(0.25, [&] {
        view->setAlpha(1);
        view->setFrame(CGRectMake(100, 0, 100, 100));
    }, [&](bool finished) { completions += finished; });
    EXPECT_FLOAT_EQ(view->alpha(), 1);
    EXPECT_EQ(view->frame(), CGRectMake(100, 0, 100, 100));
    EXPECT_EQ(completions, 0); // never inside the call
    EXPECT_FLOAT_EQ(view->presentationAlpha(), 0);

    clock->advance(0.125);
    EXPECT_NEAR(view->presentationAlpha(), 0.5, 1e-4);
    EXPECT_NEAR(view->presentationFrame().origin.x, 50, 1e-3);
    EXPECT_EQ(completions, 0);
    clock->advance(0.125);
    EXPECT_EQ(completions, 1);
    EXPECT_FLOAT_EQ(view->presentationAlpha(), 1);
    EXPECT_EQ(view->presentationFrame(), view->frame());

    // A zero duration completes at the next turn of the loop, not inside the call.
    UIView::animateWithDuration(0, [&] { view->setAlpha(0.5f); }, [&](bool) { ++completions; });
    EXPECT_EQ(completions, 1);
    EXPECT_FLOAT_EQ(view->presentationAlpha(), 0.5f);
    RunLoop::main().runOnce(0);
    EXPECT_EQ(completions, 2);

    // Outside a block nothing animates.
    view->setAlpha(0.2f);
    EXPECT_FLOAT_EQ(view->presentationAlpha(), 0.2f);
    RunLoop::main().installSystemClock();
}
