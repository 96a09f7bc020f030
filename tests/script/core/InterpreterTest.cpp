// The interpreter's commands, stopping points, answer checking, scoring and failures.
#include "tests/script/core/ScriptFixture.h"

namespace {

using qv::ScriptStop;
using qvtest::ItalianPosition;
using V = std::vector<std::string>;

class Interpreter : public qvtest::ScriptFixture {
protected:
    // The worked example up to the user's turn, then the given lines.
    void Italian(const V& after) {
        V lines = ItalianPosition;
        lines.push_back(".plays white");
        lines.push_back(".*w");
        lines.insert(lines.end(), after.begin(), after.end());
        Script(lines);
        ASSERT_EQ(flow.Next(), ScriptStop::UserTurn);
    }
};

TEST_F(Interpreter, PositionBlockSetsSquaresButNotSideToMove) {
    host.Board.SetWhiteToMove(false);
    V lines = ItalianPosition;
    lines.push_back(".pause");
    Script(lines);
    host.Board.SetWhiteToMove(false);
    EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_EQ(host.Board.Position(),
              "r bqkb rpppp ppp  n  n      p  Q  B P           PPPP PPPRNB K NR");
    EXPECT_FALSE(host.Board.WhiteToMove());
    EXPECT_FALSE(host.BoardEnabled);
    EXPECT_EQ(host.Border, qv::BorderSilver);
}

TEST_F(Interpreter, ShortRowShiftsTheFollowingSquares) {
    Script({".position", "tcadract", "pppppp", "11111111", "11111111", "11111111", "11111111",
            "PPPPPPPP", "TCADRACT", ".pause"});
    flow.Next();
    const std::string pos = host.Board.Position();
    EXPECT_EQ(pos.substr(0, 16), "rnbqkbnrpppppp  ");
    EXPECT_EQ(pos.substr(56), "BQKBNR  "); // the last two squares stay empty
}

TEST_F(Interpreter, EmptyLineAddsEmptyMemoLineAndReadsOn) {
    Script({"", ".rem after", "plain line", ".rem never"});
    EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_EQ(host.Calls, (V{"memo: ", "memo: after"}));
    EXPECT_EQ(g.CurrentLine, "plain line");
}

TEST_F(Interpreter, PlaysComparesItsArgumentExactly) {
    Script({".plays black", ".plays White", ".plays white ", ".pause", ".plays white", ".pause"});
    host.BoardEnabled = true;
    flow.Next();
    EXPECT_EQ(host.Label2, "Black to play");
    EXPECT_TRUE(host.WhiteOnTop);
    EXPECT_FALSE(host.Board.WhiteToMove());
    EXPECT_FALSE(host.BoardEnabled);
    EXPECT_TRUE(host.Label2Visible);
    EXPECT_EQ(host.Count("label2: Black to play"), 1); // "White" and "white " change nothing
    flow.Next();
    EXPECT_EQ(host.Label2, "White to play");
    EXPECT_FALSE(host.WhiteOnTop);
    EXPECT_TRUE(host.Board.WhiteToMove());
}

TEST_F(Interpreter, PlayersOntopAndRemInPopupMode) {
    Script({".popup", ".players  A - B ", ".ontop white", ".rem  still in the memo", ".pause",
            ".ontop black", ".ontop White", ".pause"});
    host.Label6 = "old";
    flow.Next();
    EXPECT_EQ(host.Label6, "");
    EXPECT_EQ(host.Label3, "A - B ");
    EXPECT_TRUE(host.Label3Visible);
    EXPECT_TRUE(host.WhiteOnTop);
    EXPECT_TRUE(host.Called("memo: still in the memo"));
    EXPECT_TRUE(g.OutputToLabel);
    EXPECT_FALSE(g.OutputToMemo);
    flow.Next();
    EXPECT_FALSE(host.WhiteOnTop);
}

TEST_F(Interpreter, UserTurnStopsUntilTheMoveAndNext) {
    Italian({".if h5f7 Qxf7 3 Mate.", ".end"});
    EXPECT_FALSE(host.NextEnabled);
    EXPECT_TRUE(host.BoardEnabled);
    EXPECT_TRUE(host.YourTurn);
    EXPECT_TRUE(host.ClockRunning);
    EXPECT_EQ(host.Border, qv::BorderWhite);
    EXPECT_FALSE(host.WhiteOnTop);
    EXPECT_EQ(g.CurrentLine, ".*w");
    // The user's move ends the turn.
    ASSERT_TRUE(UserMove("h5f7"));
    EXPECT_TRUE(host.NextEnabled);
    EXPECT_FALSE(host.BoardEnabled);
    EXPECT_FALSE(host.YourTurn);
    EXPECT_FALSE(host.ClockRunning);
    EXPECT_EQ(host.Border, qv::BorderSilver);
    EXPECT_EQ(g.LastMoveFrom, qv::H5);
    EXPECT_EQ(g.LastMoveTo, qv::F7);
    EXPECT_TRUE(host.Called("info: Check Mate"));
    EXPECT_EQ(flow.Next(), ScriptStop::ProblemEnded);
    EXPECT_EQ(g.TotalPoints, 3);
    EXPECT_FALSE(host.NextEnabled);
}

TEST_F(Interpreter, BlackTurnPutsBlackAtTheBottom) {
    Script({".*b"});
    EXPECT_EQ(flow.Next(), ScriptStop::UserTurn);
    EXPECT_TRUE(host.WhiteOnTop);
}

TEST_F(Interpreter, FailingTurnSoundEndsTheRunWithoutClockOrOrientation) {
    host.PopError = "The specified device is not open";
    host.WhiteOnTop = true;
    Script({".*w", ".rem not yet"});
    flow.Next();
    EXPECT_TRUE(host.Called("error: The specified device is not open."));
    EXPECT_FALSE(host.ClockRunning);
    EXPECT_TRUE(host.WhiteOnTop);
    EXPECT_TRUE(host.BoardEnabled);
    EXPECT_FALSE(host.NextEnabled);
    EXPECT_EQ(host.Border, qv::BorderWhite);
    EXPECT_FALSE(host.Called("memo: not yet"));
}

TEST_F(Interpreter, IfCutsTheCommentAndAddsSignedPoints) {
    Italian({".if H5F7 Qxf7 2   Good.  ", ".if h5f7 x +3 Fine.", ".if h5f7 x -1 Too slow.",
             ".if h5f7 a 4", ".if d2d4 d4 x Wrong.", ".if c4f7 Bxf7 1 Other.", ".pause"});
    ASSERT_TRUE(UserMove("h5f7"));
    host.Calls.clear();
    EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_EQ(g.TotalPoints, 8);
    EXPECT_EQ(host.Digits, "008");
    EXPECT_EQ(host.Calls,
              (V{"memo:    Good.  ", "label6:    Good.  ", "memo: 2 point(s).", "memo:  Fine.",
                 "label6:  Fine.", "memo: +3 point(s).", "memo:  Too slow.", "label6:  Too slow.",
                 "memo: -1 point(s).", "memo: ", "label6: ", "memo: 4 point(s)."}));
}

TEST_F(Interpreter, IfInPopupModeWritesTheCommentOnlyToTheLabel) {
    Italian({".popup", ".if h5f7 Qxf7 3 Mate.", ".pause"});
    ASSERT_TRUE(UserMove("h5f7"));
    host.Calls.clear();
    flow.Next();
    EXPECT_EQ(host.Calls, (V{"label6:  Mate.", "memo: 3 point(s)."}));
}

TEST_F(Interpreter, IfMatchesCastlingWrittenAsTheKingsMove) {
    Script({".*w", ".if e1g1 0-0 1 Castled.", ".pause"});
    host.Board.SetFen("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
    EXPECT_EQ(flow.Next(), ScriptStop::UserTurn);
    ASSERT_TRUE(UserMove("e1g1"));
    flow.Next();
    EXPECT_EQ(g.TotalPoints, 1);
}

TEST_F(Interpreter, BadPointsWordFailsOnlyWhenTheMoveMatches) {
    Italian({".if d2d4 d4 x Wrong.", ".if h5f7 Qxf7 x Bad.", ".rem after", ".pause"});
    ASSERT_TRUE(UserMove("h5f7"));
    host.Calls.clear();
    EXPECT_EQ(flow.Next(), ScriptStop::Error);
    EXPECT_EQ(host.Calls, V{"error: 'x' is not a valid integer value."});
    EXPECT_EQ(g.TotalPoints, 0);
    // The next run starts after the failing line.
    EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_TRUE(host.Called("memo: after"));
}

TEST_F(Interpreter, ExpectedMoveWithoutTwoSquaresNeverMatches) {
    // Before any move LastMoveFrom and LastMoveTo are None; a bad expected move must not match
    // them.
    Script({".if zzzz x 5 No.", ".if e2 x 5 No.", ".if e2e4 x 5 No.", ".pause"});
    flow.Next();
    EXPECT_EQ(g.TotalPoints, 0);
}

TEST_F(Interpreter, MoveFormsAndTheBlackMovePrefix) {
    Script({".m e2-e4", ".m e7e5", ".m Ng1xf3+", ".m O-O", ".m", ".m +#", ".m Nb8-c6"});
    for (int i = 0; i < 7; ++i) EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_EQ(host.Memo,
              (V{"e2-e4", "...      e7e5", "Ng1xf3+", "O-O", "", "+#", "...      Nb8-c6"}));
    EXPECT_EQ(host.Board.Position().substr(0, 16), "r bqkbnrpppp ppp");
    EXPECT_TRUE(host.Called("refused: ----"));
    // Every move reaches the auxiliary board too.
    EXPECT_EQ(host.Aux.Position(), host.Board.Position());
    EXPECT_EQ(host.Count("aux: e2e4"), 1);
    EXPECT_EQ(g.LastMoveFrom, qv::B8);
    EXPECT_EQ(g.LastMoveTo, qv::C6);
}

TEST_F(Interpreter, CastlingTextFollowsTheSideToMove) {
    Script({".m 0-0", ".m 0-0", ".m 0-0-0"});
    host.Board.SetFen("r3k2r/5p2/8/8/8/8/8/R3K2R w KQkq - 0 1");
    host.Aux.SetFen("r3k2r/5p2/8/8/8/8/8/R3K2R w KQkq - 0 1");
    flow.Next();
    EXPECT_TRUE(host.Called("move: e1g1"));
    flow.Next();
    EXPECT_TRUE(host.Called("move: e8g8"));
    host.Board.SetFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    flow.Next();
    EXPECT_TRUE(host.Called("move: e8c8"));
}

TEST_F(Interpreter, PromotionLetterChoosesThePieceOnBothBoards) {
    Script({".m c7xb8=N", ".m a2-a1r", ".m h2-h3q", ".m c8c7", ".m d7d8Q"});
    const char* fen = "1r6/2PP3k/8/8/8/4K3/p6P/8 w - - 0 1";
    host.Board.SetFen(fen);
    host.Aux.SetFen(fen);
    for (int i = 0; i < 3; ++i) flow.Next();
    EXPECT_EQ(host.Board.Fen(), "1N6/3P3k/8/8/8/4K3/7P/r7 w - - 0 2");
    EXPECT_EQ(host.Aux.Position(), host.Board.Position());
    EXPECT_TRUE(host.Called("aux: c7b8n"));
    // A letter on a move that promotes nothing names no move.
    EXPECT_TRUE(host.Called("refused: ----"));
    EXPECT_EQ(host.Memo[2], "...      h2-h3q");
    flow.Next(); // c8c7: no piece there, refused as before
    flow.Next(); // without a letter later promotions still use the board's own piece
    EXPECT_EQ(host.Board.Position()[3], 'Q');
    EXPECT_EQ(host.Board.PromotionPiece, 'q');
}

TEST_F(Interpreter, BackAndForwardStepThroughTheRecord) {
    Script({".back", ".m e2e4", ".back", ".back", ".pause", ".forward", ".forward", ".pause"});
    flow.Next();
    flow.Next();
    EXPECT_EQ(host.Board.Position(), std::string(qv::InitialPosition));
    flow.Next();
    EXPECT_EQ(host.Board.Position()[qv::E4 - 1], 'P');
}

TEST_F(Interpreter, AddPointsAsksAndAddsOnlyWhenAccepted) {
    Script({".addpoints 5 Did you see it?", ".addpoints 10 Again?", ".addpoints x Bad", ".pause"});
    host.AcceptPoints = false;
    EXPECT_EQ(flow.Next(), ScriptStop::Error);
    EXPECT_TRUE(host.Called("addpoints: 5 Did you see it?"));
    EXPECT_EQ(g.TotalPoints, 0);
    EXPECT_EQ(g.AddPointsValue, 10);
    EXPECT_EQ(g.AddPointsText, "Again?");
    EXPECT_FALSE(g.AddPointsAccepted);
    EXPECT_EQ(host.Calls.back(), "error: 'x' is not a valid integer value.");
    Script({".addpoints 5 Yes?", ".addpoints -7 And?", ".pause"});
    host.AcceptPoints = true;
    flow.Next();
    EXPECT_EQ(g.TotalPoints, -2);
    EXPECT_EQ(host.Digits, "-02");
    EXPECT_FALSE(g.AddPointsAccepted);
    EXPECT_TRUE(host.Memo.empty());
}

TEST_F(Interpreter, ResultsFollowTheOutputModeAndEnableTheBoard) {
    Script({".1-0", ".memo", ".0-1", ".popup", ".draw", ".both", ".clearscore", ".pause"});
    g.TotalPoints = 7;
    host.BoardEnabled = false;
    host.YourTurn = true;
    flow.Next();
    EXPECT_EQ(host.Calls, (V{"memo: Black resigns (1-0)", "label6: Black resigns (1-0)",
                             "memo: White resigns (0-1)", "label6: Draw (1/2)"}));
    EXPECT_TRUE(host.BoardEnabled);
    EXPECT_FALSE(host.YourTurn);
    EXPECT_EQ(g.TotalPoints, 0);
    EXPECT_EQ(host.Digits, "000");
}

TEST_F(Interpreter, DiagramCommandsStopAndPassTheirWords) {
    Script({".board extra", ".arrow E2 E4 blue more", ".circle E4", ".struct", ".quitboard",
            ".square A1 green"});
    for (int i = 0; i < 6; ++i) EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_EQ(host.Calls, (V{"diagram: board", "diagram: arrow E2 E4 blue", "diagram: circle E4",
                             "diagram: struct", "diagram: quitboard", "diagram: square A1 green"}));
    EXPECT_FALSE(g.StructureOnly);
    host.DiagramError = "'X' is not a valid integer value";
    Script({".struct", ".circle EX red"});
    flow.Next();
    EXPECT_TRUE(g.StructureOnly);
    EXPECT_EQ(flow.Next(), ScriptStop::Error);
    EXPECT_EQ(host.Calls.back(), "error: 'X' is not a valid integer value.");
}

TEST_F(Interpreter, UnrecognisedCommandsAndDotWordsStopSilently) {
    Script({".unknown", ".", ". text", "..", ".// comment", ".rem after"});
    for (int i = 0; i < 4; ++i) EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);
    EXPECT_TRUE(host.Calls.empty());
    flow.Next();
    EXPECT_EQ(host.Calls, V{"memo: after"});
}

TEST_F(Interpreter, ProblemWithoutEndRunsIntoTheNextIndexLine) {
    Load({".# 1 A", ".rem one", ".# 2 B", ".rem two", ".end"});
    ASSERT_TRUE(flow.SelectProblem("1 A"));
    EXPECT_EQ(flow.Next(), ScriptStop::IndexLine);
    EXPECT_TRUE(host.NextEnabled);
    host.Calls.clear();
    EXPECT_EQ(flow.Next(), ScriptStop::ProblemEnded);
    EXPECT_EQ(host.Calls, V{"memo: two"}); // no window reset in between
}

TEST_F(Interpreter, EndOfFileStopsTheRunAndTheNextRunStartsAtTheTop) {
    Load({"Title page", ".# 1 A", ".rem one", ".rem two"});
    ASSERT_TRUE(flow.SelectProblem("1 A"));
    host.Calls.clear();
    EXPECT_EQ(flow.Next(), ScriptStop::EndOfFile);
    EXPECT_EQ(host.Calls, (V{"memo: one", "memo: two"})); // ".rem two" is not run twice
    EXPECT_EQ(flow.Next(), ScriptStop::WaitingForNext);   // the title page
    EXPECT_EQ(g.CurrentLine, "Title page");
    EXPECT_EQ(flow.Next(), ScriptStop::IndexLine);
}

TEST_F(Interpreter, FileWithoutAnyStoppingLineEndsEveryRun) {
    LoadBytes(std::string(50, '\r') + ".rem x\r" + ".// c\r");
    for (int i = 0; i < 3; ++i) {
        host.Memo.clear();
        EXPECT_EQ(flow.Next(), ScriptStop::EndOfFile);
        EXPECT_EQ(host.Memo.size(), 51u);
    }
    qv::Globales empty;
    qvtest::RecordingHost h;
    qv::ProblemFlow f(empty, h);
    empty.ProblemFile.OpenFromBytes("");
    empty.ProblemFileOpen = true;
    EXPECT_EQ(f.Next(), ScriptStop::EndOfFile);
}

TEST_F(Interpreter, PositionBlockCutShortByTheEndOfTheFile) {
    Script({".position", "tcadract", "pppppppp"});
    EXPECT_EQ(flow.Next(), ScriptStop::EndOfFile);
    EXPECT_EQ(host.Board.Position(), "rnbqkbnrpppppppp" + std::string(48, ' '));
}

TEST_F(Interpreter, NextDoesNothingWithoutAFile) {
    qv::Globales none;
    qvtest::RecordingHost h;
    qv::ProblemFlow f(none, h);
    EXPECT_EQ(f.Next(), ScriptStop::NotOpen);
    EXPECT_TRUE(h.Calls.empty());
}

} // namespace
