// The game record: stepping back and forth, dropped lines, bounds and repetition.
#include "tests/board/core/BoardRecorder.h"

#include <gtest/gtest.h>

using namespace qv;
using qvtest::RecordingBoard;

TEST(Record, StepBackAndForward) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"e2e4"}));
    const std::string afterE4 = b.Position();
    ASSERT_TRUE(b.Play({"e7e5"}));
    const std::string afterE5 = b.Position();
    EXPECT_EQ(b.CurrentMove(), 2);

    b.Log.clear();
    b.LogView = true;
    b.Starts = 0;
    ASSERT_TRUE(b.MoveBack());
    EXPECT_EQ(b.Position(), afterE4);
    EXPECT_FALSE(b.WhiteToMove());
    EXPECT_EQ(b.EnPassant(), E3);
    EXPECT_EQ(b.Log, (std::vector<std::string>{"view:RepaintChanges"})); // no events
    EXPECT_EQ(b.Starts, 0);

    ASSERT_TRUE(b.MoveBack());
    EXPECT_EQ(b.Position(), InitialPosition);
    EXPECT_TRUE(b.WhiteToMove());
    EXPECT_FALSE(b.MoveBack());

    ASSERT_TRUE(b.MoveForward());
    ASSERT_TRUE(b.MoveForward());
    EXPECT_EQ(b.Position(), afterE5);
    EXPECT_EQ(b.EnPassant(), E6);
    EXPECT_FALSE(b.MoveForward());
}

TEST(Record, PlayingAfterSteppingBackDropsTheLaterLine) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"e2e4", "e7e5"}));
    ASSERT_TRUE(b.MoveBack());
    ASSERT_TRUE(b.MoveBack());
    ASSERT_TRUE(b.Play({"d2d4"}));
    EXPECT_FALSE(b.MoveForward());
    ASSERT_TRUE(b.MoveBack());
    EXPECT_EQ(b.Position(), InitialPosition);
}

TEST(Record, GameSetUpWithBlackToMoveStartsAtBlacksHalfMove) {
    RecordingBoard b;
    b.SetPosition(std::string(4, ' ') + "k" + std::string(7, ' ') + "p" + std::string(47, ' ') +
                  "K" + std::string(3, ' '));
    b.SetWhiteToMove(false);
    ASSERT_TRUE(b.Play({"e7e5"}));
    EXPECT_EQ(b.FirstRecorded(), (HalfMove{1, false}));
    ASSERT_TRUE(b.MoveBack());
    EXPECT_FALSE(b.WhiteToMove());
    EXPECT_FALSE(b.MoveBack()); // (1, White) belongs to no position of this game
    EXPECT_EQ(b.State().At(E7), 'p');
}

TEST(Record, EntriesOfAnEarlierGameAreNeverRestored) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"e2e4", "e7e5"}));
    b.ResetBoard();
    b.SetWhiteToMove(false);
    EXPECT_FALSE(b.MoveBack()); // the old (1, White) entry is gone with the old game
    EXPECT_FALSE(b.ThreefoldRepetition());
}

TEST(Record, GrowsBeyondMove256) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("4k3/8/8/8/8/8/8/R3K3 w - - 0 255"));
    ASSERT_TRUE(b.Play({"a1a2", "e8d8", "a2a3", "d8c8", "a3a4", "c8b8", "a4a5", "b8c8"}));
    EXPECT_EQ(b.CurrentMove(), 259);
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(b.MoveBack()) << i;
    EXPECT_EQ(b.CurrentMove(), 255);
    EXPECT_EQ(b.State().At(A1), 'R');
    EXPECT_FALSE(b.MoveBack());
}

TEST(Record, ThirdRepetitionIsADrawAndFreezesTheBoard) {
    RecordingBoard b;
    ASSERT_TRUE(b.Play({"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1"}));
    EXPECT_FALSE(b.ThreefoldRepetition());
    b.Log.clear();
    ASSERT_TRUE(b.Play({"f6g8"}));
    EXPECT_EQ(b.Events(),
              (std::vector<std::string>{"LegalMove f6g8", "Threefold", "Draw", "Paint"}));
    EXPECT_TRUE(b.GameOver);
    EXPECT_TRUE(b.ThreefoldRepetition());
    EXPECT_FALSE(b.IsLegalMove(E2, E4));
    EXPECT_FALSE(b.PlayMove(G1, F3));
    // Writing the squares alone does not lift it; stepping back does.
    b.SetPosition("init");
    EXPECT_FALSE(b.IsLegalMove(E2, E4));
    ASSERT_TRUE(b.MoveBack());
    EXPECT_TRUE(b.IsLegalMove(F6, G8));
}

TEST(Record, RepetitionNeedsTheSameCastlingRights) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1"));
    // The starting squares come back twice, but the queen-side rights are gone after the first
    // round.
    ASSERT_TRUE(b.Play({"a1b1", "a8b8", "b1a1", "b8a8", "a1b1", "a8b8", "b1a1"}));
    b.Log.clear();
    ASSERT_TRUE(b.Play({"b8a8"}));
    EXPECT_EQ(b.Events(), (std::vector<std::string>{"LegalMove b8a8", "Paint"}));
    EXPECT_FALSE(b.ThreefoldRepetition());
    // Positions after the rights were lost do repeat a third time.
    ASSERT_TRUE(b.Play({"a1b1"}));
    EXPECT_FALSE(b.ThreefoldRepetition());
    ASSERT_TRUE(b.Play({"a8b8"}));
    EXPECT_TRUE(b.ThreefoldRepetition());
}

TEST(Record, RepetitionNeedsTheSameEnPassantSquare) {
    RecordingBoard b;
    ASSERT_TRUE(b.SetFen("4k3/8/8/8/3p4/8/4P3/4K1N1 w - - 0 1"));
    // After e2-e4 the en-passant square is e3; the later occurrences have none.
    ASSERT_TRUE(b.Play({"e2e4", "e8d8", "g1f3", "d8e8", "f3g1", "e8d8", "g1f3", "d8e8", "f3g1"}));
    EXPECT_FALSE(b.ThreefoldRepetition());
    ASSERT_TRUE(b.Play({"e8d8"}));
    EXPECT_TRUE(b.ThreefoldRepetition());
}
