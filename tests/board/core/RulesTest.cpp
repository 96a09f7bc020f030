// Move legality: piece rules, castling, en passant, pins and the own king.
#include "tests/board/core/BoardRecorder.h"

#include <gtest/gtest.h>

using namespace qv;
using qvtest::RecordingBoard;
using qvtest::Sq;

namespace {

bool Legal(const BoardModel& b, const char* m) {
    const std::string s(m);
    return b.IsLegalMove(Sq(s.substr(0, 2).c_str()), Sq(s.substr(2, 2).c_str()));
}

RecordingBoard& FromFen(RecordingBoard& b, const char* fen) {
    EXPECT_TRUE(b.SetFen(fen)) << fen;
    return b;
}

} // namespace

TEST(Rules, InitialPosition) {
    RecordingBoard b;
    EXPECT_TRUE(Legal(b, "e2e4"));
    EXPECT_TRUE(Legal(b, "g1f3"));
    EXPECT_FALSE(Legal(b, "e2e5"));
    EXPECT_FALSE(Legal(b, "e7e5")); // Black's pawn, White to move
    EXPECT_FALSE(Legal(b, "a1a3")); // blocked rook
    EXPECT_FALSE(Legal(b, "e3e4")); // empty origin
    EXPECT_FALSE(Legal(b, "d1d2")); // own piece on target
    EXPECT_FALSE(b.IsLegalMove(0, E4));
    EXPECT_FALSE(b.IsLegalMove(E2, 65));
}

TEST(Rules, PieceColorByCharacterCode) {
    RecordingBoard b;
    EXPECT_EQ(b.PieceColor(E1), 1);
    EXPECT_EQ(b.PieceColor(E8), 0);
    EXPECT_EQ(b.PieceColor(E4), -1);
    EXPECT_EQ(b.PieceColor(None), -1);
}

