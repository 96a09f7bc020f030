// The mate solver: exact key sets on positions whose keys were checked move by move with
// an independent engine, every rule that can make or unmake a key, main lines, budgets.
#include "engine/core/MateSolver.h"
#include "tests/engine/core/EngineTestUtil.h"

#include "board/core/BoardModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
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

// An independent judge: the board component's own rules, one fresh board per position,
// every origin and target tried, each promotion piece in turn.
namespace reference {

std::vector<std::string> Moves(const std::string& fen) {
    BoardModel b;
    b.SetFen(fen);
    std::vector<std::string> out;
    for (int o = 1; o <= 64; ++o)
        for (int t = 1; t <= 64; ++t) {
            if (!b.IsLegalMove(o, t)) continue;
            const std::string m = SquareName(o) + SquareName(t);
            const char piece = b.State().Squares[o];
            if ((piece == 'P' && RankOf(t) == 8) || (piece == 'p' && RankOf(t) == 1))
                for (const char* p : {"n", "b", "r", "q"}) out.push_back(m + p);
            else
                out.push_back(m);
        }
    return out;
}

std::string After(const std::string& fen, const std::string& move) {
    BoardModel b;
    b.SetFen(fen);
    if (move.size() == 5) b.PromotionPiece = move[4];
    b.MakeMove(StrToSquare(move.substr(0, 2)), StrToSquare(move.substr(2, 2)));
    return b.Fen();
}

bool Mated(const std::string& fen) {
    BoardModel b;
    b.SetFen(fen);
    const int colour = b.WhiteToMove() ? WhiteColor : BlackColor;
    return !b.HasLegalMove() && b.KingAttacked(colour, 1, 1);
}

bool Mates(const std::string& fen, const std::string& move, int n) {
    const std::string next = After(fen, move);
    if (Mated(next)) return true;
    if (n == 1) return false;
    const auto replies = Moves(next);
    if (replies.empty()) return false; // stalemate
    for (const auto& r : replies) {
        const std::string p = After(next, r);
        bool mates = false;
        for (const auto& m : Moves(p))
            if (Mates(p, m, n - 1)) {
                mates = true;
                break;
            }
        if (!mates) return false;
    }
    return true;
}

} // namespace reference

TEST(MateSolver, AgreesWithTheBoardsRulesOnRandomPositions) {
    std::mt19937 random(20261209);
    auto solver = std::make_unique<MateSolver>(1 << 16);
    int compared = 0, withKeys = 0;
    for (int round = 0; compared < 60; ++round) {
        std::string squares(64, ' ');
        auto place = [&](char piece, int lowRank, int highRank) {
            for (;;) {
                const int sq =
                    SquareAt(1 + random() % 8, lowRank + random() % (highRank - lowRank + 1));
                if (squares[sq - 1] == ' ') {
                    squares[sq - 1] = piece;
                    return;
                }
            }
        };
        const bool castle = random() % 3 == 0;
        if (castle) {
            squares[E1 - 1] = 'K';
            squares[A1 - 1] = squares[H1 - 1] = 'R';
        } else {
            place('K', 1, 8);
        }
        // The defending king mostly on its back rank, behind pawns, where mates are common.
        place('k', random() % 4 ? 8 : 5, 8);
        for (int i = random() % 3; i > 0; --i) place('p', 6, 7);
        place("QR"[random() % 2], 2, 7);
        for (int i = random() % 3; i > 0; --i) place("QRRBNP"[random() % 6], 2, 7);
        if (random() % 2) place('P', 7, 7);
        for (int i = random() % 2; i > 0; --i) place("rbn"[random() % 3], 2, 8);
        BoardModel b;
        b.SetPosition(squares);
        b.SetWhiteToMove(true);
        b.SetCastlingAllowed(castle ? WhiteKingSide | WhiteQueenSide : 0);
        if (b.KingAttacked(BlackColor, 1, 1)) continue; // not playable
        const std::string fen = b.Fen();
        const int n = compared < 50 ? 1 : 2;
        std::vector<std::string> expected;
        for (const auto& m : reference::Moves(fen))
            if (reference::Mates(fen, m, n)) expected.push_back(m);
        std::sort(expected.begin(), expected.end());
        if (expected.empty() && compared - withKeys >= 20) continue; // enough without a mate
        const MateSolution s = solver->Solve(b.State(), n);
        EXPECT_EQ(KeyTexts(s), expected) << fen << " mate in " << n;
        ++compared;
        withKeys += !expected.empty();
    }
    EXPECT_GE(withKeys, 40) << "the positions should hold mates often enough to test";
}

} // namespace
} // namespace qv::engine::test
