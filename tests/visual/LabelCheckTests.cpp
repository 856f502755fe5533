// The check of every label a screen draws: first that it finds what it is meant to find,
// then every gallery screen through it, with today's known offenders listed in one place.

#include "KnownOffenders.h"
#include "VisualSupport.h"

#include "ui/UIButton.h"
#include "ui/UILabel.h"

#include <algorithm>

namespace {

UILabelRef label(const std::string& text, CGRect frame, UIColorRef ink, UIColorRef paper)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setText(text);
    label->setTextColor(std::move(ink));
    label->setBackgroundColor(std::move(paper));
    return label;
}

std::vector<std::string> found(const UIView& root)
{
    std::vector<std::string> lines;
    for (const gallery::LabelProblem& problem : gallery::checkLabels(root))
        lines.push_back(std::string(gallery::kindName(problem.kind)) + " " + problem.text);
    return lines;
}

TEST(LabelCheck, FindsTextCutAtItsFrameAndTextOnItsOwnColour)
{
    auto view = std::make_shared<UIView>(CGRectMake(0, 0, 320, 200));
    UIView& root = *view;
    root.setBackgroundColor(UIColor::colorWithWhite(0.1, 1));
    auto clipped = label("Close When Center Opens", CGRectMake(10, 0, 60, 30), UIColor::blackColor(), UIColor::whiteColor());
    clipped->setLineBreakMode(UILineBreakModeClip);
    root.addSubview(clipped);
    // The same text truncated with an ellipsis is cut cleanly.
    root.addSubview(label("Close When Center Opens", CGRectMake(10, 170, 60, 30), UIColor::blackColor(), UIColor::whiteColor()));
    root.addSubview(label("Fits", CGRectMake(10, 40, 200, 30), UIColor::blackColor(), UIColor::whiteColor()));
    root.addSubview(label("Ruvex Pro", CGRectMake(10, 80, 200, 30), UIColor::whiteColor(), UIColor::whiteColor()));
    // Clear: the text is drawn on the dark view beneath, where white reads.
    root.addSubview(label("On dark", CGRectMake(10, 120, 200, 30), UIColor::whiteColor(), UIColor::clearColor()));
    auto hidden = label("Hidden and cut", CGRectMake(10, 160, 20, 30), UIColor::whiteColor(), UIColor::whiteColor());
    hidden->setHidden(true);
    root.addSubview(hidden);

    EXPECT_EQ(found(root), (std::vector<std::string> { "cut Close When Center Opens", "unreadable Ruvex Pro" }));
}

TEST(LabelCheck, ReadsTheBackdropThroughClearAncestorsAndChecksButtonTitles)
{
    auto view = std::make_shared<UIView>(CGRectMake(0, 0, 320, 200));
    UIView& root = *view;
    root.setBackgroundColor(UIColor::whiteColor());
    auto clear = std::make_shared<UIView>(CGRectMake(0, 0, 320, 100));
    root.addSubview(clear);
    // White on a clear label in a clear view on white: unreadable.
    clear->addSubview(label("Setti", CGRectMake(0, 0, 100, 30), UIColor::whiteColor(), nullptr));
    auto button = UIButton::buttonWithType(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 120, 40, 30));
    button->setTitle("Settings and more", UIControlStateNormal);
    button->setTitleColor(UIColor::blackColor(), UIControlStateNormal);
    button->titleLabel()->setLineBreakMode(UILineBreakModeClip);
    root.addSubview(button);

    EXPECT_EQ(found(root), (std::vector<std::string> { "unreadable Setti", "cut Settings and more" }));
    auto problems = gallery::checkLabels(root);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(gallery::describe(problems[1]).find("button title at (0, 120) 40 x 30"), std::string::npos)
        << gallery::describe(problems[1]);
}

TEST(LabelCheck, FindsTextUnderAnOpaqueSiblingDrawnAfterIt)
{
    auto view = std::make_shared<UIView>(CGRectMake(0, 0, 320, 100));
    UIView& root = *view;
    // A back button whose title the bar's opaque title label, added after it, covers.
    auto back = UIButton::buttonWithType(UIButtonTypeCustom);
    back->setFrame(CGRectMake(5, 7, 80, 30));
    back->setTitle("Settings", UIControlStateNormal);
    back->setTitleColor(UIColor::blackColor(), UIControlStateNormal);
    root.addSubview(back);
    root.addSubview(label("Ruvex Pro", CGRectMake(60, 0, 200, 44), UIColor::blackColor(), UIColor::whiteColor()));
    // Drawn before the title, and a clear sibling over it: neither covers anything.
    root.addSubview(label("Built-in", CGRectMake(200, 50, 100, 44), UIColor::blackColor(), UIColor::whiteColor()));
    root.addSubview(label("", CGRectMake(200, 50, 100, 44), UIColor::blackColor(), UIColor::clearColor()));

    EXPECT_EQ(found(root), (std::vector<std::string> { "covered Settings" }));
}

class ReadableLabels : public ScreenTest { };

TEST_P(ReadableLabels, NoLabelIsCutOrDrawnInItsBackgroundsColour)
{
    std::vector<gallery::LabelProblem> problems = gallery::checkLabels(*stage().window(screen().host));
    std::vector<const KnownOffender*> known;
    for (const KnownOffender& offender : kKnownOffenders)
        if (offender.screen == screen().name)
            known.push_back(&offender);

    std::string unexpected, gone;
    for (const gallery::LabelProblem& problem : problems) {
        auto it = std::find_if(known.begin(), known.end(),
            [&](const KnownOffender* offender) { return offender->kind == problem.kind && offender->text == problem.text; });
        if (it == known.end())
            unexpected += "\n  " + gallery::describe(problem);
    }
    for (const KnownOffender* offender : known) {
        bool seen = std::any_of(problems.begin(), problems.end(),
            [&](const gallery::LabelProblem& problem) { return offender->kind == problem.kind && offender->text == problem.text; });
        if (!seen)
            gone += "\n  " + std::string(gallery::kindName(offender->kind)) + ": \"" + std::string(offender->text) + "\"";
    }
    EXPECT_TRUE(unexpected.empty()) << screen().name << ": labels at fault:" << unexpected;
    EXPECT_TRUE(gone.empty()) << screen().name << ": known offenders no longer found (take them off the list in "
                              << "tests/visual/KnownOffenders.h):" << gone;
}

INSTANTIATE_TEST_SUITE_P(Gallery, ReadableLabels, ::testing::ValuesIn(everyScreen()), screenTestName);

} // namespace
