// The search's move generator, ordering scores, and making and taking back moves.
#include "tests/engine/core/EngineTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::engine::test {
namespace {

std::vector<std::string> ListedMoves(const Searcher& s) {
    std::vector<std::string> out;
    for (int i = s.ListBegin(); i < s.ListEnd(); ++i) out.push_back(MoveText(s.ListMove(i)));
    return out;
}

// Picks the whole list in order, as the search tries it.
std::vector<std::string> TryingOrder(Searcher& s) {
    for (int i = s.ListBegin(); i < s.ListEnd(); ++i) s.PickBestMove(i);
    return ListedMoves(s);
}

TEST(SearcherMoves, PromotionsComeAsFourMovesTriedQueenFirst) {
    auto s = LoadedSearcher("1n5k/P7/8/8/8/8/8/K7 w - - 0 1");
    s->GenerateAllMoves();
    // Generation: capture on b8 first (knight, bishop, rook, queen), then the step.
    const std::vector<std::string> generated = ListedMoves(*s);
    ASSERT_GE(generated.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(generated.begin(), generated.begin() + 8),
              (std::vector<std::string>{"a7b8n", "a7b8b", "a7b8r", "a7b8q", "a7a8n", "a7a8b",
                                        "a7a8r", "a7a8q"}));
    for (int i = 0; i < 8; ++i) {
        const MoveWord m = s->ListMove(s->ListBegin() + i);
        EXPECT_EQ(MoveFlags(m), i < 4 ? 49 : 48);
        EXPECT_EQ(s->ListScore(s->ListBegin() + i), 1000000 + 10 * MovePromotion(m));
    }
    const std::vector<std::string> order = TryingOrder(*s);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 4),
              (std::vector<std::string>{"a7b8q", "a7a8q", "a7b8r", "a7a8r"}));

    // The board holds the chosen piece, and the pawn comes back on undo.
    ASSERT_TRUE(s->PlaySearchMove(FindMove(*s, "a7a8b")));
    EXPECT_EQ(s->PieceAt(0), Searcher::Bishop);
    EXPECT_EQ(s->ColourAt(0), Searcher::White);
    s->UndoSearchMove();
    EXPECT_EQ(s->PositionText().substr(0, 16), " n     kP       ");
}

TEST(SearcherMoves, CapturesAreOrderedByVictimThenAttackerAndEnPassantFirst) {
    // White can take the queen on d5 with the e4 pawn or the c3 knight, and take en passant on f6.
    auto s = LoadedSearcher("4k3/8/8/3q1pP1/4P3/2N5/8/4K3 w - f6 0 1");
    s->GenerateAllMoves();
    const MoveWord ep = FindMove(*s, "g5f6");
    ASSERT_NE(ep, 0u);
    EXPECT_EQ(MoveFlags(ep), 21);
    const std::vector<std::string> order = TryingOrder(*s);
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(order[0], "g5f6"); // 1,000,060
    EXPECT_EQ(order[1], "e4d5"); // 1,000,040: pawn takes queen
    EXPECT_EQ(order[2], "c3d5"); // 1,000,039: knight takes queen
    EXPECT_EQ(s->ListScore(s->ListBegin()), 1000060);
    ASSERT_TRUE(s->PlaySearchMove(ep));
    EXPECT_EQ(s->PieceAt(29), Searcher::Empty) << "the passed pawn on f5 is taken";
    s->UndoSearchMove();
    EXPECT_EQ(s->PieceAt(29), Searcher::Pawn);
    EXPECT_EQ(s->ColourAt(29), Searcher::Black);
}

TEST(SearcherMoves, GenerationFollowsSquaresThenDirectionsThenCastling) {
    auto s = LoadedSearcher("4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1");
    s->GenerateAllMoves();
    const std::vector<std::string> moves = ListedMoves(*s);
    ASSERT_GE(moves.size(), 3u);
    EXPECT_EQ(moves.front(), "a1a2"); // rook a1, first direction -10 (up)
    EXPECT_EQ(moves[moves.size() - 2], "e1g1");
    EXPECT_EQ(moves.back(), "e1c1");
    for (int i = s->ListBegin(); i < s->ListEnd(); ++i) EXPECT_EQ(s->ListScore(i), 0);
}

struct CastlingCase {
    const char* Fen;
    bool KingSide;
    bool QueenSide;
};

