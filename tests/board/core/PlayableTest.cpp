// The playability check names the first reason a position cannot be played.
#include "board/core/Playable.h"
#include "board/core/BoardModel.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {
std::string Why(const char* fen) {
    BoardModel b;
    EXPECT_TRUE(b.SetFen(fen)) << fen;
    return WhyNotPlayable(b.State()).value_or("");
}
} // namespace

TEST(Playable, NamesTheReason) {
    EXPECT_EQ(Why("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"), "");
    EXPECT_EQ(Why("4k3/8/8/8/8/8/8/8 w - - 0 1"), "White has no king");
    EXPECT_EQ(Why("8/8/8/8/8/8/8/4K3 b - - 0 1"), "Black has no king");
    EXPECT_EQ(Why("4k3/8/8/8/8/8/8/K3K3 w - - 0 1"), "White has 2 kings");
    EXPECT_EQ(Why("4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1"), "Black, not to move, is in check");
    // The side to move may be in check.
    EXPECT_EQ(Why("4k3/4Q3/8/8/8/8/8/4K3 b - - 0 1"), "");
    EXPECT_EQ(Why("4k3/8/8/8/8/8/8/P3K3 w - - 0 1"), "a pawn stands on a1, the first rank");
    EXPECT_EQ(Why("3pk3/8/8/8/8/8/8/4K3 w - - 0 1"), "a pawn stands on d8, the last rank");
}
