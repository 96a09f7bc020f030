// SAN and coordinate moves: every legal move of a tree of positions is written
// and read back to itself, and the texts that real sources use are understood.
#include "board/core/San.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

BoardState FromFen(const char* fen) {
    BoardState b;
    EXPECT_TRUE(ParseFen(fen, b)) << fen;
    return b;
}

// Walks the tree to the given depth through ApplyMove; at every node each move's
// SAN and coordinate text must read back to the same move. Returns the leaf count.
long long RoundTrip(const BoardState& b, int depth, int& failures) {
    std::array<ChessMove, 256> moves;
    const int n = ListLegalMoves(b, moves);
    if (depth == 0) return 1;
    long long leaves = 0;
    for (int i = 0; i < n; ++i) {
        const ChessMove m = moves[i];
        const std::string san = ToSan(b, m);
        ChessMove back;
        std::string error;
        if (!ParseSan(b, san, back, &error) || !(back == m)) {
            if (++failures < 10)
                ADD_FAILURE() << san << " (" << CoordinateText(m) << ") read back wrong: " << error;
        }
        if (!ParseCoordinateMove(b, CoordinateText(m), back) || !(back == m)) ++failures;
        BoardState next = b;
        ApplyMove(next, m.From, m.To, m.Promotion);
        leaves += RoundTrip(next, depth - 1, failures);
    }
    return leaves;
}

} // namespace

TEST(San, EveryLegalMoveReadsBackToItselfAndPerftCountsHold) {
    struct Case {
        const char* Fen;
        int Depth;
        long long Leaves;
    };
    const Case cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, 8902},
        {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 2, 2039},
        {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 43238},
        {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 9467},
        {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 2, 1486},
        // Four queens and two knights reaching one square: file, rank and full disambiguation.
        {"Q3Q3/8/8/8/Q3Q3/8/1N3N1k/K7 w - - 0 1", 2, 0},
    };
    for (const Case& c : cases) {
        int failures = 0;
        const long long leaves = RoundTrip(FromFen(c.Fen), c.Depth, failures);
        EXPECT_EQ(failures, 0) << c.Fen;
        if (c.Leaves) {
            EXPECT_EQ(leaves, c.Leaves) << c.Fen;
        }
    }
}

TEST(San, WritesDisambiguationChecksMatesCastlingAndPromotions) {
    const BoardState queens = FromFen("Q3Q3/8/8/8/Q3Q3/8/1N3N1k/K7 w - - 0 1");
    EXPECT_EQ(ToSan(queens, {E4, E6, 0}), "Q4e6");
    EXPECT_EQ(ToSan(queens, {E4, C6, 0}), "Qe4c6"); // a8, a4 and e8 reach c6 too
    EXPECT_EQ(ToSan(queens, {B2, D3, 0}), "Nbd3");
    EXPECT_EQ(ToSan(queens, {A8, B8, 0}), "Qab8+");

    const BoardState castle = FromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    EXPECT_EQ(ToSan(castle, {E1, G1, 0}), "O-O");
    EXPECT_EQ(ToSan(castle, {E1, C1, 0}), "O-O-O");
    EXPECT_EQ(ToSan(castle, {A1, A8, 0}), "Rxa8+");

    const BoardState promo = FromFen("1n2k3/2P5/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(ToSan(promo, {C7, C8, 'q'}), "c8=Q+");
    EXPECT_EQ(ToSan(promo, {C7, B8, 'n'}), "cxb8=N");

    const BoardState mate =
        FromFen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 0 1");
    EXPECT_TRUE(IsCheckmate(mate));
    ChessMove m;
    ASSERT_TRUE(ParseSan(FromFen("rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2"),
                         "Qh4#", m));
    EXPECT_EQ(ToSan(FromFen("rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2"), m),
              "Qh4#");
}

TEST(San, ReadsTheFormsThatSourcesUse) {
    const BoardState start = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const BoardState castle = FromFen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    const BoardState promo = FromFen("1n2k3/2P5/8/8/8/8/8/4K3 w - - 0 1");
    const BoardState queen = FromFen("4k3/8/8/8/7Q/8/8/4rK2 w - - 0 1");
    const BoardState ep = FromFen("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    struct Case {
        const BoardState* Board;
        const char* Text;
        ChessMove Expected;
    };
    const Case cases[] = {
        {&start, "Nf3", {G1, F3, 0}},      {&start, "Ng1f3", {G1, F3, 0}},
        {&start, "Ng1-f3!?", {G1, F3, 0}}, {&start, "e4!", {E2, E4, 0}},
        {&start, "e2-e4", {E2, E4, 0}},    {&castle, "O-O", {E8, G8, 0}},
        {&castle, "0-0-0+", {E8, C8, 0}},  {&castle, "o-o-o", {E8, C8, 0}},
        {&promo, "c8=Q+", {C7, C8, 'q'}},  {&promo, "c8Q", {C7, C8, 'q'}},
        {&promo, "cxb8=N", {C7, B8, 'n'}}, {&promo, "c8", {C7, C8, 'q'}},
        {&promo, "c8(R)", {C7, C8, 'r'}},  {&queen, "Qh4xe1+", {H4, E1, 0}},
        {&queen, "Qxe1", {H4, E1, 0}},     {&ep, "exd6 e.p.", {E5, D6, 0}},
        {&ep, "exd6", {E5, D6, 0}},
    };
    for (const Case& c : cases) {
        ChessMove m;
        std::string error;
        EXPECT_TRUE(ParseSan(*c.Board, c.Text, m, &error)) << c.Text << ": " << error;
        EXPECT_EQ(m, c.Expected) << c.Text;
    }
}

TEST(San, RefusesIllegalAmbiguousAndMalformedText) {
    const BoardState start = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const BoardState knights = FromFen("4k3/8/8/8/8/8/1N3N2/4K3 w - - 0 1");
    ChessMove m;
    std::string error;
    for (const char* bad : {"", "e5", "Nf4", "O-O", "Ke2x", "xx", "Z9", "e4=Q", "Pe9", "++"})
        EXPECT_FALSE(ParseSan(start, bad, m, &error)) << bad;
    EXPECT_FALSE(ParseSan(knights, "Nd3", m, &error));
    EXPECT_EQ(error, "ambiguous move");
    EXPECT_TRUE(ParseSan(knights, "Nfd3", m));
    // The coordinate form wants the promotion letter exactly when the move promotes.
    const BoardState promo = FromFen("1n2k3/2P5/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_FALSE(ParseCoordinateMove(promo, "c7c8", m));
    EXPECT_TRUE(ParseCoordinateMove(promo, "c7b8N", m));
    EXPECT_EQ(m, (ChessMove{C7, B8, 'n'}));
    EXPECT_FALSE(ParseCoordinateMove(start, "e2e4q", m));
    EXPECT_FALSE(ParseCoordinateMove(start, "e2e5", m));
}
