// Word rules, command words, row lines, move text, number conversion and the points digits.
#include "script/core/ScriptWords.h"
#include "script/core/ScriptInterpreter.h"

#include <gtest/gtest.h>

namespace {

TEST(Words, OnlyTheSpaceSeparatesWords) {
    const std::string line = "  .if\th5f7  Qxf7 3   Mate here.  ";
    EXPECT_EQ(qv::WordCount(line), 5);
    EXPECT_EQ(qv::Word(line, 1), ".if\th5f7");
    EXPECT_EQ(qv::Word(line, 2), "Qxf7");
    EXPECT_EQ(qv::Word(line, 6), "");
    EXPECT_EQ(qv::Word(line, 0), "");
    EXPECT_EQ(qv::RestFrom(line, 3), "3   Mate here.  ");
    EXPECT_EQ(qv::RestFrom(line, 6), "");
    EXPECT_EQ(qv::Words(line, 2, 4), "Qxf7 3   Mate");
    EXPECT_EQ(qv::Words(line, 4, 9), "Mate here.  ");
    EXPECT_EQ(qv::AfterWord(line, 3), "   Mate here.  ");
    EXPECT_EQ(qv::AfterWord(line, 5), "  ");
    EXPECT_EQ(qv::AfterWord(line, 6), "");
    EXPECT_EQ(qv::WordCount(""), 0);
    EXPECT_EQ(qv::WordCount("    "), 0);
}

TEST(Words, CommandWordIgnoresCaseAndDots) {
    EXPECT_EQ(qv::CommandWord(".REM Text"), "rem");
    EXPECT_EQ(qv::CommandWord("..rem"), "rem");
    EXPECT_EQ(qv::CommandWord(".rem."), "rem");
    EXPECT_EQ(qv::CommandWord(".*W"), "*w");
    EXPECT_EQ(qv::CommandWord(".1-0"), "1-0");
    EXPECT_EQ(qv::CommandWord(".//"), "//");
    EXPECT_EQ(qv::CommandWord(".# 1 A"), "#");
    EXPECT_EQ(qv::CommandWord("."), "");
    EXPECT_EQ(qv::CommandWord("... text"), "");
}

TEST(Words, IndexEntryAndKey) {
    EXPECT_EQ(qv::IndexEntry(".# 7"), "7 ");
    EXPECT_EQ(qv::ProblemKey("7 "), ".# 7");
    EXPECT_EQ(qv::IndexEntry(".# 3 Rook  endgame "), "3 Rook  endgame ");
    EXPECT_EQ(qv::ProblemKey("3 Rook  endgame "), ".# 3 Rook  endgame ");
    EXPECT_EQ(qv::IndexEntry(".#  4 Title"), "4 Title");
    EXPECT_EQ(qv::ProblemKey("4 Title"), ".# 4 Title");
    EXPECT_TRUE(qv::IsIndexLine(".#"));
    EXPECT_FALSE(qv::IsIndexLine(" .# 1"));
}

TEST(Words, RowLinesAreReletteredAndCutAtEightCharacters) {
    EXPECT_EQ(qv::RowToPosition("tcadract"), "rnbqkbnr");
    EXPECT_EQ(qv::RowToPosition("TCADRACT"), "RNBQKBNR");
    EXPECT_EQ(qv::RowToPosition("1 pP1111xyz"), "  pP    ");
    EXPECT_EQ(qv::RowToPosition("KQBN"), "KQBN"); // position-string letters pass unchanged
    EXPECT_EQ(qv::RowToPosition("pppppp"), "pppppp");
    // A character outside ASCII is one square.
    EXPECT_EQ(qv::RowToPosition("\xC3\xA9"
                                "1111111tail"),
              "?       ");
}

TEST(Words, DiagramSquares) {
    const auto e4 = qv::ParseDiagramSquare("E4");
    EXPECT_TRUE(e4.Valid);
    EXPECT_EQ(e4.File, 5);
    EXPECT_EQ(e4.Rank, 4);
    EXPECT_EQ(qv::ParseDiagramSquare("H8xyz").Rank, 8);
    EXPECT_FALSE(qv::ParseDiagramSquare("e4").Valid);
    EXPECT_FALSE(qv::ParseDiagramSquare("").Valid);
    EXPECT_THROW(qv::ParseDiagramSquare("EX"), qv::ConvertError);
    try {
        qv::ParseDiagramSquare("E");
        FAIL();
    } catch (const qv::ConvertError& e) {
        EXPECT_STREQ(e.what(), "'' is not a valid integer value");
    }
}

TEST(MoveText, Forms) {
    EXPECT_EQ(qv::NormaliseMoveText("e2e4", true), "e2e4");
    EXPECT_EQ(qv::NormaliseMoveText("e2-e4", true), "e2e4");
    EXPECT_EQ(qv::NormaliseMoveText("e4xd5", true), "e4d5");
    EXPECT_EQ(qv::NormaliseMoveText("Ng1-f3", true), "g1f3");
    EXPECT_EQ(qv::NormaliseMoveText("Ng1-f3!", true), "g1f3");
    EXPECT_EQ(qv::NormaliseMoveText("Ng1xf3+", true), "g1f3");
    EXPECT_EQ(qv::NormaliseMoveText("Qh5xf7#", true), "h5f7");
    EXPECT_EQ(qv::NormaliseMoveText("e2 e4", true), "e2e4");
    EXPECT_EQ(qv::NormaliseMoveText("0-0", true), "e1g1");
    EXPECT_EQ(qv::NormaliseMoveText("0-0", false), "e8g8");
    EXPECT_EQ(qv::NormaliseMoveText("0-0+", false), "e8g8");
    EXPECT_EQ(qv::NormaliseMoveText("0-0-0", true), "e1c1");
    EXPECT_EQ(qv::NormaliseMoveText("0-0-0", false), "e8c8");
    EXPECT_EQ(qv::NormaliseMoveText("0-1", true), "0-1");
    EXPECT_EQ(qv::NormaliseMoveText("O-O", true), "O-O"); // letter O: names no squares
    EXPECT_EQ(qv::NormaliseMoveText("", true), "");
    EXPECT_EQ(qv::NormaliseMoveText(" +#", true), "");
    // Characters, not bytes: a dash outside ASCII is one separator.
    EXPECT_EQ(qv::NormaliseMoveText("Sg1\xE2\x80\x93"
                                    "f3",
                                    true),
              "g1f3");
    // Promotions: the letter after the target, either case, with or without "=".
    for (const char* text : {"e7e8n", "e7-e8=N", "e7e8=N", "E7-E8n", "e7-e8N+", "e7 e8=n#"})
        EXPECT_EQ(qv::NormaliseMoveText(text, true), "e7e8n") << text;
    EXPECT_EQ(qv::NormaliseMoveText("d2xc1=Q", false), "d2c1q");
    // Texts that merely look alike keep today's reading.
    EXPECT_EQ(qv::NormaliseMoveText("e7e8k", true), "e78k");
    EXPECT_EQ(qv::NormaliseMoveText("Ne7-e8", true), "e7e8");
}

TEST(Numbers, StrToIntTakesSignedDecimalsOnly) {
    EXPECT_EQ(qv::StrToInt("3"), 3);
    EXPECT_EQ(qv::StrToInt("+3"), 3);
    EXPECT_EQ(qv::StrToInt("-12"), -12);
    EXPECT_EQ(qv::StrToInt("2147483647"), 2147483647);
    for (const char* bad : {"", "+", "-", "x", "3x", "$10", "0x10", " 3", "2147483648", "1e3"})
        EXPECT_THROW(qv::StrToInt(bad), qv::ConvertError) << bad;
    try {
        qv::StrToInt("x");
    } catch (const qv::ConvertError& e) {
        EXPECT_STREQ(e.what(), "'x' is not a valid integer value");
    }
}

TEST(Numbers, PointsDigitsStayReadable) {
    EXPECT_EQ(qv::PointsDigits(0), "000");
    EXPECT_EQ(qv::PointsDigits(5), "005");
    EXPECT_EQ(qv::PointsDigits(42), "042");
    EXPECT_EQ(qv::PointsDigits(99), "099");
    EXPECT_EQ(qv::PointsDigits(100), "100");
    EXPECT_EQ(qv::PointsDigits(999), "999");
    EXPECT_EQ(qv::PointsDigits(1000), "EEE");
    EXPECT_EQ(qv::PointsDigits(-5), "-05");
    EXPECT_EQ(qv::PointsDigits(-99), "-99");
    EXPECT_EQ(qv::PointsDigits(-100), "-EE");
    EXPECT_EQ(qv::PointsDigits(-2147483647 - 1), "-EE");
    EXPECT_EQ(qv::AddPoints(2147483647, 5), 2147483647);
    EXPECT_EQ(qv::AddPoints(-2147483647 - 1, -1), -2147483647 - 1);
}

} // namespace
