#include "LabelCheck.h"

#include "ui/UIButton.h"
#include "ui/UILabel.h"
#include "ui/TextLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace gallery {

namespace {

// Rounding of the measured extent is not a fault.
constexpr CGFloat kSlack = 0.5;
constexpr float kSameColour = 0.02f;
// A hairline (a separator) over the text hides nothing that matters.
constexpr CGFloat kCoverSlack = 2;

// Whether the label ends a text too long for it with an ellipsis. Line break modes as the
// platform numbers them: word wrap 0, character wrap 1, clip 2, head, tail and middle
// truncation 3 to 5.
bool truncates(const UILabel& label)
{
    return label.lineBreakMode() >= UILineBreakModeHeadTruncation;
}

bool shrinksToFit(const UILabel& label)
{
    return label.adjustsFontSizeToFitWidth();
}

bool shows(const UIView& view)
{
    return !view.isHidden() && view.presentationAlpha() >= 0.01;
}

// What the text is drawn on: the first background, from the view up, that is not clear; the
// window's white screen when none is.
RGBA backdrop(const UIView& view)
{
    if (UIColorRef ground = view.groundColor(); ground && ground->paint()[3] > 0.01f)
        return ground->paint();
    for (UIViewRef above = view.superview(); above; above = above->superview())
        if (UIColorRef ground = above->groundColor(); ground && ground->paint()[3] > 0.01f)
            return ground->paint();
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
    CGRect textRect;
};

// Where the text lies in the superview's space: as wide as it needs (at most the frame),
// placed by its alignment, centred vertically as the platform draws one line.
CGRect textArea(const UIView& view, CGSize needed, int alignment)
{
    CGRect frame = view.frame();
    CGFloat width = std::min(needed.width, frame.size.width), height = std::min(needed.height, frame.size.height);
    CGFloat x = alignment == UITextAlignmentCenter ? (frame.size.width - width) / 2
        : alignment == UITextAlignmentRight        ? frame.size.width - width
                                                   : 0;
    return CGRectMake(frame.origin.x + x, frame.origin.y + (frame.size.height - height) / 2, width, height);
}

using Siblings = std::vector<UIViewRef>;

// The first later sibling label, drawn over the text, whose opaque background hides part of it.
const UIView* cover(CGRect text, const Siblings& later)
{
    for (const UIViewRef& sibling : later) {
        // Only a label's own box over its neighbours' text is a fault; a view laid over a
        // pane on purpose (an overlay, a picker) covers what it means to.
        if (!dynamic_cast<const UILabel*>(sibling.get()) || !shows(*sibling) || !sibling->backgroundColor()
            || sibling->backgroundColor()->paint()[3] < 0.99f)
            continue;
        CGRect shared = CGRectIntersection(text, sibling->frame());
        if (!CGRectIsEmpty(shared) && shared.size.width > kCoverSlack && shared.size.height > kCoverSlack)
            return sibling.get();
    }
    return nullptr;
}

void judge(const Drawn& drawn, const UIView& view, const std::string& kind, const Siblings& later,
    std::vector<LabelProblem>& problems)
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
    if (const UIView* over = cover(drawn.textRect, later)) {
        auto* label = dynamic_cast<const UILabel*>(over);
        problems.push_back({ LabelProblem::Covered, drawn.text, place(view, kind),
            "under the opaque " + place(*over, over->className()) + (label ? " \"" + label->text() + "\"" : "") });
    }
}

void visit(const UIView& view, const Siblings& later, std::vector<LabelProblem>& problems)
{
    if (!shows(view))
        return;
    if (auto* label = dynamic_cast<const UILabel*>(&view)) {
        CGSize room = label->bounds().size;
        CGSize needed = label->sizeThatFits({ room.width, 1e6 });
        judge({ label->text(), needed, room, truncates(*label) || shrinksToFit(*label), label->textColor()->paint(),
                  backdrop(*label), textArea(view, needed, label->textAlignment()) },
            view, "label", later, problems);
    } else if (auto* button = dynamic_cast<const UIButton*>(&view)) {
        const UILabel& title = *button->titleLabel();
        UIColorRef ink = button->currentTitleColor();
        CGSize needed = NSString_UIStringDrawing::sizeWithFont(button->currentTitle(), title.font());
        if (UIImageRef image = button->imageForState(button->state()))
            needed.width += image->size().width;
        judge({ button->currentTitle(), needed, button->bounds().size, truncates(title) || shrinksToFit(title),
                  ink ? ink->paint() : RGBA { 0, 0, 0, 0 }, backdrop(*button), textArea(view, needed, UITextAlignmentCenter) },
            view, "button title", later, problems);
    }
    const Siblings& children = view.subviews();
    for (size_t i = 0; i < children.size(); ++i)
        visit(*children[i], Siblings(children.begin() + long(i) + 1, children.end()), problems);
}

} // namespace

std::vector<LabelProblem> checkLabels(const UIView& root)
{
    std::vector<LabelProblem> problems;
    visit(root, {}, problems);
    return problems;
}

const char* kindName(LabelProblem::Kind kind)
{
    switch (kind) {
    case LabelProblem::Cut: return "cut";
    case LabelProblem::Unreadable: return "unreadable";
    case LabelProblem::Covered: return "covered";
    }
    return "?";
}

std::string describe(const LabelProblem& problem)
{
    return std::string(kindName(problem.kind)) + ": \"" + problem.text + "\", " + problem.where + ": " + problem.why;
}

} // namespace gallery
