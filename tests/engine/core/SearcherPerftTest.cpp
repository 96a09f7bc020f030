// Leaf counts through the search's generator and PlaySearchMove against reference
// counts and against the board's own rules.
#include "tests/engine/core/EngineTestUtil.h"

#include "board/core/BoardModel.h"
#include "board/core/Perft.h"

#include <gtest/gtest.h>

#include <map>

namespace qv::engine::test {
namespace {

struct PerftCase {
    const char* Name;
    const char* Fen;
    int Depth;
    long long Leaves;
};

// Published reference counts, at depths that stay quick under the sanitizers.
const PerftCase ReferenceCases[] = {
    {"start", StartFen, 4, 197281},
    {"kiwipete", KiwipeteFen, 3, 97862},
    {"position3", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
    {"position4", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
    {"position4mirrored", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3,
     9467},
    {"position5", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 62379},
    {"position6", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3,
     89890},
};

TEST(SearcherPerft, MatchesReferenceCountsAndRestoresTheBoard) {
    for (const PerftCase& c : ReferenceCases) {
        SCOPED_TRACE(c.Name);
        auto s = LoadedSearcher(c.Fen);
        const std::string before = s->PositionText();
        const int castling = s->CastlingRights(), ep = s->EnPassantSquare(), side = s->SideToMove();
        EXPECT_EQ(s->Perft(c.Depth), c.Leaves);
        EXPECT_EQ(s->PositionText(), before);
        EXPECT_EQ(s->CastlingRights(), castling);
        EXPECT_EQ(s->EnPassantSquare(), ep);
        EXPECT_EQ(s->SideToMove(), side);
        EXPECT_EQ(s->Ply(), 0);
    }
}

// Positions full of the special rules: every first move must lead to as many leaves
// through the search's generator as through the board's own rules.
TEST(SearcherPerft, AgreesWithTheBoardRulesMoveByMove) {
    const char* fens[] = {
        "r3k2r/8/8/8/3pPp2/8/8/R3K1R1 b Qkq e3 0 1", // en passant beside two pawns
        "8/8/8/KPp4r/8/8/8/7k w - c6 0 1",           // en passant that would expose the king
        "r3k2r/1P6/8/8/8/8/6p1/R3K2R w KQkq - 0 1",  // promotions with and without capture
        "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1",      // all four castlings
        "4k3/8/8/8/8/8/8/4K2R w K - 0 1",            // castling through attacked squares
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",   // promotion captures both ways
    };
    for (const char* fen : fens) {
        SCOPED_TRACE(fen);
        BoardModel board;
        ASSERT_TRUE(board.SetFen(fen));
        std::map<std::string, long long> expected;
        for (const auto& [move, count] : PerftDivide(board, 3)) expected[move] = count;
        auto s = LoadedSearcher(fen);
        std::map<std::string, long long> actual;
        for (const auto& [move, count] : s->PerftDivide(3)) actual[MoveText(move)] = count;
        EXPECT_EQ(actual, expected);
    }
}

} // namespace
} // namespace qv::engine::test
