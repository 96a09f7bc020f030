// Whether a position can be played at all, with every reason when it cannot.
#pragma once

#include "board/core/Rules.h"

#include <string>
#include <vector>

namespace qv::check {

// The reasons, in words, that a position cannot be played: not exactly one king per
// side ("White has 2 kings", "Black has no king"), a pawn on the first or last rank
// ("a pawn stands on e8, the last rank"), the side not to move in check ("Black, not to
// move, is in check"). Empty when the position is playable.
std::vector<std::string> PositionFaults(const BoardState& b);

} // namespace qv::check