TEST(SearcherMoves, CastlingIsRefusedInThroughAndOntoCheckAndWhenBlocked) {
    const CastlingCase cases[] = {
        {"4k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, true},
        {"4k3/4r3/8/8/8/8/8/R3K2R w KQ - 0 1", false, false}, // in check
        {"4kr2/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, true},   // through f1
        {"4k1r1/8/8/8/8/8/8/R3K2R w KQ - 0 1", false, true},  // onto g1
        {"3rk3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, false},   // through d1
        {"2r1k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, false},  // onto c1
        {"1r2k3/8/8/8/8/8/8/R3K2R w KQ - 0 1", true, true},   // b1 attacked does not matter
        {"4k3/8/8/8/8/8/8/RN2K1NR w KQ - 0 1", false, false}, // pieces in between
        {"4k3/8/8/8/8/8/8/R2QKB1R w KQ - 0 1", false, false},
    };
    for (const CastlingCase& c : cases) {
        SCOPED_TRACE(c.Fen);
        auto s = LoadedSearcher(c.Fen);
        s->GenerateAllMoves();
        const std::string before = s->PositionText();
        for (const auto& [text, allowed] :
             {std::pair{"e1g1", c.KingSide}, std::pair{"e1c1", c.QueenSide}}) {
            const MoveWord m = FindMove(*s, text);
            ASSERT_NE(m, 0u) << text << " is generated from the rights alone";
            EXPECT_EQ(s->PlaySearchMove(m), allowed) << text;
            if (allowed) {
                const std::string after = s->PositionText();
                if (std::string(text) == "e1g1")
                    EXPECT_EQ(after.substr(56), "R    RK ");
                else
                    EXPECT_EQ(after.substr(56), "  KR   R");
                EXPECT_EQ(s->CastlingRights(), 0);
                s->UndoSearchMove();
            }
            EXPECT_EQ(s->PositionText(), before);
            EXPECT_EQ(s->CastlingRights(), 3);
        }
    }
    // The same for Black.
    auto s = LoadedSearcher("r3k2r/8/8/8/8/8/8/4KB2 b kq - 0 1"); // f1 bishop eyes c4..a6, not f8
    s->GenerateAllMoves();
    EXPECT_TRUE(s->PlaySearchMove(FindMove(*s, "e8g8")));
    s->UndoSearchMove();
    auto t = LoadedSearcher("r3k2r/8/8/8/8/8/8/3RK3 b kq - 0 1");
    t->GenerateAllMoves();
    EXPECT_FALSE(t->PlaySearchMove(FindMove(*t, "e8c8")));
    EXPECT_TRUE(t->PlaySearchMove(FindMove(*t, "e8g8")));
}

TEST(SearcherMoves, RightsAndEnPassantThatDoNotMatchThePositionAreDropped) {
    // All four rights, but the h1 rook and the Black king are missing.
    auto s = std::make_unique<Searcher>();
    s->LoadPosition(FromFen("r6r/8/3k4/8/8/8/8/R3K3 w - - 0 1").PositionView(), true, AllCastling,
                    None);
    EXPECT_EQ(s->CastlingRights(), 2);
    s->GenerateAllMoves();
    EXPECT_NE(FindMove(*s, "e1c1"), 0u);
    EXPECT_EQ(FindMove(*s, "e1g1"), 0u);

    // An en-passant square without a pawn that can have passed over it.
    const BoardState b = FromFen("4k3/8/8/3P4/8/8/8/4K3 w - - 0 1");
    s->LoadPosition(b.PositionView(), true, 0, E6);
    EXPECT_EQ(s->EnPassantSquare(), -1);
    s->LoadPosition(FromFen("4k3/8/8/3Pp3/8/8/8/4K3 w - e6 0 1"));
    EXPECT_EQ(s->EnPassantSquare(), E6 - 1);
}

TEST(SearcherMoves, PawnsOnTheirFirstOrLastRankHaveNoMoves) {
    // White pawns on a8 and h1, Black pawns on h8 and a1: only the kings can move.
    std::string position(64, ' ');
    position[0] = 'P', position[63] = 'P', position[7] = 'p', position[56] = 'p';
    position[51] = 'K'; // d2
    position[16] = 'k'; // a6
    auto s = std::make_unique<Searcher>();
    s->LoadPosition(position, true, 0, None);
    s->GenerateAllMoves();
    for (const std::string& m : ListedMoves(*s)) EXPECT_EQ(m.substr(0, 2), "d2") << m;
    EXPECT_EQ(s->ListEnd() - s->ListBegin(), 8);
    EXPECT_EQ(s->Perft(2), 8 * 5);
    s->LoadPosition(position, false, 0, None);
    EXPECT_EQ(s->Perft(1), 5);
}

TEST(SearcherMoves, MovesIntoCheckAreRefusedAndLeaveTheBoardAlone) {
    auto s = LoadedSearcher("4k3/8/8/8/8/8/4r3/4K3 w - - 0 1");
    s->GenerateAllMoves();
    const std::string before = s->PositionText();
    EXPECT_FALSE(s->PlaySearchMove(FindMove(*s, "e1f2")));
    EXPECT_FALSE(s->PlaySearchMove(FindMove(*s, "e1d2")));
    EXPECT_EQ(s->PositionText(), before);
    EXPECT_TRUE(s->PlaySearchMove(FindMove(*s, "e1e2")));
    EXPECT_FALSE(s->SideInCheck(Searcher::White));
    EXPECT_EQ(s->Ply(), 1);
    EXPECT_EQ(s->SideToMove(), Searcher::Black);
}

TEST(SearcherMoves, SquareAttackedFollowsEachPieceRule) {
    auto s = LoadedSearcher("4k3/8/8/3p4/8/2N5/8/R3K2B w - - 0 1");
    auto sq = [](Square q) { return static_cast<int>(q) - 1; };
    EXPECT_TRUE(s->SquareAttacked(sq(E4), Searcher::Black)); // pawn d5
    EXPECT_TRUE(s->SquareAttacked(sq(C4), Searcher::Black));
    EXPECT_FALSE(s->SquareAttacked(sq(D4), Searcher::Black));
    EXPECT_TRUE(s->SquareAttacked(sq(B5), Searcher::White));  // knight c3
    EXPECT_TRUE(s->SquareAttacked(sq(A8), Searcher::White));  // rook a1 up the open file
    EXPECT_FALSE(s->SquareAttacked(sq(B2), Searcher::White)); // nobody
    EXPECT_TRUE(s->SquareAttacked(sq(D5), Searcher::White));  // bishop h1 takes on d5 ...
    EXPECT_FALSE(s->SquareAttacked(sq(C6), Searcher::White)); // ... but sees no further
    EXPECT_TRUE(s->SquareAttacked(sq(F2), Searcher::White));  // king e1
    EXPECT_FALSE(s->SideInCheck(Searcher::White));
    // A side without a king is never in check.
    std::string position(64, ' ');
    position[56] = 'R', position[63] = 'k';
    s->LoadPosition(position, false, 0, None);
    EXPECT_FALSE(s->SideInCheck(Searcher::White));
    EXPECT_TRUE(s->SideInCheck(Searcher::Black));
}

// Random games: the board kept up by PlaySearchMove must always equal the same
// position loaded afresh, with the same score, and undoing every move must give the
// root back.
TEST(SearcherMoves, IncrementalBoardMatchesAFreshLoadAlongRandomGames) {
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (const char* fen : {KiwipeteFen, StartFen,
                            "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"}) {
        SCOPED_TRACE(fen);
        auto s = LoadedSearcher(fen);
        s->PrepareEvaluation();
        const std::string root = s->PositionText();
        const int rootScore = s->Evaluate();
        auto fresh = std::make_unique<Searcher>();
        fresh->LoadPosition(FromFen(fen));
        fresh->PrepareEvaluation(); // the same prepared table as the game's root
        int played = 0;
        for (; played < 60; ++played) {
            s->GenerateAllMoves();
            std::vector<MoveWord> legal;
            for (int i = s->ListBegin(); i < s->ListEnd(); ++i) {
                if (s->PlaySearchMove(s->ListMove(i))) {
                    legal.push_back(s->ListMove(i));
                    s->UndoSearchMove();
                }
            }
            if (legal.empty()) break;
            ASSERT_TRUE(s->PlaySearchMove(legal[next() % legal.size()]));
            const std::string now = s->PositionText();
            fresh->LoadPosition(now, s->SideToMove() == Searcher::White,
                                static_cast<CastleSet>(s->CastlingRights()),
                                static_cast<Square>(s->EnPassantSquare() + 1));
            ASSERT_EQ(fresh->PositionText(), now);
            ASSERT_EQ(fresh->CastlingRights(), s->CastlingRights()) << "after " << played;
            ASSERT_EQ(fresh->EnPassantSquare(), s->EnPassantSquare());
            ASSERT_EQ(fresh->Evaluate(), s->Evaluate()) << "after " << played;
            ASSERT_EQ(fresh->Perft(1), s->Perft(1));
        }
        EXPECT_GT(played, 10);
        for (int i = 0; i < played; ++i) s->UndoSearchMove();
        EXPECT_EQ(s->PositionText(), root);
        EXPECT_EQ(s->Evaluate(), rootScore);
    }
}

} // namespace
} // namespace qv::engine::test
