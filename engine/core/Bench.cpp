// The bench positions and the search of one of them.
#include "engine/core/Bench.h"

#include "board/core/BoardModel.h"
#include "engine/core/Searcher.h"

#include <atomic>
#include <iterator>
#include <memory>

namespace qv::engine {

namespace {

constexpr BenchPosition Positions[] = {
    {"openings", "start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4},
    {"openings", "open game", "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
     4},
    {"openings", "queen's gambit",
     "rnbqkb1r/ppp2ppp/4pn2/3p4/2PP4/2N5/PP2PPPP/R1BQKBNR w KQkq - 2 4", 4},
    {"middle games", "kiwipete",
     "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3},
    {"middle games", "queen attack",
     "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 3},
    {"middle games", "italian",
     "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3},
    {"middle games", "knight sac", "2rr3k/pp3pp1/1nnqbN1p/3pN3/2pP4/2P3Q1/PPB4P/R4RK1 w - - 0 1",
     3},
    {"middle games", "open king", "r1b1kb1r/3q1ppp/pBp1pn2/8/Np3P2/5B2/PPP3PP/R2Q1RK1 w kq - 0 1",
     3},
    {"middle games", "promotion race", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
     3},
    {"endgames", "rook and pawns", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5},
    {"endgames", "blocked pawns", "8/k7/3p4/p2P1p2/P2P1P2/8/8/K7 w - - 0 1", 6},
    {"endgames", "king and pawn", "8/8/4k3/8/2P5/8/4K3/8 w - - 0 1", 6},
};

} // namespace

std::span<const BenchPosition> BenchPositions() {
    return {Positions, std::size(Positions)};
}

BenchResult RunBenchPosition(const BenchPosition& position, int depth) {
    BenchResult result;
    result.Depth = depth > 0 ? depth : position.Depth;
    BoardModel board;
    if (!board.SetFen(position.Fen)) return result;
    auto searcher = std::make_unique<Searcher>();
    const std::atomic<bool> stop{false};
    SearchStats stats;
    const SearchResult found = searcher->RunSearch(board.State(), result.Depth, stop, &stats);
    result.Found = found.Found;
    result.Move = found.Move;
    result.Nodes = stats.Nodes;
    result.Milliseconds = stats.Milliseconds;
    return result;
}

} // namespace qv::engine
