// PlayMove: side effects, event order and the calls it makes on the view.
#include "tests/board/core/BoardRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qv;
using qvtest::RecordingBoard;
using qvtest::Sq;
using Events = std::vector<std::string>;

TEST(PlayMove, PawnDoubleStep) {
    RecordingBoard b;
    ASSERT_TRUE(b.PlayMove(E2, E4));
    EXPECT_EQ(b.Events(), (Events{"LegalMove e2e4", "Paint"}));
    EXPECT_FALSE(b.WhiteToMove());
    EXPECT_EQ(b.CurrentMove(), 1);
    EXPECT_EQ(b.EnPassant(), E3);
    const MoveInfo* after = b.RecordEntry(1, false);
    ASSERT_NE(after, nullptr);
    EXPECT_EQ(after->PositionText, b.Position());
    const MoveInfo* before = b.RecordEntry(1, true);
    ASSERT_NE(before, nullptr);
    EXPECT_EQ(before->PositionText, InitialPosition);
    EXPECT_EQ(before->FromSquare, E2);
    EXPECT_EQ(before->ToSquare, E4);
    ASSERT_TRUE(b.PlayMove(E7, E5));
    EXPECT_EQ(b.CurrentMove(), 2);
    EXPECT_EQ(b.EnPassant(), E6);
    ASSERT_TRUE(b.PlayMove(G1, F3));
    EXPECT_EQ(b.EnPassant(), None);
}

TEST(PlayMove, IllegalMoveChangesNothingButGameOver) {
    RecordingBoard b;
    b.GameOver = true;
    EXPECT_FALSE(b.PlayMove(E2, E5));
    EXPECT_FALSE(b.GameOver);
    EXPECT_TRUE(b.Events().empty());
    EXPECT_EQ(b.Position(), InitialPosition);
    EXPECT_TRUE(b.WhiteToMove());
}

TEST(PlayMove, CastlingMovesTheRookAndRemovesRights) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
    ASSERT_TRUE(b.PlayMove(E1, G1));
    EXPECT_EQ(b.State().At(F1), 'R');
    EXPECT_EQ(b.State().At(H1), ' ');
    EXPECT_EQ(b.Events(), (Events{"LegalMove e1g1", "Castle e1g1", "Paint"}));
    EXPECT_EQ(b.CastlingAllowed(), BlackKingSide | BlackQueenSide);
    ASSERT_TRUE(b.PlayMove(E8, C8));
    EXPECT_EQ(b.State().At(D8), 'r');
    EXPECT_EQ(b.State().At(A8), ' ');
    EXPECT_EQ(b.CastlingAllowed(), 0);
}

TEST(PlayMove, CastlingRightsFollowTheOriginOnly) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
    ASSERT_TRUE(b.PlayMove(A1, A8)); // captures the rook in the corner: Black keeps its rights
    EXPECT_EQ(b.CastlingAllowed(), WhiteKingSide | BlackKingSide | BlackQueenSide);
    ASSERT_TRUE(b.PlayMove(E8, E7));
    EXPECT_EQ(b.CastlingAllowed(), WhiteKingSide);
}

TEST(PlayMove, EnPassantCaptureRemovesThePassedPawn) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"e2e4", "a7a6", "e4e5", "d7d5"}));
    b.Log.clear();
    ASSERT_TRUE(b.PlayMove(E5, D6));
    EXPECT_EQ(b.State().At(D5), ' ');
    EXPECT_EQ(b.State().At(D6), 'P');
    EXPECT_EQ(b.Events(), (Events{"LegalMove e5d6", "Capture e5d6 p", "Paint"}));
}

