// UCI lines read, scores and lines written for the user, and the position an engine gets.
#include "analysis/core/AnalysisText.h"
#include "analysis/core/UciParser.h"
#include "analysis/core/WinningChances.h"
#include "board/core/BoardModel.h"

#include <gtest/gtest.h>

namespace qv::analysis {
namespace {

BoardState FromFen(const char* fen) {
    BoardModel board;
    EXPECT_TRUE(board.SetFen(fen)) << fen;
    return board.State();
}

TEST(WinningChances, TheSecondMoveIsAboutAsGoodWithinSevenTenths) {
    EXPECT_DOUBLE_EQ(WinningChances({false, 0}), 0.0);
    EXPECT_NEAR(WinningChances({false, 300}), 0.5023, 1e-4);
    EXPECT_NEAR(WinningChances({false, -300}), -0.5023, 1e-4);
    EXPECT_EQ(WinningChances({true, 3}), 1.0);
    EXPECT_EQ(WinningChances({true, -1}), -1.0);
    EXPECT_EQ(WinningChances({true, 0}), -1.0); // mated already
    // Both winning or both level: about as good.
    EXPECT_TRUE(AboutAsGood({true, 2}, {false, 900}));
    EXPECT_TRUE(AboutAsGood({false, 40}, {false, 10}));
    // A won game against a level one: the best is the only solution.
    EXPECT_FALSE(AboutAsGood({true, 2}, {false, 0}));
    EXPECT_FALSE(AboutAsGood({false, 480}, {false, 0})); // 0.708 apart
    EXPECT_TRUE(AboutAsGood({false, 470}, {false, 0}));  // 0.699 apart
    EXPECT_TRUE(AboutAsGood({false, -200}, {false, -250}));
}

TEST(UciParser, InfoLinesWithAScoreAndALine) {
    AnalysisInfo info;
    ASSERT_TRUE(ParseInfoLine("info depth 12 seldepth 18 multipv 2 score cp -35 nodes 123456 "
                              "nps 900000 time 137 pv e2e4 e7e5 g1f3 bmc 0.5",
                              info));
    EXPECT_EQ(info.Depth, 12);
    EXPECT_EQ(info.MultiPv, 2);
    EXPECT_EQ(info.Score, (EngineScore{false, -35}));
    EXPECT_EQ(info.Nodes, 123456);
    EXPECT_EQ(info.Pv, (std::vector<std::string>{"e2e4", "e7e5", "g1f3"}));

    ASSERT_TRUE(ParseInfoLine("info  depth 3\tscore mate -2 pv a7a8q b1a1\r", info));
    EXPECT_EQ(info.Score, (EngineScore{true, -2}));
    EXPECT_EQ(info.MultiPv, 1);
    EXPECT_EQ(info.Pv.back(), "b1a1");

    // Lines the user should not see, and garbage: rejected, the last info kept.
    for (const char* line : {
             "info depth 5 currmove e2e4 currmovenumber 1",
             "info depth 9 score cp 20 lowerbound pv e2e4",
             "info depth 9 score cp 20 upperbound pv e2e4",
             "info depth 9 score cp pv e2e4",
             "info depth x score cp 1 pv e2e4",
             "info depth 9 score cp 12abc pv e2e4",
             "info depth 9 score cp 1 pv",
             "info depth 9 score cp 1 pv zz99",
             "info string depth 9 score cp 1 pv e2e4",
             "info depth",
             "bestmove e2e4",
             "",
             "\x01\xff garbage",
         }) {
        EXPECT_FALSE(ParseInfoLine(line, info)) << line;
    }
    EXPECT_EQ(info.Depth, 3);
}

TEST(UciParser, BestMoveAndName) {
    std::string move = "x";
    EXPECT_TRUE(ParseBestMoveLine("bestmove e7e8q ponder a2a1", move));
    EXPECT_EQ(move, "e7e8q");
    EXPECT_TRUE(ParseBestMoveLine("bestmove (none)", move));
    EXPECT_EQ(move, "");
    EXPECT_FALSE(ParseBestMoveLine("bestmove", move));
    EXPECT_FALSE(ParseBestMoveLine("bestmove e9e4", move));
    EXPECT_FALSE(ParseBestMoveLine("info bestmove e2e4", move));

    std::string name;
    EXPECT_TRUE(ParseIdName("id name Fake Engine 1.0  \r", name));
    EXPECT_EQ(name, "Fake Engine 1.0");
    EXPECT_FALSE(ParseIdName("id author Someone", name));
}

TEST(AnalysisText, ScoresFromWhitesViewInPawnsOrMates) {
    EXPECT_EQ(ScoreText({false, 125}, true), "+1.25");
    EXPECT_EQ(ScoreText({false, 125}, false), "-1.25");
    EXPECT_EQ(ScoreText({false, -7}, true), "-0.07");
    EXPECT_EQ(ScoreText({false, 0}, false), "0.00");
    EXPECT_EQ(ScoreText({true, 3}, true), "mate in 3");
    EXPECT_EQ(ScoreText({true, 3}, false), "-mate in 3");
    EXPECT_EQ(ScoreText({true, -2}, false), "mate in 2");
    EXPECT_EQ(ScoreText({true, 0}, true), "-mate in 0");

    EXPECT_EQ(ScoreFromSearch(9999), (EngineScore{true, 1}));
    EXPECT_EQ(ScoreFromSearch(9995), (EngineScore{true, 3}));
    EXPECT_EQ(ScoreFromSearch(-9998), (EngineScore{true, -1}));
    EXPECT_EQ(ScoreFromSearch(-10000), (EngineScore{true, 0}));
    EXPECT_EQ(ScoreFromSearch(-450), (EngineScore{false, -450}));
}

TEST(AnalysisText, LinesAreNumberedAndEndAtTheFirstIllegalMove) {
    const BoardState start = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    EXPECT_EQ(LineText(start, {"e2e4", "e7e5", "g1f3"}), "1. e4 e5 2. Nf3");
    EXPECT_EQ(LineText(start, {"e2e4", "e7e5", "g1f3"}, 2), "1. e4 e5");
    EXPECT_EQ(LineText(start, {"e2e4", "e2e4", "g1f3"}), "1. e4");
    EXPECT_EQ(LineText(start, {"zz"}), "");
    const BoardState black = FromFen("4k3/P7/8/8/8/8/8/4K3 b - - 0 12");
    EXPECT_EQ(LineText(black, {"e8d7", "a7a8n", "d7c6"}), "12... Kd7 13. a8=N Kc6");
    EXPECT_EQ(LineText(black, {"e8d7", "a7a8"}), "12... Kd7"); // promotion without a piece
}

TEST(AnalysisText, EnginePositionDropsRightsThatCannotBeUsed) {
    // A board keeps all four rights whatever stands where; the engine gets only real ones.
    BoardState b = FromFen("r3k3/8/8/8/3pP3/8/8/4K2R b KQkq e3 0 1");
    EXPECT_EQ(EngineFen(b), "r3k3/8/8/8/3pP3/8/8/4K2R b Kq e3 0 1");
    b.EnPassant = D3; // no pawn passed over d3
    EXPECT_EQ(EngineFen(b), "r3k3/8/8/8/3pP3/8/8/4K2R b Kq - 0 1");

    EXPECT_EQ(WhyNotAnalysable(b), "");
    EXPECT_NE(WhyNotAnalysable(FromFen("8/8/8/8/8/8/8/K7 w - - 0 1")), "");
    EXPECT_NE(WhyNotAnalysable(FromFen("4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1")), "");
    EXPECT_NE(WhyNotAnalysable(FromFen("4k3/8/8/8/8/8/8/P3K3 w - - 0 1")), "");
}

} // namespace
} // namespace qv::analysis
