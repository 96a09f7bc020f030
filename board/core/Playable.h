// Whether a position can be played at all: the rules, the engine and the solvers
// assume one king per side, a side not to move that is not in check and no pawn on
// the first or last rank. The board itself accepts any position; callers that judge
// positions (qvn legal, perft, search ...) ask here first.
#pragma once

#include "board/core/Rules.h"

#include <optional>
#include <string>

namespace qv {

// Nothing when the position is playable, otherwise the first reason it is not, in
// words ("White has 2 kings", "Black, not to move, is in check", "a pawn stands on
// e8, the last rank").
std::optional<std::string> WhyNotPlayable(const BoardState& b);

} // namespace qv
