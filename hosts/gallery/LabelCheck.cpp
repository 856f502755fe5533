#include "LabelCheck.h"

#include "ui/UIButton.h"
#include "ui/UILabel.h"

#include <cmath>
#include <cstdio>

namespace gallery {

namespace {

// Rounding of the measured extent is not a fault.
constexpr CGFloat kSlack = 0.5;
constexpr float kSameColour = 0.02f;

// Whether the label ends a text too long for it with an ellipsis. Line break modes as the
// platform numbers them: word wrap 0, character wrap 1, clip 2, head, tail and middle
// truncation 3 to 5. A platform without them clips every text at the frame.
template<typename Label>
bool truncates(const Label& label)
{
    if constexpr (requires { label.lineBreakMode(); })
        return int(label.lineBreakMode()) >= 3;
    else
        return false;
}

template<typename Label>
bool shrinksToFit(const Label& label)
{
    if constexpr (requires { label.adjustsFontSizeToFitWidth(); })
        return label.adjustsFontSizeToFitWidth();
    else
        return false;
}

bool shows(const UIView& view)
{
    return !view.isHidden() && view.presentationAlpha() >= 0.01;
}

// What the text is drawn on: the first background, from the view up, that is not clear; the
// window's white screen when none is.
RGBA backdrop(const UIView& view)
{
    if (view.backgroundColor() && view.backgroundColor()->paint()[3] > 0.01f)
        return view.backgroundColor()->paint();
    for (UIViewRef above = view.superview(); above; above = above->superview())
        if (above->backgroundColor() && above->backgroundColor()->paint()[3] > 0.01f)
            return above->backgroundColor()->paint();
    return { 1, 1, 1, 1 };
}

bool sameColour(const RGBA& a, const RGBA& b)
{
    for (int i = 0; i < 3; ++i)
        if (std::fabs(a[i] - b[i]) > kSameColour)
            return false;
    return true;
}

std::string number(CGFloat value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::round(double(value) * 10) / 10);
    return text;
}

std::string colourText(const RGBA& colour)
{
    auto channel = [](float value) { return std::to_string(int(std::lround(value * 255))); };
    return "(" + channel(colour[0]) + ", " + channel(colour[1]) + ", " + channel(colour[2]) + ")";
}

std::string place(const UIView& view, const std::string& kind)
{
    std::string owner;
    for (UIViewRef above = view.superview(); above && owner.empty(); above = above->superview())
        if (above->className() != "UIView")
            owner = above->className();
    CGRect frame = view.convertRectToView(view.bounds(), nullptr);
    return kind + (owner.empty() ? "" : " in " + owner) + " at (" + number(frame.origin.x) + ", "
        + number(frame.origin.y) + ") " + number(frame.size.width) + " x " + number(frame.size.height);
}

struct Drawn {
    std::string text;
    CGSize needed;
    CGSize room;
    bool cutsCleanly;
    RGBA ink;
    RGBA paper;
};

void judge(const Drawn& drawn, const UIView& view, const std::string& kind, std::vector<LabelProblem>& problems)
{
    if (drawn.text.empty() || drawn.ink[3] < 0.01f)
        return;
    bool overflows = drawn.needed.width > drawn.room.width + kSlack || drawn.needed.height > drawn.room.height + kSlack;
    if (overflows && !drawn.cutsCleanly)
        problems.push_back({ LabelProblem::Cut, drawn.text, place(view, kind),
            "needs " + number(drawn.needed.width) + " x " + number(drawn.needed.height) + " points, has "
                + number(drawn.room.width) + " x " + number(drawn.room.height) });
    if (sameColour(drawn.ink, drawn.paper))
        problems.push_back({ LabelProblem::Unreadable, drawn.text, place(view, kind),
            "text " + colourText(drawn.ink) + " on " + colourText(drawn.paper) });
}

void visit(const UIView& view, std::vector<LabelProblem>& problems)
{
    if (!shows(view))
        return;
    if (auto* label = dynamic_cast<const UILabel*>(&view)) {
        CGSize room = label->bounds().size;
        CGSize needed = label->sizeThatFits({ room.width, 1e6 });
        judge({ label->text(), needed, room, truncates(*label) || shrinksToFit(*label), label->textColor()->paint(),
                  backdrop(*label) },
            view, "label", problems);
    } else if (auto* button = dynamic_cast<const UIButton*>(&view)) {
        const UILabel& title = *button->titleLabel();
        UIColorRef ink = button->currentTitleColor();
        CGSize needed = title.font()->sizeWithText(button->currentTitle());
        if (UIImageRef image = button->imageForState(button->state()))
            needed.width += image->size().width;
        judge({ button->currentTitle(), needed, button->bounds().size, truncates(title) || shrinksToFit(title),
                  ink ? ink->paint() : RGBA { 0, 0, 0, 0 }, backdrop(*button) },
            view, "button title", problems);
    }
    for (const UIViewRef& child : view.subviews())
        visit(*child, problems);
}

} // namespace

std::vector<LabelProblem> checkLabels(const UIView& root)
{
    std::vector<LabelProblem> problems;
    visit(root, problems);
    return problems;
}

const char* kindName(LabelProblem::Kind kind)
{
    return kind == LabelProblem::Cut ? "cut" : "unreadable";
}

std::string describe(const LabelProblem& problem)
{
    return std::string(kindName(problem.kind)) + ": \"" + problem.text + "\", " + problem.where + ": " + problem.why;
}

} // namespace gallery
