// The static evaluation: prepared piece values and squares, game phase, shelter,
// and the pawn and rook terms, with exact numbers.
#include "tests/engine/core/EngineTestUtil.h"

#include <gtest/gtest.h>

namespace qv::engine::test {
namespace {

int EvaluateFen(const char* fen) {
    auto s = LoadedSearcher(fen);
    s->PrepareEvaluation();
    return s->Evaluate();
}

int EvaluatePosition(const std::string& position, bool whiteToMove) {
    auto s = std::make_unique<Searcher>();
    s->LoadPosition(position, whiteToMove, 0, None);
    s->PrepareEvaluation();
    return s->Evaluate();
}

TEST(SearcherEvaluation, StartingPositionIsLevelForEitherSide) {
    EXPECT_EQ(EvaluateFen(StartFen), 0);
    EXPECT_EQ(EvaluateFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1"), 0);
}

TEST(SearcherEvaluation, LonePassedPawnOnE5) {
    // Pawn e5: entry 112, passed +224, isolated on a file without an enemy pawn -30.
    // Kings e1 and e8 on the endgame table: -5 each.
    EXPECT_EQ(EvaluateFen("4k3/8/8/4P3/8/8/8/4K3 w - - 0 1"), 112 + 224 - 30 - 5 + 5);
    EXPECT_EQ(EvaluateFen("4k3/8/8/4P3/8/8/8/4K3 b - - 0 1"), -306);
    // A neighbour on the d file lifts the isolation; both pawns stay passed.
    // d4: entry 108, passed +216.
    EXPECT_EQ(EvaluateFen("4k3/8/8/4P3/3P4/8/8/4K3 w - - 0 1"), (112 + 224) + (108 + 216));
}

TEST(SearcherEvaluation, RooksOnOpenAndHalfOpenFiles) {
    // Two rooks on the a file without pawns: +15 each.
    EXPECT_EQ(EvaluateFen("4k3/8/8/8/8/8/R7/R3K3 w - - 0 1"), (1000 + 30 - 5) - (-5));
    // A Black pawn on a7 makes the file half-open: +10 each. The pawn itself: entry 100,
    // isolated -30 (no White pawn shares its file), passed +200.
    EXPECT_EQ(EvaluateFen("4k3/p7/8/8/8/8/R7/R3K3 w - - 0 1"),
              (1000 + 20 - 5) - (100 - 30 + 200 - 5));
}

TEST(SearcherEvaluation, DoubledPawnsEachPayFive) {
    // e3 (104) and e2 (80): doubled -5 each, isolated -30 each, passed twice their entries.
    EXPECT_EQ(EvaluateFen("4k3/8/8/8/8/4P3/4P3/4K3 w - - 0 1"),
              (104 + 80) - 10 - 60 + 2 * (104 + 80) - 5 + 5);
    // Three on one file: -5 each, 15 in all.
    EXPECT_EQ(EvaluateFen("4k3/8/8/8/4P3/4P3/4P3/4K3 w - - 0 1"),
              (108 + 104 + 80) - 15 - 90 + 2 * (108 + 104 + 80) - 5 + 5);
}

TEST(SearcherEvaluation, KingTableChangesAboveFourteenHundred) {
    // Black keeps queen and rook (1400): White's king g1 is on the endgame table (-5).
    // Black: queen 900, rook 500 + 15 on the open h file, king e8 on the endgame table.
    EXPECT_EQ(EvaluateFen("q3k2r/8/8/8/8/8/8/6K1 w - - 0 1"), -5 - (900 + 515 - 5));
    // With a knight more (1700) White's king is on the middle-game table (+10 on g1).
    // Knight b8: 300 - 20.
    EXPECT_EQ(EvaluateFen("qn2k2r/8/8/8/8/8/8/6K1 w - - 0 1"), 10 - (900 + 280 + 515 - 5));
}

TEST(SearcherEvaluation, ShelterFollowsTheKingsFileAtTheRoot) {
    // Black: queen 900, rook a8 500 + 15, knight b8 280, king e8 -5 = 1690.
    // King g1 in the middle game: f2, g2, h2 are worth 120 each, and passed (+240 each).
    EXPECT_EQ(EvaluateFen("rn1qk3/8/8/8/8/8/5PPP/6K1 w - - 0 1"), (3 * 120 + 3 * 240 + 10) - 1690);
    // King d1: no shelter (100 each, passed +200 each), king on -20.
    EXPECT_EQ(EvaluateFen("rn1qk3/8/8/8/8/8/5PPP/3K4 w - - 0 1"), (3 * 100 + 3 * 200 - 20) - 1690);
    // King b1: the queen-side shelter is tied to a, b, c pawns, not to f, g, h.
    EXPECT_EQ(EvaluateFen("rn1qk3/8/8/8/8/8/PPP5/1K6 w - - 0 1"),
              (3 * 120 + 3 * 240 + 0) - (900 + 510 + 280 - 5));
}

TEST(SearcherEvaluation, ASideWithoutAKingGetsNoShelter) {
    // Black as before (1690) against three White pawns f2, g2, h2 and no White king.
    std::string position(64, ' ');
    position[0] = 'r', position[1] = 'n', position[3] = 'q', position[4] = 'k';
    position[53] = 'P', position[54] = 'P', position[55] = 'P';
    EXPECT_EQ(EvaluatePosition(position, true), (3 * 100 + 3 * 200) - 1690);
    EXPECT_EQ(EvaluatePosition(position, false), 1690 - 900);
}

TEST(SearcherEvaluation, PreparedValuesStayFixedDuringTheSearch) {
    // Phase and shelter come from the root: once the White king leaves g1 inside the
    // search, f2, g2 and h2 keep their shelter bonus and only the king's square changes.
    auto s = LoadedSearcher("rn1qk3/8/8/8/8/8/5PPP/6KQ w - - 0 1");
    s->PrepareEvaluation();
    const int before = s->Evaluate();
    s->GenerateAllMoves();
    const MoveWord q = FindMove(*s, "g1f1");
    ASSERT_NE(q, 0u);
    ASSERT_TRUE(s->PlaySearchMove(q));
    // King f1 on the middle-game table (-20) instead of g1 (+10); from Black's side now.
    EXPECT_EQ(s->Evaluate(), -(before - 10 - 20));
    s->UndoSearchMove();
    EXPECT_EQ(s->Evaluate(), before);
}

} // namespace
} // namespace qv::engine::test
