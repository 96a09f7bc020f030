// Reading the FEN argument of a command: a malformed text or a position that cannot
// be played is reported on standard error as "qvn NAME: REASON".
#pragma once

#include "board/core/BoardModel.h"

#include <string>

namespace qvn {

// Sets up the board from fen. On failure prints the reason and returns false; the
// command then exits with ExitFailure.
bool LoadPlayableFen(qv::BoardModel& board, const std::string& fen, const std::string& command);

} // namespace qvn
