// The read-ahead of a turn's scoring lines, problem outlines and hashes, and the
// play-through that the problem flow follows.
#include "script/core/ProblemOutline.h"
#include "tests/script/core/ScriptFixture.h"

namespace {

using V = std::vector<std::string>;

qv::ProblemTextFile FileOf(const V& lines, const std::string& lineEnd = "\r\n") {
    std::string bytes;
    for (const auto& l : lines) bytes += l + lineEnd;
    qv::ProblemTextFile f;
    f.OpenFromBytes(bytes);
    return f;
}

TEST(ReadAhead, TurnEndsAtTheNextStoppingCommandAndSumsLinesOfOneMove) {
    const auto f = FileOf({".*w", ".if h5f7 Qxf7 3 Mate.", "", ".if c4f7 Bxf7 1 Check.",
                           ".if c4f7 Bxf7 +1 Again.", ".if e2e x 9", ".if g1f3 Nf3 x Bad.", ".back",
                           ".rem r", ".m Qh5xf7", ".if a2a3 a3 7"});
    const qv::TurnAnswers t = qv::ReadTurnAhead(f, 1);
    ASSERT_EQ(t.Lines.size(), 3u); // malformed move and points words are left out
    EXPECT_EQ(t.Lines[0].Comment, " Mate.");
    EXPECT_EQ(t.Lines[1].Line, 3u);
    EXPECT_EQ(t.PointsFor(qv::C4, qv::F7), 2);
    EXPECT_EQ(t.BestPoints(), 3);
    EXPECT_TRUE(t.IsBest(qv::H5, qv::F7));
    EXPECT_FALSE(t.IsBest(qv::C4, qv::F7));
    EXPECT_TRUE(t.Scores(qv::C4, qv::F7));
    EXPECT_FALSE(t.Scores(qv::A2, qv::A3)); // behind the .m
    ASSERT_NE(t.BestAnswer(), nullptr);
    EXPECT_EQ(t.BestAnswer()->From, qv::H5);
}

TEST(ReadAhead, WithoutPositivePointsEveryUnnamedMoveIsBest) {
    const auto f = FileOf({".*b", ".if e7e5 e5 -1 Too slow.", ".if d7d5 d5 0 Fine.", ".pause"});
    const qv::TurnAnswers t = qv::ReadTurnAhead(f, 1);
    EXPECT_EQ(t.BestPoints(), 0);
    EXPECT_TRUE(t.IsBest(qv::D7, qv::D5));
    EXPECT_TRUE(t.IsBest(qv::G8, qv::F6));
    EXPECT_FALSE(t.IsBest(qv::E7, qv::E5));
    EXPECT_EQ(t.BestAnswer(), nullptr);
    EXPECT_TRUE(qv::ReadTurnAhead(f, f.LineCount()).Lines.empty());
}

// ReadsOn must agree with the interpreter on every command: a .rem after it is
// reached in the same run exactly when the interpreter reads on.
class ReadsOnAgreement : public qvtest::ScriptFixture {};

TEST_F(ReadsOnAgreement, EveryCommand) {
    const V commands = {".plays white",
                        ".players A - B",
                        ".rem x",
                        ".ontop white",
                        ".back",
                        ".forward",
                        ".popup",
                        ".memo",
                        ".both",
                        ".// c",
                        ".if e2e4 e4 1",
                        ".1-0",
                        ".0-1",
                        ".draw",
                        ".clearscore",
                        ".addpoints 1 Add?",
                        ".m e2e4",
                        ".pause",
                        ".*w",
                        ".*b",
                        ".end",
                        ".board",
                        ".struct",
                        ".quitboard",
                        ".arrow E2 E4 red",
                        ".circle E4 red",
                        ".square E4 red",
                        ".unknown",
                        ".# 2 Next"};
    for (const std::string& cmd : commands) {
        Script({cmd, ".rem after"});
        flow.Next();
        const bool reached = !host.Memo.empty() && host.Memo.back() == "after";
        EXPECT_EQ(reached, qv::ReadsOn(qv::CommandWord(cmd))) << cmd;
    }
    auto withPosition = qvtest::ItalianPosition;
    withPosition.push_back(".rem after");
    Script(withPosition);
    flow.Next();
    EXPECT_EQ(host.Memo.back(), "after");
    EXPECT_TRUE(qv::ReadsOn("position"));
}

TEST(Outline, TurnsBestScoreAndHash) {
    V lines = {
        "notes",         ".# 1 Two turns", ".position",  "11111111", "11111111",        "11111111",
        "11111111",      "11111111",       "11111111",   "11111111", "11111111",        ".*w",
        ".if e2e4 e4 2", ".if d2d4 d4 1",  ".m e7e5",    ".*w",      ".if g1f3 Nf3 -1", ".end",
        ".*w",           ".if a2a3 a3 5",  ".# 2 Other", ".*b",      ".if e7e5 e5 4",   ".end"};
    const auto f = FileOf(lines);
    const qv::ProblemOutline o = qv::OutlineProblem(f, 2);
    ASSERT_EQ(o.Turns.size(), 2u); // the turn after .end is never reached
    EXPECT_EQ(o.BestScore(), 2);   // 2 + 0
    EXPECT_EQ(o.EndLine, 20u);
    EXPECT_EQ(o.ScriptHash.size(), 16u);

    // Line ends do not change the hash; any edit of the script does, even after .end.
    EXPECT_EQ(qv::OutlineProblem(FileOf(lines, "\r"), 2).ScriptHash, o.ScriptHash);
    lines[19] = ".if a2a3 a3 6";
    EXPECT_NE(qv::OutlineProblem(FileOf(lines), 2).ScriptHash, o.ScriptHash);
}

TEST(Outline, DigestsFollowTheIndexAndDuplicatesShareTheFirstScript) {
    const auto f = FileOf(
        {".# 1 A", ".rem a", ".end", ".# 2 B", ".rem b", ".# 1 A", ".rem c", ".#  1 A", ".rem d"});
    const auto d = qv::DigestProblems(f);
    ASSERT_EQ(d.size(), 4u);
    EXPECT_EQ(d[3].ScriptHash, d[0].ScriptHash); // also found by the key ".# 1 A"
    EXPECT_EQ(d[1].Entry, "2 B");
    EXPECT_EQ(d[1].Label, "2");
    EXPECT_EQ(d[1].Title, "B");
    EXPECT_EQ(d[0].ScriptHash, qv::ScriptTextHash(f, 1, 3));
    EXPECT_EQ(d[2].ScriptHash, d[0].ScriptHash);
    EXPECT_NE(d[1].ScriptHash, d[0].ScriptHash);
    EXPECT_EQ(qv::OutlineProblem(f, 1).ScriptHash, d[0].ScriptHash);
}

// Keeps every play the flow reports.
struct PlayLog : qv::PlayListener {
    int Started = 0;
    std::vector<qv::ProblemPlay> Finished;
    void PlayStarted(const qv::ProblemPlay&) override { ++Started; }
    void PlayFinished(const qv::ProblemPlay& p) override { Finished.push_back(p); }
};

class Play : public qvtest::ScriptFixture {
protected:
    PlayLog log;
    Play() { flow.SetPlayListener(&log); }
    // Two turns with a script move between them; White's king's pawn, then its knight.
    void TwoTurns() {
        Script({".plays white", ".*w", ".if e2e4 e4 2 Good.", ".if d2d4 d4 1 Fine.", ".back",
                ".m e2e4", ".m e7e5", ".*w", ".if g1f3 Nf3 3 Best.", ".end"});
    }
    void Run(const V& answers) {
        std::size_t next = 0;
        for (int i = 0; i < 50 && host.NextEnabled; ++i)
            if (flow.Next() == qv::ScriptStop::UserTurn) {
                if (next == answers.size()) return;
                ASSERT_TRUE(UserMove(answers[next++]));
            }
    }
};

TEST_F(Play, BestAnswersAtEveryTurnSolveTheProblem) {
    TwoTurns();
    EXPECT_EQ(log.Started, 1);
    Run({"e2e4", "g1f3"});
    ASSERT_EQ(log.Finished.size(), 1u);
    const qv::ProblemPlay& p = log.Finished[0];
    EXPECT_TRUE(p.Ended);
    EXPECT_TRUE(p.Solved());
    EXPECT_EQ(p.Tries(), 2); // the script's own moves are no answers
    EXPECT_EQ(p.Points, 5);
    EXPECT_EQ(p.Outline.BestScore(), 5);
    EXPECT_EQ(p.Label, "1");
    EXPECT_EQ(p.Title, "T");
    EXPECT_EQ(flow.CurrentPlay(), nullptr);
}

TEST_F(Play, AScoringButNotBestAnswerFails) {
    TwoTurns();
    Run({"d2d4", "g1f3"});
    ASSERT_EQ(log.Finished.size(), 1u);
    EXPECT_FALSE(log.Finished[0].Solved());
    EXPECT_EQ(log.Finished[0].Points, 4);
    EXPECT_EQ(log.Finished[0].Turns[0].From, qv::D2);
}

TEST_F(Play, SelectingAnotherProblemAbandonsThePlay) {
    TwoTurns();
    Run({"e2e4"}); // stops at the second turn
    ASSERT_NE(flow.CurrentPlay(), nullptr);
    ASSERT_TRUE(flow.SelectProblem("1 T"));
    ASSERT_EQ(log.Finished.size(), 1u);
    EXPECT_FALSE(log.Finished[0].Ended);
    EXPECT_TRUE(log.Finished[0].Attempted());
    EXPECT_FALSE(log.Finished[0].Solved()); // the second turn was never answered

    // Looked at without a move: finished, but no attempt.
    flow.FinishPlay();
    ASSERT_EQ(log.Finished.size(), 2u);
    EXPECT_FALSE(log.Finished[1].Attempted());
}

TEST_F(Play, ProblemWithoutEndFinishesAtTheNextIndexLine) {
    Load({".# 1 A", ".rem demo", ".# 2 B", ".end"});
    ASSERT_TRUE(flow.SelectProblem("1 A"));
    EXPECT_EQ(flow.Next(), qv::ScriptStop::IndexLine);
    ASSERT_EQ(log.Finished.size(), 1u);
    EXPECT_TRUE(log.Finished[0].Solved()); // no turns: reaching its end is enough
    flow.Next();                           // runs on into problem 2: no play of its own
    EXPECT_EQ(log.Finished.size(), 1u);
}

} // namespace
