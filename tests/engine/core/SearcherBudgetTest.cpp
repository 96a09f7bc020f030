// Node and time limits on a search: exact node counts, the fallback on the last completed
// depth, no change without a limit, and the principal line reported per depth.
#include "tests/engine/core/EngineTestUtil.h"

#include <gtest/gtest.h>

#include <thread>

namespace qv::engine::test {
namespace {

// Many queens and promotions: depth 1 alone visits about six million nodes.
constexpr const char* QueenHeavyFen =
    "2rkr3/Pppp1ppp/1bn3bN/nP6/BBP1R3/q4N2/Pp1P2PP/P2Q1RK1 w kq - 0 1";

SearchResult Search(const char* fen, int depth, SearchStats* stats,
                    const SearchBudget& budget = {}) {
    auto s = std::make_unique<Searcher>();
    const std::atomic<bool> stop{false};
    return s->RunSearch(FromFen(fen), depth, stop, stats, budget);
}

std::string LineText(const IterationStats& it) {
    std::string text;
    for (int i = 0; i < it.LineLength; ++i) text += (i ? " " : "") + MoveText(it.Line[i]);
    return text;
}

TEST(SearcherBudget, NodeLimitStopsExactlyAndKeepsTheLastCompletedDepth) {
    SearchStats full;
    const SearchResult depth2 = Search(KiwipeteFen, 2, &full);
    const long long depth2Nodes = full.Nodes;

    SearchBudget budget;
    budget.MaxNodes = depth2Nodes + 500; // depth 3 starts, then runs out
    SearchStats stats;
    int iterations = 0;
    stats.OnIteration = [&](const IterationStats&) { ++iterations; };
    const SearchResult r = Search(KiwipeteFen, 5, &stats, budget);
    EXPECT_TRUE(r.BudgetExhausted);
    EXPECT_FALSE(r.Stopped);
    ASSERT_TRUE(r.Found);
    EXPECT_EQ(r.CompletedDepth, 2);
    EXPECT_EQ(iterations, 2);
    EXPECT_EQ(stats.Nodes, budget.MaxNodes);
    EXPECT_EQ(r.Move, depth2.Move);
    EXPECT_EQ(r.Score, depth2.Score);

    // The quiescence explosion is bounded too; without a completed depth there is no move.
    budget.MaxNodes = 100000;
    const SearchResult heavy = Search(QueenHeavyFen, 2, &stats, budget);
    EXPECT_TRUE(heavy.BudgetExhausted);
    EXPECT_FALSE(heavy.Found);
    EXPECT_EQ(heavy.CompletedDepth, 0);
    EXPECT_EQ(stats.Nodes, 100000);
}

TEST(SearcherBudget, UnusedLimitsChangeNothing) {
    SearchStats plain, limited;
    const SearchResult a = Search(KiwipeteFen, 3, &plain);
    SearchBudget budget;
    budget.MaxNodes = 100000000;
    budget.MaxMilliseconds = 1e9;
    budget.StopInQuiescence = true;
    const SearchResult b = Search(KiwipeteFen, 3, &limited, budget);
    EXPECT_FALSE(b.BudgetExhausted);
    EXPECT_EQ(a.Move, b.Move);
    EXPECT_EQ(a.Score, b.Score);
    EXPECT_EQ(plain.Nodes, limited.Nodes);
}

TEST(SearcherBudget, TimeLimitEndsADeepSearch) {
    SearchBudget budget;
    budget.MaxMilliseconds = 30;
    SearchStats stats;
    const SearchResult r = Search(KiwipeteFen, 30, &stats, budget);
    EXPECT_TRUE(r.BudgetExhausted);
    EXPECT_LT(r.CompletedDepth, 30);
}

TEST(SearcherBudget, StopInQuiescenceEndsACaptureStorm) {
    // Without it the stop flag is only seen between quiescence subtrees, which here hold
    // millions of nodes; with it the search returns with a stop soon after the flag.
    auto s = std::make_unique<Searcher>();
    std::atomic<bool> stop{false};
    SearchBudget budget;
    budget.StopInQuiescence = true;
    SearchStats stats;
    SearchResult r;
    std::thread worker([&] { r = s->RunSearch(FromFen(QueenHeavyFen), 2, stop, &stats, budget); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    stop = true;
    worker.join();
    EXPECT_TRUE(r.Stopped);
    EXPECT_FALSE(r.Found);
    EXPECT_LT(stats.Nodes, 5000000);
    EXPECT_EQ(s->Ply(), 0);
}

TEST(SearcherBudget, EachIterationReportsItsPrincipalLine) {
    std::vector<std::string> lines;
    SearchStats stats;
    stats.OnIteration = [&](const IterationStats& it) { lines.push_back(LineText(it)); };
    Search("2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1", 3, &stats);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2], "d2d8 c8d8 d1d8");
}

} // namespace
} // namespace qv::engine::test
