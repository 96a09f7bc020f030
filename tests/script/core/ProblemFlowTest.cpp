// Selecting a problem, the end of a move on the board, and files that are not problem files.
#include "tests/script/core/ScriptFixture.h"

#include <random>

namespace {

using qv::ScriptStop;
using V = std::vector<std::string>;

class Flow : public qvtest::ScriptFixture {};

TEST_F(Flow, SelectingAProblemResetsTheWindowAndFindsItsScript) {
    Load({"notes", ".# 1 First", ".rem one", ".end", ".# 2 Second", ".rem two", ".end"});
    host.Label3 = "players stay";
    host.Memo = {"old"};
    g.TotalPoints = 12;
    host.Digits = "012";
    host.WhiteOnTop = true;
    host.Board.MakeMove(qv::E2, qv::E4);
    host.Calls.clear();
    ASSERT_TRUE(flow.SelectProblem("2 Second"));
    EXPECT_EQ(host.Calls, (V{"memo-clear", "label2: ", "label6: ", "memo: 2 Second"}));
    EXPECT_EQ(host.Memo, V{"2 Second"});
    EXPECT_EQ(host.Label3, "players stay");
    EXPECT_EQ(host.Board.Position(), std::string(qv::InitialPosition));
    EXPECT_EQ(g.TotalPoints, 0);
    EXPECT_EQ(host.Digits, "000");
    EXPECT_EQ(g.ProblemTitle, "2 Second");
    EXPECT_TRUE(host.NextEnabled);
    EXPECT_TRUE(host.WhiteOnTop); // orientation is the script's business
    flow.Next();
    EXPECT_EQ(host.Memo.back(), "two");
}

TEST_F(Flow, SelectingTheSameEntryTwiceRestartsTheProblem) {
    Load({".# 1 A", ".rem one", ".pause", ".rem two", ".end"});
    ASSERT_TRUE(flow.SelectProblem("1 A"));
    flow.Next();
    flow.Next();
    ASSERT_TRUE(flow.SelectProblem("1 A"));
    flow.Next();
    EXPECT_EQ(host.Memo, (V{"1 A", "one"}));
}

TEST_F(Flow, ProblemThatCannotBeFoundAgainIsReported) {
    Load({".#  4 Title", ".rem x"});
    host.NextEnabled = true;
    EXPECT_FALSE(flow.SelectProblem("4 Title"));
    EXPECT_FALSE(host.NextEnabled);
    EXPECT_EQ(host.Calls.back(), "error: " + qv::ProblemNotFoundMessage("4 Title"));
    EXPECT_TRUE(host.Memo.empty());
}

TEST_F(Flow, OutputModesSurviveSelectingAnotherProblem) {
    Load({".# 1 A", ".popup", ".end", ".# 2 B", ".1-0", ".end"});
    ASSERT_TRUE(flow.SelectProblem("1 A"));
    flow.Next();
    ASSERT_TRUE(flow.SelectProblem("2 B"));
    host.Calls.clear();
    flow.Next();
    EXPECT_EQ(host.Calls, V{"label6: Black resigns (1-0)"});
}

TEST_F(Flow, MateAndStalemateMovesEndTheTurnThenInform) {
    Script({".*w"});
    host.Board.SetFen("k7/8/K7/2Q5/8/8/8/8 w - - 0 1");
    flow.Next();
    ASSERT_TRUE(UserMove("c5c7")); // stalemate
    EXPECT_TRUE(host.NextEnabled);
    EXPECT_FALSE(host.ClockRunning);
    EXPECT_EQ(host.Calls.back(), "info: Draw");
    host.Board.SetFen("k7/8/K7/2Q5/8/8/8/8 w - - 0 1");
    ASSERT_TRUE(UserMove("c5c8"));
    EXPECT_EQ(host.Calls.back(), "info: Check Mate");
}

// Files that are not problem files: every run ends, nothing crashes.
TEST_F(Flow, HostileFilesRunToAStop) {
    std::mt19937 rng(7);
    std::string binary;
    for (int i = 0; i < 20000; ++i) binary += static_cast<char>(rng() & 0xFF);
    const std::string enormous = ".rem " + std::string(2'000'000, 'x');
    const std::string noStop =
        std::string(".rem a\r\n.// b\r\n\r\n.if e2e4 x 1\r\n.ontop white\r\n");
    const std::string dots = std::string(5000, '.') + "\r" + ".position\r" + std::string(300, 'P');
    for (const std::string& bytes :
         {binary, enormous, noStop, dots, std::string("\x1A"), std::string(".position"),
          std::string(".m"), std::string(".if")}) {
        LoadBytes(bytes);
        for (int press = 0; press < 50; ++press) {
            const ScriptStop stop = flow.Next();
            EXPECT_NE(stop, ScriptStop::NotOpen);
        }
    }
    // One enormous line reaches the memo whole.
    LoadBytes(enormous);
    host.Memo.clear();
    flow.Next();
    ASSERT_EQ(host.Memo.size(), 1u);
    EXPECT_EQ(host.Memo[0].size(), 2'000'000u);
}

} // namespace
