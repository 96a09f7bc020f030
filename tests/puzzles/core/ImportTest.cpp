// Whole imports: the scripts written for each format, the records skipped and
// filtered, and every generated problem played through the trainer's flow.
#include "tests/puzzles/core/PlayThrough.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace qv;
using qvtest::ExpectEveryProblemScores;
using qvtest::Import;

namespace {

ImportOptions Format(PuzzleFormat f, int points = 1) {
    ImportOptions o;
    o.Format = f;
    o.Points = points;
    return o;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

const char* const LichessRows =
    "PuzzleId,FEN,Moves,Rating,RatingDeviation,Popularity,NbPlays,Themes,GameUrl,OpeningTags\n"
    "00sHx,q3k1nr/1pp1nQpp/3p4/1P2p3/4P3/B1PP1b2/B5PP/5K2 b k - 0 17,e8d7 a2e6 d7d8 f7f8,1760,80,"
    "83,72,mate mateIn2 middlegame short,https://x/1,Italian_Game\n"
    "back1,k7/pp5p/8/8/8/8/8/3RR1K1 b - - 0 30,h7h6 d1d8,900,80,90,10,mate mateIn1 backRank,,\n"
    "promo,2r5/1P3k2/8/8/8/8/8/K7 b - - 0 50,f7e7 b7c8n,1400,80,90,10,promotion "
    "underPromotion,,\n"
    "bad01,k7/pp5p/8/8/8/8/8/3RR1K1 b - - 0 30,h7h6 d1d9,900,80,90,10,mate,,\n"
    "short,k7/pp5p/8/8/8/8/8/3RR1K1 b - - 0 30,h7h6,900,80,90,10,mate,,\n";

} // namespace

TEST(ImportLichess, ScriptsPlayThroughWithLeadInsMatesAndUnderPromotion) {
    const auto imported = Import(LichessRows, Format(PuzzleFormat::Lichess, 3));
    EXPECT_EQ(imported.Summary.Records, 5);
    EXPECT_EQ(imported.Summary.Imported, 3);
    EXPECT_EQ(imported.Entries, (std::vector<std::string>{
                                    "1 Puzzle 00sHx, rating 1760: mate, mateIn2, middlegame, short",
                                    "2 Puzzle back1, rating 900: mate, mateIn1, backRank",
                                    "3 Puzzle promo, rating 1400: promotion, underPromotion"}));
    EXPECT_EQ(imported.Skipped, (std::vector<std::pair<long, std::string>>{
                                    {4, "illegal move 31. d1d9"}, {5, "no solution"}}));
    const std::string& s = imported.Script;
    // The opponent's move first, then the board goes to the player's side.
    EXPECT_TRUE(Contains(s, ".plays black\r\n.m Ke8-d7\r\n.plays white\r\n.*w\r\n"
                            ".if a2e6 Be6+ 3 Correct.\r\n.back\r\n.m Ba2-e6+\r\n.m Kd7-d8\r\n"));
    // A second mate at the last move scores as well.
    EXPECT_TRUE(Contains(s, ".if d1d8 Rd8# 3 Correct.\r\n.if e1e8 Re8# 3 Also mate.\r\n"));
    EXPECT_TRUE(Contains(s, ".if b7c8 bxc8=N+ 3 Correct.\r\n.back\r\n.m b7xc8=N+\r\n.end\r\n"));
    EXPECT_EQ(s.find('\n'), s.find("\r\n") + 1);
    ExpectEveryProblemScores(imported, 3);
    int turns = 0;
    EXPECT_EQ(qvtest::Play(s, imported.Entries[1], {"e1e8"}, turns), 3);
}

TEST(ImportLichess, RatingAndThemeFiltersKeepTheSourceOrdinals) {
    ImportOptions o = Format(PuzzleFormat::Lichess);
    o.MinRating = 1000;
    auto imported = Import(LichessRows, o);
    EXPECT_EQ(imported.Entries.size(), 2u);
    EXPECT_EQ(imported.Entries[1].substr(0, 2), "3 ");
    o = Format(PuzzleFormat::Lichess);
    o.Themes = {"mate", "backRank"};
    o.Limit = 1;
    imported = Import(LichessRows, o);
    ASSERT_EQ(imported.Entries.size(), 1u);
    EXPECT_EQ(imported.Entries[0].substr(0, 2), "2 ");
    EXPECT_EQ(imported.Summary.Records, 2);
}

TEST(ImportPgn, MovesCommentsTitlesAndSkippedRecords) {
    const std::string pgn =
        "[Event \"Club\"]\n[Date \"1923.05.01\"]\n[White \"Smith\"]\n[Black \"Jones\"]\n"
        "[Termination \"mate in 2\"]\n[FEN \"6k1/5ppp/5q2/2b5/8/8/R4PPP/6K1 b - - 0 38\"]\n\n"
        "{Black to play.} 38... Qxf2+ $1 (38... Qe5) 39. Kh1 {forced} Qg1# {and mate} 0-1\n\n"
        // A move number of 0, no SetUp tag.
        "[FEN \"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 0\"]\n\n"
        "1... Qh4# *\n\n"
        "[Event \"Illegal\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n1. Kb3 *\n\n"
        "[Event \"Broken\"]\n[FEN \"8/8/8/8/8/8/8/K6 w - - 0 1\"]\n\n1. Kb2 *\n\n"
        "[Event \"Two white kings\"]\n[FEN \"8/8/8/8/8/8/8/K5KK w - - 0 1\"]\n\n1. Kb2 *\n\n"
        "[Event \"No moves\"]\n[Termination \"mate in 2\"]\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 "
        "1\"]\n\n*\n\n"
        // En passant: the double step is played first so that exd6 is legal on the board.
        "[Event \"En passant\"]\n[FEN \"4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 20\"]\n\n20. exd6 *\n";
    const auto imported = Import(pgn, Format(PuzzleFormat::Pgn));
    EXPECT_EQ(imported.Summary.Records, 7);
    EXPECT_EQ(imported.Summary.Imported, 3);
    ASSERT_EQ(imported.Entries.size(), 3u);
    EXPECT_EQ(imported.Entries[0], "1 Smith - Jones, Club 1923, mate in 2");
    EXPECT_EQ(imported.Entries[1], "2 Black to play");
    EXPECT_EQ(imported.Entries[2], "7 En passant");
    ASSERT_EQ(imported.Skipped.size(), 4u);
    EXPECT_EQ(imported.Skipped[0], (std::pair<long, std::string>{3, "illegal move 1. Kb3"}));
    EXPECT_TRUE(Contains(imported.Skipped[1].second, "broken FEN"));
    EXPECT_EQ(imported.Skipped[2].second, "impossible position: White has 3 kings");
    EXPECT_EQ(imported.Skipped[3],
              (std::pair<long, std::string>{6, "no mate in 2 (the solver finds none)"}));
    const std::string& s = imported.Script;
    EXPECT_TRUE(
        Contains(s, ".plays black\r\n.players Smith - Jones\r\n.rem Black to play.\r\n.*b\r\n"));
    EXPECT_TRUE(Contains(s, ".m Qf6xf2+\r\n.m Kg1-h1\r\n.rem forced\r\n.*b\r\n"));
    // Every mate at the last move: Qg1 from the source, Qe1 and Qf1 found.
    EXPECT_TRUE(Contains(s, ".if f2g1 Qg1# 1 Correct.\r\n"));
    EXPECT_TRUE(Contains(s, ".if f2e1 Qe1# 1 Also mate.\r\n"));
    EXPECT_TRUE(Contains(s, ".if f2f1 Qf1# 1 Also mate.\r\n"));
    EXPECT_TRUE(Contains(s, ".m Qf2-g1#\r\n.rem and mate\r\n.end\r\n"));
    EXPECT_TRUE(Contains(s, ".plays black\r\n.m d7-d5\r\n.plays white\r\n.*w\r\n"));
    ExpectEveryProblemScores(imported, 1);
}

TEST(ImportPgn, EveryKeyOfAMateScoresAndGoalsWithoutMovesAreSolved) {
    // Two keys of a mate in 2: Rd8+ (the source's) and Qe8+.
    const std::string fen = "[FEN \"2r3k1/5ppp/8/8/8/8/3RQPPP/3RQ1K1 w - - 0 1\"]\n";
    const std::string pgn =
        "[Event \"Two keys\"]\n" + fen + "\n1. Rd8+ Rxd8 2. Rxd8# *\n\n" +
        "[Event \"Goal\"]\n[Termination \"White mates in 2\"]\n" + fen + "\n*\n\n" +
        "[Event \"Wrong side\"]\n[Termination \"Black mates in 2\"]\n" + fen + "\n*\n";
    const auto imported = Import(pgn, Format(PuzzleFormat::Pgn));
    ASSERT_EQ(imported.Entries.size(), 2u);
    EXPECT_EQ(imported.Skipped,
              (std::vector<std::pair<long, std::string>>{
                  {3, "the goal says Black mates, but the other side is to move"}}));
    const std::vector<std::vector<std::string>> keys = {{"d2d8", "e2e8"}, {"d1d8"}};
    for (const std::string& entry : imported.Entries) {
        EXPECT_EQ(qvtest::AcceptedMoves(imported.Script, entry), keys) << entry;
        int turns = 0;
        EXPECT_EQ(qvtest::Play(imported.Script, entry, {"e2e8"}, turns), 2) << entry;
    }
    EXPECT_TRUE(Contains(imported.Script, ".if e2e8 Qe8+ 1 Also forces mate.\r\n"));
    // The goal's script plays the first key's main line.
    EXPECT_TRUE(Contains(imported.Script, ".# 2 Goal, White mates in 2\r\n"));
    EXPECT_TRUE(Contains(imported.Script, ".m Rd2-d8+\r\n.m Rc8xd8\r\n.*w\r\n"));
    ExpectEveryProblemScores(imported, 1);

    // Without the solver only the source's key scores, and a goal is not solved.
    ImportOptions o = Format(PuzzleFormat::Pgn);
    o.SolveMates = false;
    const auto plain = Import(pgn, o);
    ASSERT_EQ(plain.Entries.size(), 1u);
    EXPECT_EQ(qvtest::AcceptedMoves(plain.Script, plain.Entries[0]),
              (std::vector<std::vector<std::string>>{{"d2d8"}, {"d1d8"}}));
    EXPECT_EQ(plain.Skipped[0].second, "a mate in 2 without moves (solving is off)");
}

TEST(ImportEpd, BestMovesAvoidedMovesAndComments) {
    const std::string epd =
        "6k1/5ppp/5q2/2b5/8/8/R4PPP/6K1 b - - bm Qxf2+; id \"queen.1\"; c0 \"Bishop and queen.\";\n"
        "4k3/8/8/8/8/8/4P3/4K3 w - - am e4 Kd2; id \"avoid.2\";\n"
        "k7/pp6/8/8/8/8/8/3RR1K1 w - - bm Rd8# Re8#;\n"
        "4k3/8/8/8/8/8/4P3/4K3 w - - bm e5; id \"illegal\";\n"
        "\n"
        "4k3/8/8/8/8/8/4P3/4K3 w - - id \"nothing to do\";\n";
    const auto imported = Import(epd, Format(PuzzleFormat::Epd, 2));
    EXPECT_EQ(imported.Summary.Records, 5);
    EXPECT_EQ(imported.Entries,
              (std::vector<std::string>{"1 queen.1", "2 avoid.2", "3 White to play"}));
    EXPECT_EQ(imported.Skipped, (std::vector<std::pair<long, std::string>>{
                                    {4, "illegal bm move e5"}, {5, "no solution"}}));
    const std::string& s = imported.Script;
    EXPECT_TRUE(Contains(s, ".m Qf6xf2+\r\n.rem Bishop and queen.\r\n.end\r\n"));
    // am only: every other legal move scores; e2e4 and e1d2 do not.
    EXPECT_FALSE(Contains(s, ".if e2e4"));
    EXPECT_FALSE(Contains(s, ".if e1d2"));
    EXPECT_TRUE(Contains(s, ".if e2e3 e3 2 Correct.\r\n"));
    EXPECT_TRUE(Contains(s, ".rem The moves to avoid were e4 or Kd2.\r\n.end\r\n"));
    EXPECT_TRUE(Contains(s, ".if d1d8 Rd8# 2 Correct.\r\n.if e1e8 Re8# 2 Correct.\r\n"));
    ExpectEveryProblemScores(imported, 2);
    int turns = 0;
    EXPECT_EQ(qvtest::Play(s, imported.Entries[1], {"e2e4"}, turns), 0);
}

TEST(ImportHostile, BinaryJunkAndOverlongRecordsNeverStopTheRest) {
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) % 256);
    for (PuzzleFormat f : {PuzzleFormat::Pgn, PuzzleFormat::Epd, PuzzleFormat::Lichess}) {
        const auto imported = Import(junk, Format(f));
        EXPECT_EQ(imported.Summary.Imported, 0);
        EXPECT_TRUE(imported.Script.empty());
    }
    // Junk around good records, and a comment of two megabytes.
    const std::string pgn = junk + "\n[FEN \"8/8/8/8/8/8/8/K6k w - - 0 1\"]\n\n1. Kb2 *\n" +
                            "[Event \"huge\"]\n\n{" + std::string(2 << 20, 'c') + "} 1. e4 *\n" +
                            "[Event \"junk\"]\n\n" + junk +
                            "\n[FEN \"8/8/8/8/8/8/8/K6k b - - 0 1\"]\n\n1... Kg2 *\n";
    const auto imported = Import(pgn, Format(PuzzleFormat::Pgn));
    EXPECT_EQ(imported.Summary.Imported, 2);
    EXPECT_EQ(imported.Summary.Records, 4);
    ASSERT_EQ(imported.Skipped.size(), 2u);
    EXPECT_EQ(imported.Skipped[0], (std::pair<long, std::string>{2, "record too long"}));
    EXPECT_EQ(imported.Entries[1], "4 Black to play");
    ExpectEveryProblemScores(imported, 1);
}

TEST(ImportSamples, TheClassicsImportCleanlyAndPlayToFullPoints) {
    std::ifstream in(QV_SAMPLES_DIR "/classics.pgn", std::ios::binary);
    ASSERT_TRUE(in);
    std::stringstream text;
    text << in.rdbuf();
    const auto imported = Import(text.str(), Format(PuzzleFormat::Pgn));
    EXPECT_TRUE(imported.Skipped.empty());
    EXPECT_EQ(imported.Summary.Imported, imported.Summary.Records);
    EXPECT_GE(imported.Summary.Imported, 30);
    ExpectEveryProblemScores(imported, 1);
}
