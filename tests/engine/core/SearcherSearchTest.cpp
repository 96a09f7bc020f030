// The search: mates at the shortest distance, the tie rule, positions without a move,
// stopping, and a fixed node count that changes only when the search does.
#include "engine/core/Bench.h"
#include "tests/engine/core/EngineTestUtil.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace qv::engine::test {
namespace {

SearchResult Search(const char* fen, int depth, SearchStats* stats = nullptr) {
    auto s = std::make_unique<Searcher>();
    const std::atomic<bool> stop{false};
    return s->RunSearch(FromFen(fen), depth, stop, stats);
}

TEST(SearcherSearch, FindsMatesAndPrefersTheNearest) {
    // Mate in one at depth 1: the quiescence search sees that Black has no evasion.
    SearchResult r = Search("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1", 1);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "a1a8");
    EXPECT_EQ(r.From, A1);
    EXPECT_EQ(r.To, A8);
    EXPECT_EQ(r.Score, 10000 - 1);
    // Mate in two at depth 3: Rd8+ Rxd8 Rxd8#.
    r = Search("2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1", 3);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "d2d8");
    EXPECT_EQ(r.Score, 10000 - 3);
    // Mate in three at depth 5.
    r = Search("r1r3k1/5ppp/8/8/8/3R4/3R1PPP/3R2K1 w - - 0 1", 5);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "d3d8");
    EXPECT_EQ(r.Score, 10000 - 5);
    EXPECT_EQ(r.CompletedDepth, 5);
    // The losing side sees the mate coming.
    r = Search("2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 b - - 0 1", 4);
    ASSERT_TRUE(r.Found);
    EXPECT_GT(r.Score, -9000) << "Black to move is not mated yet";
}

TEST(SearcherSearch, PromotesToAQueen) {
    const SearchResult r = Search("8/P7/8/8/8/8/k7/7K w - - 0 1", 2);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "a7a8q");
    EXPECT_EQ(r.Promotion, 'q');
}

TEST(SearcherSearch, EqualScoresKeepTheFirstMoveTried) {
    // Kings only: from d4 the king reaches d5, e5 and e4 (+10 on the endgame table);
    // d5 is generated first of the three (directions -11, -10, -9, -1, 1, ...).
    SearchResult r = Search("7k/8/8/8/3K4/8/8/8 w - - 0 1", 1);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "d4d5");
    // From e5 the first three moves (d6, e6, f6) are worth 5; d5, the fourth, is the
    // first of the three worth 10 (d5, d4, e4).
    r = Search("k7/8/8/4K3/8/8/8/8 w - - 0 1", 1);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "e5d5");
}

TEST(SearcherSearch, NoMoveForAMatedOrStalematedSide) {
    SearchResult r = Search("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1", 3); // mated
    EXPECT_FALSE(r.Found);
    EXPECT_FALSE(r.Stopped);
    EXPECT_EQ(r.Score, -10000);
    r = Search("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 3); // stalemate
    EXPECT_FALSE(r.Found);
    EXPECT_EQ(r.Score, 0);
}

TEST(SearcherSearch, AvoidsStalemateWhenWinning) {
    // Qf7 would stalemate; any sensible search with a queen up finds a better move.
    const SearchResult r = Search("7k/8/6K1/8/8/8/8/5Q2 w - - 0 1", 3);
    ASSERT_TRUE(r.Found);
    EXPECT_NE(MoveText(r.Move), "f1f7");
    EXPECT_GT(r.Score, 500);
}

TEST(SearcherSearch, StopFlagEndsTheSearch) {
    auto s = std::make_unique<Searcher>();
    // Set before the search: nothing is searched.
    const std::atomic<bool> stopped{true};
    SearchResult r = s->RunSearch(FromFen(KiwipeteFen), 5, stopped);
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.Found);
    EXPECT_EQ(r.CompletedDepth, 0);
    EXPECT_EQ(s->Nodes(), 0);

    // Set between iterations: no further depth is started.
    std::atomic<bool> stop{false};
    SearchStats stats;
    stats.OnIteration = [&](const IterationStats& it) {
        if (it.Depth == 2) stop = true;
    };
    r = s->RunSearch(FromFen(KiwipeteFen), 6, stop, &stats);
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.Found);
    EXPECT_EQ(r.CompletedDepth, 2);

    // Set from another thread in the middle of a deep search: it returns, and the
    // searcher is back at the root, ready for the next search.
    stop = false;
    SearchResult deep;
    std::thread worker([&] { deep = s->RunSearch(FromFen(KiwipeteFen), 30, stop); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop = true;
    worker.join();
    EXPECT_TRUE(deep.Stopped);
    EXPECT_FALSE(deep.Found);
    EXPECT_LT(deep.CompletedDepth, 30);
    EXPECT_EQ(s->Ply(), 0);
    stop = false;
    r = s->RunSearch(FromFen("6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1"), 2, stop);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(MoveText(r.Move), "a1a8");
}

TEST(SearcherSearch, IterationStatisticsCountEveryNode) {
    SearchStats stats;
    int iterations = 0;
    long long lastNodes = 0;
    stats.OnIteration = [&](const IterationStats& it) {
        ++iterations;
        EXPECT_EQ(it.Depth, iterations);
        EXPECT_GT(it.Nodes, lastNodes);
        lastNodes = it.Nodes;
    };
    Search(StartFen, 3, &stats);
    EXPECT_EQ(iterations, 3);
    EXPECT_EQ(stats.Nodes, lastNodes);
}

// The bench positions, each searched to its own depth by a fresh searcher. The moves and
// node counts change only when the search or the evaluation changes: update them on
// purpose, never to make the test pass.
TEST(SearcherSearch, BenchNodeCountIsFixed) {
    struct Expected {
        const char* Move;
        long long Nodes;
    };
    const Expected expected[] = {
        {"e2e4", 10165}, // start
        {"d2d4", 28394}, // open game
        {"e2e3", 38638}, // queen's gambit
        {"e2a6", 82680}, // kiwipete
        {"h5f7", 3585},  // queen attack
        {"c3d5", 7406},  // italian
        {"g3g6", 20042}, // knight sac
        {"f3c6", 8203},  // open king
        {"d7c8q", 6162}, // promotion race
        {"b4c4", 41030}, // rook and pawns
        {"a1b2", 1215},  // blocked pawns
        {"e2d3", 7385},  // king and pawn
    };
    const auto positions = BenchPositions();
    ASSERT_EQ(positions.size(), std::size(expected));
    long long total = 0;
    for (std::size_t i = 0; i < positions.size(); ++i) {
        SCOPED_TRACE(positions[i].Name);
        const BenchResult r = RunBenchPosition(positions[i]);
        ASSERT_TRUE(r.Found);
        EXPECT_EQ(MoveText(r.Move), expected[i].Move);
        EXPECT_EQ(r.Nodes, expected[i].Nodes);
        total += r.Nodes;
    }
    EXPECT_EQ(total, 254905);
}

} // namespace
} // namespace qv::engine::test
