// The playability test of a position.
#include "check/core/PositionCheck.h"

namespace qv::check {

std::vector<std::string> PositionFaults(const BoardState& b) {
    std::vector<std::string> faults;
    int kings[2] = {0, 0}; // by colour: 0 Black, 1 White
    for (int sq = 1; sq <= 64; ++sq) {
        const char ch = b.At(sq);
        if (ch == 'K') ++kings[WhiteColor];
        if (ch == 'k') ++kings[BlackColor];
    }
    for (int colour : {WhiteColor, BlackColor}) {
        const std::string name = colour == WhiteColor ? "White" : "Black";
        if (kings[colour] == 0) faults.push_back(name + " has no king");
        if (kings[colour] > 1)
            faults.push_back(name + " has " + std::to_string(kings[colour]) + " kings");
    }
    for (int sq = 1; sq <= 64; ++sq) {
        const char ch = b.At(sq);
        if (ch != 'P' && ch != 'p') continue;
        const int rank = RankOf(sq);
        if (rank != 1 && rank != 8) continue;
        const bool last = (ch == 'P') == (rank == 8);
        faults.push_back("a pawn stands on " + SquareName(sq) + ", the " +
                         (last ? "last" : "first") + " rank");
    }
    // The side not to move in check: its king could be taken.
    const int notToMove = b.WhiteToMove ? BlackColor : WhiteColor;
    if (kings[notToMove] == 1) {
        int king = 0;
        for (int sq = 1; sq <= 64 && !king; ++sq)
            if (b.At(sq) == (notToMove == WhiteColor ? 'K' : 'k')) king = sq;
        if (KingAttacked(b, notToMove, king, king))
            faults.push_back(std::string(notToMove == WhiteColor ? "White" : "Black") +
                             ", not to move, is in check");
    }
    return faults;
}

} // namespace qv::check
