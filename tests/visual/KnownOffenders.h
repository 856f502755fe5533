#pragma once

// The labels the check below is known to find at fault, each by screen, kind and text. The
// list is empty: every screen reads. An entry belongs here only while a fault is known and
// being mended; one that no longer happens fails the check too, so the list never goes stale.

#include "LabelCheck.h"

#include <string_view>
#include <vector>

struct KnownOffender {
    std::string_view screen;
    gallery::LabelProblem::Kind kind;
    std::string_view text;
};

inline constexpr auto Cut = gallery::LabelProblem::Cut;
inline constexpr auto Unreadable = gallery::LabelProblem::Unreadable;
inline constexpr auto Covered = gallery::LabelProblem::Covered;

inline const std::vector<KnownOffender> kKnownOffenders = {};
