// The position string setter and the other position fields.
#include "tests/board/core/BoardRecorder.h"

#include <gtest/gtest.h>

using namespace qv;
using qvtest::RecordingBoard;

TEST(Position, InitialBoardAndReset) {
    RecordingBoard b;
    EXPECT_EQ(b.Position(), InitialPosition);
    EXPECT_TRUE(b.WhiteToMove());
    EXPECT_EQ(b.CurrentMove(), 1);
    EXPECT_EQ(b.CastlingAllowed(), AllCastling);
    EXPECT_EQ(b.EnPassant(), None);
    EXPECT_EQ(b.PromotionPiece, 'q');
}

TEST(Position, SetterReadsSquareBySquare) {
    RecordingBoard b;
    b.SetPosition("");
    EXPECT_EQ(b.Position(), std::string(64, ' '));

    std::string text(InitialPosition);
    text[9] = 'x'; // character 10 is b7
    b.SetPosition(text);
    std::string expected(InitialPosition);
    expected[9] = ' ';
    EXPECT_EQ(b.Position(), expected);

    b.SetPosition(std::string(InitialPosition) + "KKKKKK"); // 70 characters
    EXPECT_EQ(b.Position(), InitialPosition);

    b.SetPosition(std::string("rn\0bq", 5)); // a NUL ends the text
    EXPECT_EQ(b.Position(), "rn" + std::string(62, ' '));

    b.SetPosition("init "); // not the special word: read square by square
    EXPECT_EQ(b.Position(), " n" + std::string(62, ' '));
}

TEST(Position, SpecialWordsInAnyCase) {
    RecordingBoard b;
    for (const char* word : {"INIT", "init", "NewGame", "NEWGAME"}) {
        b.SetPosition("");
        b.SetPosition(word);
        EXPECT_EQ(b.Position(), InitialPosition) << word;
    }
}

TEST(Position, SetterChangesOnlyTheSquaresAndRepaints) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"e2e4", "e7e5", "g1f3"}));
    const int move = b.CurrentMove();
    const bool white = b.WhiteToMove();
    const CastleSet castling = b.CastlingAllowed();
    const HalfMove last = b.LastRecorded();
    b.LogView = true;
    const int stops = b.Stops;
    b.SetPosition("init");
    EXPECT_EQ(b.Stops, stops + 1);
    EXPECT_EQ(b.Log.back(), "view:Paint");
    EXPECT_EQ(b.CurrentMove(), move);
    EXPECT_EQ(b.WhiteToMove(), white);
    EXPECT_EQ(b.CastlingAllowed(), castling);
    EXPECT_EQ(b.LastRecorded(), last);
}

TEST(Position, SetterClearsAnEnPassantSquareThatNoLongerFits) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"e2e4"}));
    ASSERT_EQ(b.EnPassant(), E3);
    b.SetPosition(b.Position()); // the same squares: the double step still fits
    EXPECT_EQ(b.EnPassant(), E3);
    // A queen where the pawn stood: Black's d4 pawn must not take it en passant.
    std::string squares(64, ' ');
    squares[E8 - 1] = 'k', squares[E1 - 1] = 'K', squares[D4 - 1] = 'p', squares[E4 - 1] = 'Q';
    b.SetPosition(squares);
    EXPECT_EQ(b.EnPassant(), None);
    EXPECT_FALSE(b.PlayMove(D4, E3));
}

TEST(Position, EnPassantSetterTakesOnlyThirdAndSixthRank) {
    RecordingBoard b;
    b.SetEnPassant(D6);
    EXPECT_EQ(b.EnPassant(), D6);
    const int stops = b.Stops;
    b.SetEnPassant(None);
    b.SetEnPassant(E4);
    EXPECT_EQ(b.EnPassant(), D6);
    EXPECT_EQ(b.Stops, stops); // refused values call nothing
    b.SetEnPassant(H3);
    EXPECT_EQ(b.EnPassant(), H3);
}

TEST(Position, CurrentMoveSetterIsIgnoredAndResetRestoresEverything) {
    RecordingBoard b;
    b.SetCurrentMove(40);
    EXPECT_EQ(b.CurrentMove(), 1);
    ASSERT_TRUE(b.Play({"e2e4", "e7e5", "e1e2"}));
    b.SetCastlingAllowed(0);
    b.ResetBoard();
    EXPECT_EQ(b.Position(), InitialPosition);
    EXPECT_TRUE(b.WhiteToMove());
    EXPECT_EQ(b.CurrentMove(), 1);
    EXPECT_EQ(b.CastlingAllowed(), AllCastling);
    EXPECT_EQ(b.EnPassant(), None);
    EXPECT_EQ(b.FirstRecorded(), (HalfMove{1, true}));
    EXPECT_EQ(b.LastRecorded(), (HalfMove{1, true}));
    EXPECT_FALSE(b.MoveBack());
}

TEST(Position, NewGameRepaintsResetDoesNot) {
    RecordingBoard b;
    b.LogView = true;
    b.ResetBoard();
    EXPECT_TRUE(b.Log.empty());
    b.NewGame();
    ASSERT_EQ(b.Log.size(), 1u);
    EXPECT_EQ(b.Log[0], "view:Paint");
}
