// Perft through the board's own rules: PlayMove forward, MoveBack to return.
#pragma once

#include "board/core/BoardModel.h"
#include "board/core/PerftBudget.h"

#include <string>
#include <utility>
#include <vector>

namespace qv {

// Calls fn(from, to, promotion) for every legal move of the side to move, in
// origin-major square order; a pawn move to the last rank is reported once for
// each promotion letter q, r, b, n (promotion is 0 for other moves).
template <typename Fn> void ForEachLegalMove(const BoardModel& board, Fn&& fn) {
    if (board.ThreefoldRepetition()) return;
    LegalMoveList moves;
    const int n = GenerateLegalMoves(board.State(), moves);
    for (int i = 0; i < n; ++i) {
        const SimpleMove m = moves[i];
        const char piece = board.State().Squares[m.From];
        if ((piece == 'P' || piece == 'p') && (RankOf(m.To) == 8 || RankOf(m.To) == 1)) {
            for (char promo : {'q', 'r', 'b', 'n'}) fn(m.From, m.To, promo);
        } else {
            fn(m.From, m.To, '\0');
        }
    }
}

// Number of leaf positions at the given depth (1 at depth 0). With a budget the count
// stops early once it is exhausted; the result is then incomplete.
long long Perft(BoardModel& board, int depth, PerftBudget* budget = nullptr);

// Each first move ("e2e4", "e7e8q") with its count, in generation order; empty at depth 0.
// With an exhausted budget the list ends at the move whose count was cut short.
std::vector<std::pair<std::string, long long>> PerftDivide(BoardModel& board, int depth,
                                                           PerftBudget* budget = nullptr);

} // namespace qv
