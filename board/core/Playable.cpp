// The playability check: kings, the side not to move, pawns on the edge ranks.
#include "board/core/Playable.h"

namespace qv {

std::optional<std::string> WhyNotPlayable(const BoardState& b) {
    int kings[2] = {0, 0}; // indexed by colour: 0 Black, 1 White
    for (int sq = 1; sq <= 64; ++sq) {
        const char c = b.Squares[sq];
        if (c == 'K') ++kings[WhiteColor];
        if (c == 'k') ++kings[BlackColor];
    }
    for (int colour : {WhiteColor, BlackColor}) {
        const char* name = colour == WhiteColor ? "White" : "Black";
        if (kings[colour] == 0) return std::string(name) + " has no king";
        if (kings[colour] > 1)
            return std::string(name) + " has " + std::to_string(kings[colour]) + " kings";
    }
    const int waiting = b.WhiteToMove ? BlackColor : WhiteColor;
    if (KingAttacked(b, waiting, None, None))
        return std::string(waiting == WhiteColor ? "White" : "Black") +
               ", not to move, is in check";
    for (int sq = 1; sq <= 64; ++sq) {
        const char c = b.Squares[sq];
        if ((c == 'P' || c == 'p') && (RankOf(sq) == 1 || RankOf(sq) == 8))
            return std::string("a pawn stands on ") + SquareName(sq) + ", the " +
                   (RankOf(sq) == 1 ? "first" : "last") + " rank";
    }
    return std::nullopt;
}

} // namespace qv