TEST(PlayMove, PromotionUsesAndKeepsThePromotionLetter) {
    RecordingBoard b;
    b.OnPromotion = nullptr;
    ASSERT_TRUE(b.SetFen("8/4P2k/8/8/8/8/3p4/K7 w - - 0 1"));
    ASSERT_TRUE(b.PlayMove(E7, E8));
    EXPECT_EQ(b.State().At(E8), 'Q');

    RecordingBoard c;
    c.NextPromotion = 'n';
    ASSERT_TRUE(c.SetFen("8/4P2k/8/8/8/8/3p4/K7 w - - 0 1"));
    ASSERT_TRUE(c.PlayMove(E7, E8));
    EXPECT_EQ(c.State().At(E8), 'N');
    EXPECT_EQ(c.PromotionPiece, 'n');
    c.NextPromotion = 0; // the handler leaves the letter alone now
    ASSERT_TRUE(c.PlayMove(D2, D1));
    EXPECT_EQ(c.State().At(D1), 'n');
    const Events ev = c.Events();
    EXPECT_NE(std::find(ev.begin(), ev.end(), "Promotion d2d1 n"), ev.end());
}

TEST(PlayMove, MateAndStalemateEvents) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"f2f3", "e7e5", "g2g4"}));
    b.Log.clear();
    ASSERT_TRUE(b.PlayMove(D8, H4));
    EXPECT_EQ(b.Events(), (Events{"LegalMove d8h4", "Check d8h4", "Mate d8h4", "Paint"}));
    EXPECT_TRUE(b.GameOver);

    RecordingBoard s;
    ASSERT_TRUE(s.SetFen("7k/8/5QK1/8/8/8/8/8 w - - 0 1"));
    ASSERT_TRUE(s.PlayMove(F6, F7));
    EXPECT_EQ(s.Events(), (Events{"LegalMove f6f7", "StaleMate f6f7", "Draw", "Paint"}));
    EXPECT_TRUE(s.GameOver);
}

TEST(PlayMove, MateWithoutMateHandlerLeavesGameRunning) {
    RecordingBoard b;
    b.OnMate = nullptr;
    ASSERT_TRUE(b.Play({"f2f3", "e7e5", "g2g4", "d8h4"}));
    EXPECT_FALSE(b.GameOver);
    EXPECT_EQ(b.Events().back(), "Paint");
}

TEST(PlayMove, CheckFromCastlingIsSeenAfterTheRookMoves) {
    RecordingBoard b;
    // The Black king on f8 is checked by the rook landing on f1.
    ASSERT_TRUE(b.SetFen("5k2/8/8/8/8/8/8/4K2R w K - 0 1"));
    ASSERT_TRUE(b.PlayMove(E1, G1));
    EXPECT_EQ(b.Events(), (Events{"LegalMove e1g1", "Castle e1g1", "Check e1g1", "Paint"}));
}

TEST(PlayMove, MateByCastlingIsMateNotStalemate) {
    RecordingBoard b;
    // The Black king on d8 is boxed in by its own pieces; the rook lands on d1.
    ASSERT_TRUE(b.SetFen("2rkr3/2p1p3/8/8/8/8/8/R3K3 w Q - 0 1"));
    ASSERT_TRUE(b.PlayMove(E1, C1));
    EXPECT_EQ(b.Events(),
              (Events{"LegalMove e1c1", "Castle e1c1", "Check e1c1", "Mate e1c1", "Paint"}));
}

TEST(PlayMove, MateByEnPassantIsMate) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("7k/8/5K2/4pP2/8/8/8/8 w - e6 0 1"));
    b.Log.clear();
    ASSERT_TRUE(b.PlayMove(F5, E6));
    EXPECT_EQ(b.State().At(E5), ' ');
    // King and pawn against king: no check, no draw by material.
    EXPECT_EQ(b.Events(), (Events{"LegalMove f5e6", "Capture f5e6 p", "Paint"}));

    // A discovered mate through the removed victim: the rook on a5 sees h5 once e5 is gone.
    RecordingBoard m;
    ASSERT_TRUE(m.SetFen("8/6K1/7p/R3pP1k/7p/5P2/8/8 w - e6 0 1"));
    ASSERT_TRUE(m.PlayMove(F5, E6));
    const Events ev = m.Events();
    ASSERT_GE(ev.size(), 4u);
    EXPECT_EQ(ev[0], "LegalMove f5e6");
    EXPECT_EQ(ev[1], "Capture f5e6 p");
    EXPECT_EQ(ev[2], "Check f5e6");
    EXPECT_EQ(ev[3], "Mate f5e6");
    EXPECT_EQ(std::count(ev.begin(), ev.end(), "Draw"), 0);
}

