// FEN reading and writing, and perft through PlayMove against the published counts.
#include "board/core/Perft.h"
#include "tests/board/core/BoardRecorder.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(Fen, RoundTripAndFields) {
    BoardModel b;
    EXPECT_EQ(b.Fen(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const std::string fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R b Kq e3 0 12";
    ASSERT_TRUE(b.SetFen(fen));
    EXPECT_EQ(b.Fen(), fen);
    EXPECT_FALSE(b.WhiteToMove());
    EXPECT_EQ(b.CastlingAllowed(), WhiteKingSide | BlackQueenSide);
    EXPECT_EQ(b.EnPassant(), E3);
    EXPECT_EQ(b.CurrentMove(), 12);
    EXPECT_EQ(b.FirstRecorded(), (HalfMove{12, false}));
    // Placement alone: White to move, no rights, move 1.
    ASSERT_TRUE(b.SetFen("8/8/8/8/8/8/8/K6k"));
    EXPECT_EQ(b.Fen(), "8/8/8/8/8/8/8/K6k w - - 0 1");
}

TEST(Fen, MalformedTextIsRefusedAndChangesNothing) {
    BoardModel b;
    std::string error;
    for (const char* bad : {"", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP",
                            "rnbqkbnr/ppppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w",
                            "rnbqkbnr/pppppppp/9/8/8/8/PPPPPPPP/RNBQKBNR w",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkx",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - e4",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 zero",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - P 1",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - -1 1",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 +3",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 0",
                            "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 2147483648",
                            "rnbqkxnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR"}) {
        error.clear();
        EXPECT_FALSE(b.SetFen(bad, &error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_EQ(b.Position(), InitialPosition);
}

TEST(Fen, WhatTheBoardWritesItReadsBackAtAnyMoveNumber) {
    BoardModel b;
    ASSERT_TRUE(b.SetFen("4k3/8/8/8/8/8/8/4K3 b - - 7 100000"));
    ASSERT_TRUE(b.PlayMove(E8, E7));
    const std::string fen = b.Fen();
    EXPECT_EQ(fen, "8/4k3/8/8/8/8/8/4K3 w - - 0 100001");
    BoardModel c;
    ASSERT_TRUE(c.SetFen(fen));
    EXPECT_EQ(c.Fen(), fen);
    // At the largest move number the record stays small and Black's move is refused
    // rather than wrapping the count.
    ASSERT_TRUE(c.SetFen("4k3/8/8/8/8/8/8/4K3 w - - 0 2147483647"));
    ASSERT_TRUE(c.PlayMove(E1, E2));
    EXPECT_TRUE(c.MoveBack());
    ASSERT_TRUE(c.MoveForward());
    EXPECT_FALSE(c.PlayMove(E8, E7));
    EXPECT_EQ(c.Fen(), "4k3/8/8/8/8/8/4K3/8 b - - 0 2147483647");
}

struct PerftCase {
    const char* Name;
    const char* Fen;
    int Depth;
    long long Nodes;
};

void PrintTo(const PerftCase& c, std::ostream* os) {
    *os << c.Name << " to depth " << c.Depth;
}

class PerftThroughRules : public ::testing::TestWithParam<PerftCase> {};

TEST_P(PerftThroughRules, MatchesPublishedCount) {
    BoardModel b;
    ASSERT_TRUE(b.SetFen(GetParam().Fen));
    const std::string before = b.Fen();
    EXPECT_EQ(Perft(b, GetParam().Depth), GetParam().Nodes);
    EXPECT_EQ(b.Fen(), before); // every move was taken back
}

INSTANTIATE_TEST_SUITE_P(
    Standard, PerftThroughRules,
    ::testing::Values(
        PerftCase{"Start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4, 197281},
        PerftCase{"Kiwipete",
                  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 97862},
        PerftCase{"Position3", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
        PerftCase{"Position4", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
                  3, 9467},
        PerftCase{"Position5", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3,
                  62379},
        PerftCase{"Position6",
                  "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3,
                  89890}),
    [](const auto& p) { return std::string(p.param.Name); });

TEST(Perft, CountsEveryMoveOfCrowdedPositions) {
    // Each count must equal the exhaustive test of every origin and target; the
    // second position has 263 moves.
    for (const char* fen : {"R6R/3Q4/1Q4Q1/4Q3/2Q4Q/Q4Q2/pp1Q4/kBNN1KB1 w - - 0 1",
                            "BQQQQQnk/Q4Qpp/Q5QQ/Q6Q/Q6Q/Q6Q/Q6Q/KQQQQQQQ w - - 0 1"}) {
        BoardModel b;
        ASSERT_TRUE(b.SetFen(fen));
        long long pairs = 0;
        for (int o = 1; o <= 64; ++o)
            for (int t = 1; t <= 64; ++t) pairs += b.IsLegalMove(o, t);
        EXPECT_EQ(Perft(b, 1), pairs) << fen;
        if (fen[0] == 'B') {
            EXPECT_GT(pairs, 256) << fen;
        }
    }
}

TEST(Perft, ABudgetStopsTheCountAndLeavesThePosition) {
    BoardModel b;
    const std::string start = b.Fen();
    PerftBudget budget(5000, 0);
    EXPECT_LT(Perft(b, 12, &budget), 5000 * 40LL);
    EXPECT_TRUE(budget.Exhausted());
    EXPECT_EQ(b.Fen(), start);
    PerftBudget enough(1000000, 0);
    EXPECT_EQ(Perft(b, 3, &enough), 8902);
    EXPECT_FALSE(enough.Exhausted());
}

TEST(Perft, DivideSplitsTheCountAndNamesPromotions) {
    BoardModel b;
    ASSERT_TRUE(b.SetFen("8/P6k/8/8/8/8/8/K7 w - - 0 1"));
    const auto div = PerftDivide(b, 1);
    long long sum = 0;
    int promotions = 0;
    for (const auto& [move, n] : div) {
        sum += n;
        if (move.rfind("a7a8", 0) == 0) ++promotions;
    }
    EXPECT_EQ(promotions, 4);
    EXPECT_EQ(sum, Perft(b, 1));
    EXPECT_EQ(div.front().first.size() >= 4, true);
}
