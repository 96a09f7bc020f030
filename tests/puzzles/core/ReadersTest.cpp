// The pieces under the import: line splitting, text clean-up and each reader.
#include "puzzles/core/EpdReader.h"
#include "puzzles/core/LichessReader.h"
#include "puzzles/core/LineReader.h"
#include "puzzles/core/PgnReader.h"
#include "puzzles/core/TextClean.h"
#include "script/core/TextEncoding.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace qv;

TEST(LineReader, EveryLineEndAndOverlongLinesAcrossRefills) {
    // A megabyte buffer: put a CR LF pair and an overlong line across its edge.
    std::string text = "a\r\nb\rc\n\nd";
    text += std::string((1 << 20) - text.size() - 1, 'x') + "\r\n" + "e\n";
    text += std::string(300, 'y') + "\nf";
    std::istringstream in(text);
    LineReader reader(in, 200);
    std::vector<std::string> lines;
    std::string_view line;
    bool tooLong = false;
    while (reader.Next(line, tooLong)) lines.push_back(tooLong ? "<long>" : std::string(line));
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "c", "", "<long>", "e", "<long>", "f"}));
    EXPECT_EQ(reader.BytesRead(), text.size());
}

TEST(TextClean, KeepsUtf8ReadsOtherBytesAsWindows1252AndFlattensControls) {
    EXPECT_EQ(CleanText("  Caf\xC3\xA9\t au\r\nlait \x1A end "), "Caf\xC3\xA9 au lait end");
    EXPECT_EQ(CleanText("Caf\xE9 \x93quoted\x94"), "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_TRUE(IsValidUtf8(CleanText(std::string("\xFF\xFE\x80\x81\xC0\xAF", 6))));
}

TEST(PgnReader, TagsMovetextCommentsVariationsAndRecordBounds) {
    std::istringstream in(
        "junk before the first record\n"
        "[Event \"Club \\\"Open\\\"\"] [Site \"?\"]\n[Date \"1923.??.??\"]\n"
        "[White \"Smith, A.\"]\n[Black \"?\"]\n[Termination \"mate in 2\"]\n"
        "[FEN \"6k1/5ppp/5q2/2b5/8/8/R4PPP/6K1 b - - 0 38\"]\n\n"
        "{Black to play} 38... Qxf2+! $1 (38... Qe5 {not this} (38... h6)) 39. Kh1\n"
        "; forced\n"
        "39...Qg1# {[a bracket in a comment]\n[not a tag]} 0-1 39. ignored\n"
        "[Event \"Second\"]\n\n1. e4 *\n"
        "[Event \"Third\" broken\n\n1. d4\n");
    PgnReader reader(in);
    PuzzleRecord r;
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.Ordinal, 1);
    EXPECT_EQ(r.Error, "");
    EXPECT_EQ(r.Title, "Smith, A. - ?, Club \"Open\" 1923, mate in 2");
    EXPECT_EQ(r.Players, "Smith, A. - ?");
    EXPECT_EQ(r.Fen, "6k1/5ppp/5q2/2b5/8/8/R4PPP/6K1 b - - 0 38");
    EXPECT_EQ(r.MateIn, 2);
    ASSERT_EQ(r.Moves.size(), 3u);
    EXPECT_EQ(r.Moves[0].Text, "Qxf2+!");
    EXPECT_EQ(r.Moves[2].Text, "Qg1#");
    EXPECT_EQ(r.Intro, (std::vector<std::string>{"Black to play"}));
    EXPECT_EQ(r.Moves[1].Comments, (std::vector<std::string>{"forced"}));
    EXPECT_EQ(r.Moves[2].Comments,
              (std::vector<std::string>{"[a bracket in a comment] [not a tag]"}));
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.Ordinal, 2);
    EXPECT_EQ(r.Title, "Second");
    ASSERT_EQ(r.Moves.size(), 1u);
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.Error, "broken tag pair");
    EXPECT_FALSE(reader.Next(r));
    EXPECT_EQ(reader.Recognised(), 2);
}

