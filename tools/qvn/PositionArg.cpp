// The FEN argument shared by the position commands.
#include "tools/qvn/PositionArg.h"

#include "board/core/Playable.h"

#include <iostream>

namespace qvn {

bool LoadPlayableFen(qv::BoardModel& board, const std::string& fen, const std::string& command) {
    std::string error;
    if (!board.SetFen(fen, &error)) {
        std::cerr << "qvn " << command << ": " << error << "\n";
        return false;
    }
    if (const auto why = qv::WhyNotPlayable(board.State())) {
        std::cerr << "qvn " << command << ": position cannot be played: " << *why << "\n";
        return false;
    }
    return true;
}

} // namespace qvn
