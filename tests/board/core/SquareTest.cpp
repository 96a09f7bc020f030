// Square numbering and name conversion.
#include "board/core/Square.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(Square, NumberingFollowsDiagramReadingOrder) {
    EXPECT_EQ(A8, 1);
    EXPECT_EQ(H8, 8);
    EXPECT_EQ(A7, 9);
    EXPECT_EQ(E4, 37);
    EXPECT_EQ(H1, 64);
    for (int sq = 1; sq <= 64; ++sq) EXPECT_EQ(SquareAt(FileOf(sq), RankOf(sq)), sq);
    EXPECT_EQ(FileOf(A8), 1);
    EXPECT_EQ(RankOf(A8), 8);
    EXPECT_EQ(FileOf(H1), 8);
    EXPECT_EQ(RankOf(H1), 1);
}

TEST(Square, SquareAtOffTheBoardIsNone) {
    EXPECT_EQ(SquareAt(0, 4), None);
    EXPECT_EQ(SquareAt(9, 4), None);
    EXPECT_EQ(SquareAt(4, 0), None);
    EXPECT_EQ(SquareAt(4, 9), None);
}

TEST(Square, LightAndDarkSquares) {
    EXPECT_TRUE(IsLightSquare(A8));
    EXPECT_TRUE(IsLightSquare(H1));
    EXPECT_FALSE(IsLightSquare(A1));
    EXPECT_FALSE(IsLightSquare(H8));
    EXPECT_TRUE(IsLightSquare(E4));
    EXPECT_FALSE(IsLightSquare(D4));
}

TEST(Square, StrToSquareAcceptsBothCasesAndRejectsMalformedNames) {
    EXPECT_EQ(StrToSquare("e4"), E4);
    EXPECT_EQ(StrToSquare("E4"), E4);
    EXPECT_EQ(StrToSquare("a8"), A8);
    EXPECT_EQ(StrToSquare("h1"), H1);
    for (const char* bad : {"i1", "a9", "e", "e44", "", "a0", "4e", " e4", "e4 "})
        EXPECT_EQ(StrToSquare(bad), None) << bad;
    EXPECT_EQ(SquareName(E4), "e4");
    EXPECT_EQ(SquareName(None), "--");
}