TEST(PgnReader, MateGoalsAsCollectionsWriteThem) {
    const std::pair<const char*, std::pair<int, char>> goals[] = {
        {"mate in 2", {2, 0}},
        {"Mate in 3.", {3, 0}},
        {"#4", {4, 0}},
        {"White mates in 2", {2, 'w'}},
        {"Black to play and mate in 3", {3, 'b'}},
        {"white to move and mates in two moves", {2, 'w'}},
        {"WHITE TO MATE IN 1", {1, 'w'}},
    };
    for (const auto& [text, expected] : goals) {
        int n = 0;
        char side = 'x';
        EXPECT_TRUE(ParseMateGoal(text, n, side)) << text;
        EXPECT_EQ(std::make_pair(n, side), expected) << text;
    }
    int n = 0;
    char side = 0;
    for (const char* text : {"normal", "mate in", "mate in 0", "mate in 99", "mate in 2 or 3",
                             "Black wins", "time forfeit", ""})
        EXPECT_FALSE(ParseMateGoal(text, n, side)) << text;
}

TEST(EpdReader, OperationsAndFullFenFields) {
    PuzzleRecord r;
    ASSERT_TRUE(ReadEpdLine("k7/pp6/8/8/8/8/8/3RR1K1 w - - 0 1 bm Rd8# Re8#; id \"back; rank\"; "
                            "c0 \"two mates\"; acd 12;",
                            r));
    EXPECT_EQ(r.Fen, "k7/pp6/8/8/8/8/8/3RR1K1 w - -");
    EXPECT_EQ(r.BestMoves, (std::vector<std::string>{"Rd8#", "Re8#"}));
    EXPECT_EQ(r.Title, "back; rank");
    EXPECT_EQ(r.Closing, (std::vector<std::string>{"two mates"}));
    PuzzleRecord am;
    ASSERT_TRUE(ReadEpdLine("4k3/8/8/8/8/8/4P3/4K3 w - - am e4;", am));
    EXPECT_EQ(am.AvoidMoves, (std::vector<std::string>{"e4"}));
    PuzzleRecord junk;
    EXPECT_FALSE(ReadEpdLine("this is not a position", junk));
    EXPECT_EQ(junk.Error, "not an EPD record");
}

TEST(LichessReader, HeaderInAnyOrderQuotedFieldsAndRowsWithoutHeader) {
    std::istringstream withHeader(
        "Moves,PuzzleId,Themes,FEN,Rating\n"
        "e2e4 e7e5,\"a,\"\"b\"\"\",fork pin,8/8/8/8/8/8/8/K6k w - - 0 1,1500\n"
        "\nbroken\n");
    LichessReader reader(withHeader);
    PuzzleRecord r;
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.Ordinal, 1);
    EXPECT_EQ(r.Fen, "8/8/8/8/8/8/8/K6k w - - 0 1");
    ASSERT_EQ(r.Moves.size(), 2u);
    EXPECT_TRUE(r.CoordinateMoves);
    EXPECT_EQ(r.PlayerStarts, 1u);
    EXPECT_EQ(r.Rating, 1500);
    EXPECT_EQ(r.Themes, (std::vector<std::string>{"fork", "pin"}));
    EXPECT_EQ(r.Title, "Puzzle a,\"b\", rating 1500: fork, pin");
    ASSERT_TRUE(reader.Next(r));
    EXPECT_EQ(r.Ordinal, 2);
    EXPECT_EQ(r.Error, "not a puzzle row");
    EXPECT_FALSE(reader.Next(r));

    std::istringstream bare("00sHx,q3k1nr/8/8/8/8/8/8/5K2 b k - 0 17,e8d7 a2e6,1760,80,83,72,"
                            "mate short,https://x,Italian\n");
    LichessReader noHeader(bare);
    ASSERT_TRUE(noHeader.Next(r));
    EXPECT_EQ(r.Title, "Puzzle 00sHx, rating 1760: mate, short");
    EXPECT_EQ(r.Themes, (std::vector<std::string>{"mate", "short"}));
}
