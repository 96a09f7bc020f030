// Leaf counts through the search's own generator, for checking it against reference counts.
#include "engine/core/Searcher.h"

namespace qv::engine {

long long Searcher::Perft(int depth, PerftBudget* budget) {
    if (depth <= 0) return 1;
    if (AtLimit()) return 0; // deeper than the per-ply tables or the move stack allow
    if (budget && !budget->Spend(1)) return 0;
    GenerateAllMoves();
    const int begin = ListBegin(), end = ListEnd();
    long long total = 0;
    for (int i = begin; i < end && !(budget && budget->Exhausted()); ++i) {
        if (!PlaySearchMove(ListMove(i))) continue;
        total += depth == 1 ? 1 : Perft(depth - 1, budget);
        UndoSearchMove();
    }
    if (depth == 1 && budget) budget->Spend(total);
    return total;
}

std::vector<std::pair<MoveWord, long long>> Searcher::PerftDivide(int depth, PerftBudget* budget) {
    std::vector<std::pair<MoveWord, long long>> out;
    if (depth <= 0 || AtLimit()) return out;
    GenerateAllMoves();
    const int begin = ListBegin(), end = ListEnd();
    for (int i = begin; i < end && !(budget && budget->Exhausted()); ++i) {
        const MoveWord move = ListMove(i);
        if (!PlaySearchMove(move)) continue;
        out.emplace_back(move, depth == 1 ? 1 : Perft(depth - 1, budget));
        UndoSearchMove();
    }
    return out;
}

} // namespace qv::engine
