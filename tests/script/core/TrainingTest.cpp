// The training options of the problem flow: verdicts, tries, hints and banners.
#include "tests/script/core/ScriptFixture.h"

namespace {

using V = std::vector<std::string>;

// The worked example's turn, then a turn whose script rewards no move.
std::vector<std::string> TwoTurns() {
    std::vector<std::string> lines = qvtest::ItalianPosition;
    for (const char* l : {".plays white", ".*w", ".if h5f7 Qxf7 3 Mate.", ".if c4f7 Bxf7 1 Check.",
                          ".back", ".m Bc4xf7", ".*b", ".end"})
        lines.emplace_back(l);
    return lines;
}

class Training : public qvtest::ScriptFixture {
protected:
    void With(qv::TrainingOptions o) { flow.SetTrainingOptions(o); }
    bool CalledSince(std::size_t from, const std::string& line) const {
        return std::find(host.Calls.begin() + static_cast<std::ptrdiff_t>(from), host.Calls.end(),
                         line) != host.Calls.end();
    }
};

TEST_F(Training, DefaultsCallNoneOfTheNewHooks) {
    Script(TwoTurns());
    flow.Next();
    ASSERT_TRUE(UserMove("a2a3")); // wrong: one silent try, as always
    EXPECT_FALSE(flow.RetryPending());
    EXPECT_TRUE(host.NextEnabled);
    EXPECT_FALSE(flow.Hint());
    for (const std::string& c : host.Calls)
        for (const char* hook : {"verdict", "banner", "take-back", "hint"})
            EXPECT_NE(c.rfind(hook, 0), 0u) << c;
}

TEST_F(Training, VerdictsAtOnceAndClearedByTheNextTurn) {
    With({.InstantVerdict = true});
    Script(TwoTurns());
    flow.Next();
    ASSERT_TRUE(UserMove("c4f7")); // one point: a move that scores is correct
    EXPECT_EQ(host.Calls.back(), "verdict: Correct");
    flow.Next(); // .if, .back, .m
    const std::size_t mark = host.Calls.size();
    flow.Next(); // .*b: the verdict goes
    EXPECT_TRUE(CalledSince(mark, "verdict: "));
    ASSERT_TRUE(UserMove("e8e7")); // a turn that rewards nothing gets no verdict
    EXPECT_EQ(host.Count("verdict: Correct"), 1);
    EXPECT_EQ(host.Count("verdict: Not the move"), 0);

    Script(TwoTurns());
    flow.Next();
    ASSERT_TRUE(UserMove("g1f3"));
    EXPECT_EQ(host.Calls.back(), "verdict: Not the move");
    EXPECT_TRUE(host.NextEnabled);
}

TEST_F(Training, WrongTriesAreTakenBackAndCostAPointEach) {
    With({.TriesPerMove = 3});
    Script(TwoTurns());
    flow.Next();
    const std::string before = host.Board.Position();
    ASSERT_TRUE(UserMove("g1f3"));
    EXPECT_TRUE(flow.RetryPending());
    EXPECT_FALSE(host.NextEnabled); // Next waits for the next try
    EXPECT_EQ(g.TotalPoints, -1);
    EXPECT_EQ(host.Digits, "-01");
    ASSERT_TRUE(flow.TakeBackTry());
    EXPECT_FALSE(flow.TakeBackTry());
    EXPECT_EQ(host.Board.Position(), before);
    EXPECT_TRUE(host.Board.WhiteToMove());
    EXPECT_TRUE(host.BoardEnabled);
    EXPECT_TRUE(host.YourTurn);
    EXPECT_TRUE(host.ClockRunning);
    EXPECT_EQ(host.Border, qv::BorderWhite);
    EXPECT_FALSE(host.NextEnabled);

    ASSERT_TRUE(UserMove("h5f7")); // right at the second try: the script goes on with it
    EXPECT_FALSE(flow.RetryPending());
    EXPECT_TRUE(host.NextEnabled);
    EXPECT_EQ(host.Calls.back(), "info: Check Mate");
    flow.Next();
    EXPECT_EQ(g.TotalPoints, 2);
    const qv::TurnPlay& turn = flow.CurrentPlay()->Turns.at(0);
    EXPECT_EQ(turn.Tries, 2);
    EXPECT_EQ(turn.From, qv::G1); // the first try is what counts for solving
    EXPECT_FALSE(turn.FirstTryBest);
}

TEST_F(Training, LastTryGoesOnWithTheMoveAndWrongMatesAreNotAnnounced) {
    With({.TriesPerMove = 2});
    Script({".*w", ".if c5c7 Qc7 1 Stalemate is not the idea.", ".if c5a7 Qa7 5 Mate.", ".end"});
    host.Board.SetFen("k7/8/K7/2Q5/8/8/8/8 w - - 0 1");
    flow.Next();
    ASSERT_TRUE(UserMove("c5c8")); // mates, but the script wants another mate
    EXPECT_TRUE(flow.RetryPending());
    EXPECT_FALSE(host.Called("info: Check Mate"));
    ASSERT_TRUE(flow.TakeBackTry());
    ASSERT_TRUE(UserMove("c5d5")); // the last try
    EXPECT_FALSE(flow.RetryPending());
    EXPECT_TRUE(host.NextEnabled);
    EXPECT_EQ(g.TotalPoints, -1);
    EXPECT_EQ(host.Board.Position()[27], 'Q'); // d5 stays
}

TEST_F(Training, UnlimitedTriesAndTurnsThatRewardNothing) {
    With({.TriesPerMove = qv::TrainingOptions::UnlimitedTries});
    Script(TwoTurns());
    flow.Next();
    for (const char* m : {"a2a3", "b2b3", "g2g3", "h2h3"}) {
        ASSERT_TRUE(UserMove(m));
        ASSERT_TRUE(flow.TakeBackTry());
    }
    EXPECT_EQ(g.TotalPoints, -4);
    ASSERT_TRUE(UserMove("h5f7"));
    flow.Next();
    flow.Next();
    ASSERT_TRUE(UserMove("e8e7")); // this turn takes any move
    EXPECT_FALSE(flow.RetryPending());
    EXPECT_EQ(flow.CurrentPlay()->Tries(), 6);
}

TEST_F(Training, HintsOnlyDuringTheTurnTwoAtMostEachCostingAPoint) {
    With({.Hints = true});
    Script(TwoTurns());
    EXPECT_FALSE(flow.Hint());
    EXPECT_FALSE(host.HintAvailable);
    flow.Next();
    EXPECT_TRUE(host.HintAvailable);
    ASSERT_TRUE(flow.Hint());
    EXPECT_EQ(host.Calls.back(), "hint: h5");
    ASSERT_TRUE(flow.Hint());
    EXPECT_EQ(host.Calls.back(), "hint: h5f7");
    EXPECT_FALSE(host.HintAvailable);
    EXPECT_FALSE(flow.Hint());
    EXPECT_EQ(host.Digits, "-02");
    ASSERT_TRUE(UserMove("h5f7"));
    EXPECT_TRUE(host.Called("hints-clear"));
    EXPECT_FALSE(flow.Hint()); // the turn is over
    flow.Next();
    EXPECT_EQ(g.TotalPoints, 1);
    EXPECT_EQ(flow.CurrentPlay()->Hints(), 2);
    flow.Next();
    EXPECT_FALSE(flow.Hint()); // nothing to point at: the turn rewards no move
    EXPECT_FALSE(host.HintAvailable);
}

TEST_F(Training, BannersInsteadOfBoxesAndSelectionClearsEverything) {
    With({.InstantVerdict = true, .TriesPerMove = 2, .Hints = true, .AnnounceInWindow = true});
    Script(TwoTurns());
    flow.Next();
    ASSERT_TRUE(flow.Hint());
    ASSERT_TRUE(UserMove("h5f7"));
    EXPECT_TRUE(host.Called("banner: Check Mate"));
    EXPECT_FALSE(host.Called("info: Check Mate"));
    flow.Next();
    flow.Next();
    ASSERT_TRUE(UserMove("e8e7"));
    EXPECT_FALSE(host.Called("verdict: Not the move: try again"));

    // A wrong try pending when another problem is selected is dropped with its verdict.
    Script(TwoTurns());
    flow.Next();
    ASSERT_TRUE(UserMove("a2a3"));
    ASSERT_TRUE(flow.RetryPending());
    const std::size_t mark = host.Calls.size();
    ASSERT_TRUE(flow.SelectProblem("1 T"));
    EXPECT_FALSE(flow.RetryPending());
    EXPECT_TRUE(CalledSince(mark, "verdict: "));
    EXPECT_FALSE(flow.TakeBackTry());
}

} // namespace
