// Perft through PlayMove and MoveBack, so it exercises every rule of the board.
#include "board/core/Perft.h"

namespace qv {

namespace {

long long PlayAndCount(BoardModel& board, Square from, Square to, char promo, int depth,
                       PerftBudget* budget) {
    const char saved = board.PromotionPiece;
    if (promo) board.PromotionPiece = promo;
    long long n = 0;
    if (board.PlayMove(from, to)) {
        n = Perft(board, depth - 1, budget);
        board.MoveBack();
    }
    board.PromotionPiece = saved;
    return n;
}

} // namespace

long long Perft(BoardModel& board, int depth, PerftBudget* budget) {
    if (depth <= 0) return 1;
    if (budget && !budget->Spend(1)) return 0;
    long long total = 0;
    if (depth == 1) {
        ForEachLegalMove(board, [&](Square, Square, char) { ++total; });
        if (budget) budget->Spend(total);
        return total;
    }
    ForEachLegalMove(board, [&](Square from, Square to, char promo) {
        if (budget && budget->Exhausted()) return;
        total += PlayAndCount(board, from, to, promo, depth, budget);
    });
    return total;
}

std::vector<std::pair<std::string, long long>> PerftDivide(BoardModel& board, int depth,
                                                           PerftBudget* budget) {
    std::vector<std::pair<std::string, long long>> out;
    if (depth <= 0) return out;
    ForEachLegalMove(board, [&](Square from, Square to, char promo) {
        if (budget && budget->Exhausted()) return;
        std::string name = SquareName(from) + SquareName(to);
        if (promo) name += promo;
        out.emplace_back(name, PlayAndCount(board, from, to, promo, depth, budget));
    });
    return out;
}

} // namespace qv
