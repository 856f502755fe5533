#pragma once

// A check of every text a screen draws, over its view tree: each visible label, and each
// button's title (a label the button draws itself).
//
//   cut         the text needs more room than its frame gives and the label neither wraps
//               it into the frame nor truncates it with an ellipsis: the frame's edge cuts
//               the glyphs, or the text runs over what lies beside
//   unreadable  the text's colour is the colour it is drawn on (the label's own background,
//               or the nearest ancestor's that is not clear)
//   covered     a sibling label drawn after it, with an opaque background, lies over the text
//               (a bar's title over its back button, a cell's detail over its title)

#include "ui/UIView.h"

#include <string>
#include <vector>

namespace gallery {

struct LabelProblem {
    enum Kind { Cut, Unreadable, Covered };
    Kind kind;
    std::string text;  // the text drawn
    std::string where; // "UILabel in UINavigationController's bar at (60, 0) 200 x 44"
    std::string why;   // "needs 212 x 21 points"
};

std::vector<LabelProblem> checkLabels(const UIView& root);
// "cut", "unreadable" or "covered".
const char* kindName(LabelProblem::Kind kind);
// One line naming the offender.
std::string describe(const LabelProblem& problem);

} // namespace gallery
