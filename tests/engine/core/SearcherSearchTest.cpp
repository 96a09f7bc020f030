// The search: mates at the shortest distance, the tie rule, positions without a move,
// stopping, and a fixed node count that changes only when the search does.
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

// A fixed list of positions and depths, each searched by a fresh searcher. The node
// total and the moves change only when the search or the evaluation changes: update
// them on purpose, never to make the test pass.
TEST(SearcherSearch, BenchNodeCountIsFixed) {
    struct BenchCase {
        const char* Fen;
        int Depth;
        const char* Move;
        long long Nodes;
    };
    const BenchCase cases[] = {
        {StartFen, 4, "e2e4", 10165},
        {KiwipeteFen, 3, "e2a6", 82680},
        {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 3, "h5f7", 3585},
        {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3, "c3d5",
         7406},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 5, "b4c4", 41030},
        {"8/8/4k3/8/2P5/8/4K3/8 w - - 0 1", 6, "e2d3", 7385},
    };
    long long total = 0;
    for (const BenchCase& c : cases) {
        SCOPED_TRACE(c.Fen);
        SearchStats stats;
        const SearchResult r = Search(c.Fen, c.Depth, &stats);
        ASSERT_TRUE(r.Found);
        EXPECT_EQ(MoveText(r.Move), c.Move);
        EXPECT_EQ(stats.Nodes, c.Nodes);
        total += stats.Nodes;
    }
    EXPECT_EQ(total, 152251);
}

} // namespace
} // namespace qv::engine::test
