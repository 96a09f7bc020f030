// Perft through PlayMove and MoveBack, so it exercises every rule of the board.
#include "board/core/Perft.h"

namespace qv {

namespace {

long long PlayAndCount(BoardModel& board, Square from, Square to, char promo, int depth) {
    const char saved = board.PromotionPiece;
    if (promo) board.PromotionPiece = promo;
    long long n = 0;
    if (board.PlayMove(from, to)) {
        n = Perft(board, depth - 1);
        board.MoveBack();
    }
    board.PromotionPiece = saved;
    return n;
}

} // namespace

long long Perft(BoardModel& board, int depth) {
    if (depth <= 0) return 1;
    long long total = 0;
    if (depth == 1) {
        ForEachLegalMove(board, [&](Square, Square, char) { ++total; });
        return total;
    }
    ForEachLegalMove(board, [&](Square from, Square to, char promo) {
        total += PlayAndCount(board, from, to, promo, depth);
    });
    return total;
}

std::vector<std::pair<std::string, long long>> PerftDivide(BoardModel& board, int depth) {
    std::vector<std::pair<std::string, long long>> out;
    if (depth <= 0) return out;
    ForEachLegalMove(board, [&](Square from, Square to, char promo) {
        std::string name = SquareName(from) + SquareName(to);
        if (promo) name += promo;
        out.emplace_back(name, PlayAndCount(board, from, to, promo, depth));
    });
    return out;
}

} // namespace qv