TEST(PlayMove, AMoveFromInsideTheMovesOwnEventsIsRefused) {
    RecordingBoard b;
    std::vector<bool> inner;
    b.OnLegalMove = [&](BoardModel* sender, Square, Square) {
        inner.push_back(sender->PlayMove(E7, E5));
        inner.push_back(sender->MakeMove(E7, E5));
    };
    ASSERT_TRUE(b.PlayMove(E2, E4));
    EXPECT_EQ(inner, (std::vector<bool>{false, false}));
    EXPECT_EQ(b.EnPassant(), E3);
    EXPECT_FALSE(b.WhiteToMove());
    EXPECT_EQ(b.Position()[E5 - 1], ' ');
    b.OnLegalMove = nullptr;
    EXPECT_TRUE(b.PlayMove(E7, E5)); // afterwards moves are taken again
}

TEST(PlayMove, MaterialDraws) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("4k3/8/8/8/8/8/3n4/4K2N b - - 0 1"));
    ASSERT_TRUE(b.PlayMove(D2, F3)); // check; the king steps aside
    b.Log.clear();
    ASSERT_TRUE(b.PlayMove(E1, E2));
    // knight against knight: both sides below 5
    EXPECT_EQ(b.Events(), (Events{"LegalMove e1e2", "NoMatingMaterial", "Draw", "Paint"}));

    // Two knights count 4, below the threshold of 5; a bishop and a knight count 5.
    RecordingBoard n;
    ASSERT_TRUE(n.SetFen("4k3/8/8/8/8/8/8/1N2K1N1 w - - 0 1"));
    ASSERT_TRUE(n.PlayMove(E1, E2));
    EXPECT_EQ(n.Events(), (Events{"LegalMove e1e2", "NoMatingMaterial", "Draw", "Paint"}));
    ASSERT_TRUE(n.SetFen("4k3/8/8/8/8/8/8/1N2K1B1 w - - 0 1"));
    n.Log.clear();
    ASSERT_TRUE(n.PlayMove(E1, E2));
    EXPECT_EQ(n.Events(), (Events{"LegalMove e1e2", "Paint"}));

    RecordingBoard p;
    ASSERT_TRUE(p.SetFen("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1"));
    ASSERT_TRUE(p.PlayMove(E1, D1));
    EXPECT_EQ(p.Events(), (Events{"LegalMove e1d1", "Paint"}));
}

TEST(PlayMove, ViewCallsAndAnimation) {
    RecordingBoard b;
    b.LogView = true;
    b.AnimationDelay = 7;
    ASSERT_TRUE(b.PlayMove(E2, E4));
    const Events expected{
        "view:PaintSquare e2", "view:Grid", "view:Animate e2e4 7", "view:PaintSquare e4",
        "view:DrawPiece e4 P", "view:Grid", "LegalMove e2e4",      "Paint"};
    EXPECT_EQ(b.Log, expected);

    b.Log.clear();
    b.DragFrom = E7; // the move that was just dropped is not animated
    b.DropTo = E5;
    ASSERT_TRUE(b.PlayMove(E7, E5));
    EXPECT_EQ(b.Log[0], "view:PaintSquare e7");
    EXPECT_EQ(b.Log[1], "view:PaintSquare e5");

    b.Log.clear();
    b.AnimateMoves = false;
    ASSERT_TRUE(b.PlayMove(G1, F3));
    EXPECT_EQ(b.Log[1], "view:PaintSquare f3");
}

TEST(PlayMove, MakeMoveStopsAndRestartsThinking) {
    RecordingBoard b;
    b.Stops = b.Starts = 0;
    b.EngineHold = true;
    EXPECT_TRUE(b.MakeMove(E2, E4));
    EXPECT_EQ(b.Stops, 1);
    EXPECT_EQ(b.Starts, 1);
    EXPECT_FALSE(b.EngineHold);
    EXPECT_FALSE(b.MakeMove(E2, E4)); // illegal: still restarts
    EXPECT_EQ(b.Starts, 2);
}