TEST(Rules, EnPassantNeedsTheSquare) {
    RecordingBoard b;
    FromFen(b, "4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    EXPECT_TRUE(Legal(b, "e5d6"));
    FromFen(b, "4k3/8/8/3pP3/8/8/8/4K3 w - - 0 1");
    EXPECT_FALSE(Legal(b, "e5d6"));
}

TEST(Rules, EnPassantTakesOnlyAnOpponentPawnThatCouldHaveDoubleStepped) {
    RecordingBoard b;
    // The square lies on the mover's own side: the knight on e2 still checks c1.
    FromFen(b, "4k3/8/8/8/8/8/3Pn3/2K5 w - e3 0 1");
    EXPECT_FALSE(Legal(b, "d2e3"));
    // A rook, not a pawn, stands where the double step would have ended.
    FromFen(b, "4k3/8/8/3Pr3/8/8/8/K7 w - e6 0 1");
    EXPECT_FALSE(Legal(b, "d5e6"));
    FromFen(b, "4k3/8/8/8/3pQ3/8/8/K7 b - e3 0 1");
    EXPECT_FALSE(Legal(b, "d4e3"));
    FromFen(b, "4k3/8/8/8/3pP3/8/8/K7 b - e3 0 1");
    EXPECT_TRUE(Legal(b, "d4e3"));
}

TEST(Rules, EnPassantThatUncoversTheOwnKingAlongTheRankIsIllegal) {
    RecordingBoard b;
    // White king a5, pawns e5 (White) and d5 (Black, just double-stepped), Black rook h5.
    FromFen(b, "4k3/8/8/K2pP2r/8/8/8/8 w - d6 0 1");
    EXPECT_FALSE(Legal(b, "e5d6"));
    EXPECT_TRUE(Legal(b, "e5e6"));
}

TEST(Rules, KingSideCastlingConditions) {
    RecordingBoard b;
    const char* open = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    FromFen(b, open);
    EXPECT_TRUE(Legal(b, "e1g1"));
    EXPECT_TRUE(Legal(b, "e1c1"));

    FromFen(b, "r3k2r/8/8/8/8/8/8/R3K2R w Qkq - 0 1"); // right gone
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/8/8/8/R3K2N w KQkq - 0 1"); // no rook in the corner
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/8/8/8/R3KB1R w KQkq - 0 1"); // f1 occupied
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/8/8/8/R3K1NR w KQkq - 0 1"); // g1 occupied
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/4r3/8/8/R3K2R w KQkq - 0 1"); // in check
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/5r2/8/8/R3K2R w KQkq - 0 1"); // f1 attacked
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/6r1/8/8/R3K2R w KQkq - 0 1"); // g1 attacked
    EXPECT_FALSE(Legal(b, "e1g1"));
    FromFen(b, "r3k2r/8/8/8/3r4/8/8/R3K2R w KQkq - 0 1"); // only d1 attacked
    EXPECT_TRUE(Legal(b, "e1g1"));
    EXPECT_FALSE(Legal(b, "e1c1"));
}

TEST(Rules, QueenSideCastlingB1MayBeAttackedButNotOccupied) {
    RecordingBoard b;
    FromFen(b, "r3k2r/8/8/8/8/8/8/RN2K2R w KQkq - 0 1");
    EXPECT_FALSE(Legal(b, "e1c1"));
    FromFen(b, "1r2k2r/8/8/8/8/8/8/R3K2R w KQk - 0 1"); // b8 rook attacks b1 only
    EXPECT_TRUE(Legal(b, "e1c1"));
    FromFen(b, "r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    EXPECT_TRUE(Legal(b, "e8c8"));
    EXPECT_TRUE(Legal(b, "e8g8"));
}

TEST(Rules, PinsAndKings) {
    RecordingBoard b;
    FromFen(b, "4k3/4r3/8/8/8/8/4B3/4K3 w - - 0 1"); // bishop pinned on the e-file
    EXPECT_FALSE(Legal(b, "e2d3"));
    EXPECT_TRUE(Legal(b, "e1d1"));
    FromFen(b, "8/8/8/3k4/8/3K4/8/8 w - - 0 1"); // kings may not touch
    EXPECT_FALSE(Legal(b, "d3d4"));
    EXPECT_FALSE(Legal(b, "d3c4"));
    EXPECT_TRUE(Legal(b, "d3d2"));
    FromFen(b, "4k3/8/8/8/8/8/4r3/4K3 w - - 0 1"); // king may capture an unprotected checker
    EXPECT_TRUE(Legal(b, "e1e2"));
}

TEST(Rules, PawnMoves) {
    RecordingBoard b;
    FromFen(b, "4k3/8/8/8/8/4p3/4P3/4K3 w - - 0 1");
    EXPECT_FALSE(Legal(b, "e2e3")); // blocked
    EXPECT_FALSE(Legal(b, "e2e4")); // blocked double step
    FromFen(b, "4k3/8/8/8/4p3/8/4P3/4K3 w - - 0 1");
    EXPECT_TRUE(Legal(b, "e2e3"));
    EXPECT_FALSE(Legal(b, "e2e4")); // target occupied
    FromFen(b, "4k3/3p4/8/8/8/8/8/4K3 b - - 0 1");
    EXPECT_TRUE(Legal(b, "d7d5"));
    EXPECT_FALSE(Legal(b, "d7d4"));
    EXPECT_FALSE(Legal(b, "d7c6")); // no piece to take
}

TEST(Rules, HasLegalMove) {
    RecordingBoard b;
    EXPECT_TRUE(b.HasLegalMove());
    FromFen(b, "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"); // stalemate
    EXPECT_FALSE(b.HasLegalMove());
    FromFen(b, "6Qk/8/6K1/8/8/8/8/8 b - - 0 1"); // in check, but the king takes the queen
    EXPECT_TRUE(b.KingAttacked(0, H8, H8));
    EXPECT_TRUE(b.HasLegalMove());
    EXPECT_FALSE(b.KingAttacked(0, H8, G8));
    FromFen(b, "6Qk/5P2/6K1/8/8/8/8/8 b - - 0 1"); // now the queen is protected: mate
    EXPECT_FALSE(b.HasLegalMove());
}
