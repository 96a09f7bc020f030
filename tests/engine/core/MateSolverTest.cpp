// The mate solver: exact key sets on positions whose keys were checked move by move with
// an independent engine, every rule that can make or unmake a key, main lines, budgets.
#include "engine/core/MateSolver.h"
#include "tests/engine/core/EngineTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::engine::test {
namespace {

std::vector<std::string> Texts(const std::vector<MoveWord>& moves) {
    std::vector<std::string> out;
    for (MoveWord m : moves) out.push_back(MoveText(m));
    return out;
}

std::vector<std::string> KeyTexts(const MateSolution& s) {
    std::vector<std::string> out;
    for (const auto& k : s.Keys) out.push_back(MoveText(k.Move));
    return out;
}

struct KnownKeys {
    const char* Why;
    const char* Fen;
    int N;
    std::vector<std::string> Keys;
};

TEST(MateSolver, FindsExactlyTheKnownKeys) {
    const KnownKeys cases[] = {
        {"castling mates beside the rook move",
         "2rkr3/2p1p3/8/8/8/8/8/R3K3 w Q - 0 1",
         1,
         {"a1d1", "e1c1"}},
        {"no castling without the right", "2rkr3/2p1p3/8/8/8/8/8/R3K3 w - - 0 1", 1, {"a1d1"}},
        {"no castling across an attacked square", "2rkr3/2p1p3/8/7b/8/8/8/R3K3 w Q - 0 1", 1, {}},
        {"en passant opens the rank", "8/4N3/6Pp/R2pP2k/6pp/8/8/K7 w - d6 0 1", 1, {"e5d6"}},
        {"no en passant without the square", "8/4N3/6Pp/R2pP2k/6pp/8/8/K7 w - - 0 1", 1, {}},
        {"only the knight promotion checks", "6nb/5Ppk/6pp/8/8/8/8/K7 w - - 0 1", 1, {"f7f8n"}},
        {"stalemate is no mate (c5c7)",
         "k7/8/K7/2Q5/8/8/8/8 w - - 0 1",
         1,
         {"c5a7", "c5c8", "c5f8"}},
        {"Black mates too",
         "rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 1",
         1,
         {"d8h4"}},
        {"a queen sacrifice, unique",
         "4kb1r/p2n1ppp/4q3/4p1B1/4P3/1Q6/PPP2PPP/2KR4 w k - 0 1",
         3,
         {"b3b8"}},
        {"doubled rooks", "r1r3k1/5ppp/8/8/8/3R4/3R1PPP/3R2K1 w - - 0 1", 3, {"d3d8"}},
        {"no mate from the start", StartFen, 2, {}},
    };
    auto solver = std::make_unique<MateSolver>(1 << 16);
    for (const auto& c : cases) {
        const MateSolution s = solver->Solve(FromFen(c.Fen), c.N);
        EXPECT_TRUE(s.Complete) << c.Why;
        EXPECT_EQ(KeyTexts(s), c.Keys) << c.Why;
    }
}

TEST(MateSolver, CountsEachKeyAtItsShortestAndGivesTheLongestDefence) {
    auto solver = std::make_unique<MateSolver>(1 << 16);
    // Mate in 2 and mate in 3 from the same position: the count grows, the key set keeps
    // the shorter mate with its own length.
    const BoardState doubled = FromFen("2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1");
    EXPECT_TRUE(solver->Solve(doubled, 1).Keys.empty());
    MateSolution s = solver->Solve(doubled, 2, true);
    ASSERT_EQ(s.Keys.size(), 1u);
    EXPECT_EQ(s.ShortestMate, 2);
    EXPECT_EQ(s.Keys[0].MateIn, 2);
    EXPECT_EQ(Texts(s.Keys[0].Line), (std::vector<std::string>{"d2d8", "c8d8", "d1d8"}));

    // Of the two captures on d8, the queen's line is the longer one to play out.
    s = solver->Solve(FromFen("r1r3k1/5ppp/8/8/8/3R4/3R1PPP/3R2K1 w - - 0 1"), 4, true);
    ASSERT_EQ(s.Keys.size(), 1u);
    EXPECT_EQ(s.Keys[0].MateIn, 3);
    EXPECT_EQ(Texts(s.Keys[0].Line),
              (std::vector<std::string>{"d3d8", "c8d8", "d2d8", "a8d8", "d1d8"}));

    // A key that mates at once has a line of its own move only.
    s = solver->Solve(FromFen("k7/8/K7/2Q5/8/8/8/8 w - - 0 1"), 2, true);
    for (const auto& k : s.Keys) {
        // Mates in 2 are keys too; each line ends in mate after the key's own count.
        EXPECT_EQ(static_cast<int>(k.Line.size()), 2 * k.MateIn - 1) << MoveText(k.Move);
    }
    EXPECT_EQ(s.ShortestMate, 1);
}

TEST(MateSolver, AMatedOrStalematedSideHasNoKey) {
    auto solver = std::make_unique<MateSolver>(1 << 12);
    EXPECT_TRUE(solver->Solve(FromFen("R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1"), 3).Keys.empty());
    EXPECT_TRUE(solver->Solve(FromFen("k7/2Q5/K7/8/8/8/8/8 b - - 0 1"), 3).Keys.empty());
}

TEST(MateSolver, StopsAtTheNodeBudgetAndSaysSo) {
    auto solver = std::make_unique<MateSolver>(1 << 12);
    MateLimits limits;
    limits.MaxNodes = 50;
    const MateSolution s = solver->Solve(FromFen(KiwipeteFen), 3, false, limits);
    EXPECT_FALSE(s.Complete);
    // The table keeps no half-proven answer: the same question without a budget is exact.
    const MateSolution full =
        solver->Solve(FromFen("2r3k1/5ppp/8/8/8/8/3R1PPP/3R2K1 w - - 0 1"), 2);
    EXPECT_TRUE(full.Complete);
    EXPECT_EQ(KeyTexts(full), std::vector<std::string>{"d2d8"});
}

} // namespace
} // namespace qv::engine::test
