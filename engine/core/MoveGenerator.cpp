// The move generator of the search board: pseudo-legal moves with their ordering scores.
#include "engine/core/MoveGenerator.h"

#include "engine/core/BoardGeometry.h"

#include <bit>
#include <cstring>
#include <utility>

namespace qv::engine {

using namespace geometry;

namespace {

constexpr int White = SearchBoard::White;
constexpr int Black = SearchBoard::Black;
constexpr int Empty = SearchBoard::Empty;
constexpr int Pawn = SearchBoard::Pawn;
constexpr int Knight = SearchBoard::Knight;
constexpr int Bishop = SearchBoard::Bishop;
constexpr int Rook = SearchBoard::Rook;
constexpr int Queen = SearchBoard::Queen;
constexpr int King = SearchBoard::King;

constexpr int PawnCapture = MoveFlag::PawnMove | MoveFlag::Capture;
constexpr int PawnDoubleStep = MoveFlag::PawnMove | MoveFlag::DoubleStep;
constexpr int PawnEnPassant = MoveFlag::PawnMove | MoveFlag::Capture | MoveFlag::EnPassant;

// Captures and promotions are tried before every quiet move.
constexpr int CaptureBase = 1000000;

} // namespace

void MoveGenerator::ClearHistory() {
    std::memset(history_, 0, sizeof history_);
}

inline void MoveGenerator::AddMove(const SearchBoard& board, int& n, int origin, int target,
                                   int flags) {
    StackEntry& e = stack_[n++];
    e.Move = MakeMoveWord(origin, target, 0, flags);
    e.Score = (flags & MoveFlag::Capture)
                  ? CaptureBase + 10 * board.PieceAt(target) - board.PieceAt(origin)
                  : history_[origin][target];
}

inline void MoveGenerator::AddPawnMove(const SearchBoard& board, int& n, int origin, int target,
                                       int flags, bool lastRank) {
    if (!lastRank) {
        AddMove(board, n, origin, target, flags);
        return;
    }
    for (int promo = Knight; promo <= Queen; ++promo) {
        StackEntry& e = stack_[n++];
        e.Move = MakeMoveWord(origin, target, promo, flags | MoveFlag::Promotion);
        e.Score = CaptureBase + 10 * promo;
    }
}

template <int Side, bool AllMoves>
inline void MoveGenerator::GeneratePawn(const SearchBoard& board, int s, int& n) {
    constexpr int Enemy = 1 - Side;
    const int file = s & 7;
    if constexpr (Side == White) {
        if (s < Sq::A7 || s >= Sq::A1) return; // a pawn on its own first or last rank has no moves
        const bool last = s < Sq::A6;
        if (file != 0 && board.ColourAt(s - 9) == Enemy)
            AddPawnMove(board, n, s, s - 9, PawnCapture, last);
        if (file != 7 && board.ColourAt(s - 7) == Enemy)
            AddPawnMove(board, n, s, s - 7, PawnCapture, last);
        if (board.ColourAt(s - 8) == Empty) {
            if (AllMoves || last) AddPawnMove(board, n, s, s - 8, MoveFlag::PawnMove, last);
            if (AllMoves && s >= Sq::A2 && board.ColourAt(s - 16) == Empty)
                AddMove(board, n, s, s - 16, PawnDoubleStep);
        }
    } else {
        if (s < Sq::A7 || s >= Sq::A1) return;
        const bool last = s >= Sq::A2;
        if (file != 0 && board.ColourAt(s + 7) == Enemy)
            AddPawnMove(board, n, s, s + 7, PawnCapture, last);
        if (file != 7 && board.ColourAt(s + 9) == Enemy)
            AddPawnMove(board, n, s, s + 9, PawnCapture, last);
        if (board.ColourAt(s + 8) == Empty) {
            if (AllMoves || last) AddPawnMove(board, n, s, s + 8, MoveFlag::PawnMove, last);
            if (AllMoves && s <= Sq::H7 && board.ColourAt(s + 16) == Empty)
                AddMove(board, n, s, s + 16, PawnDoubleStep);
        }
    }
}

template <int Side, bool AllMoves> void MoveGenerator::Generate(const SearchBoard& board) {
    constexpr int Enemy = 1 - Side;
    int n = listStart_[board.Ply()];
    const std::uint64_t enemies = board.Occupied(Enemy);
    const std::uint64_t occupied = board.Occupied(Side) | enemies;
    std::uint64_t own = board.Occupied(Side);
    while (own) {
        const int s = std::countr_zero(own);
        own &= own - 1;
        const int piece = board.PieceAt(s);
        if (piece == Pawn) {
            GeneratePawn<Side, AllMoves>(board, s, n);
            continue;
        }
        if (piece == Knight || piece == King) {
            // Their steps, in table order, reach the squares in ascending order, so the
            // bit set can be walked instead of the frame.
            const std::uint64_t reach = piece == Knight ? Geo.KnightFrom[s] : Geo.KingFrom[s];
            for (std::uint64_t b = reach & (AllMoves ? ~board.Occupied(Side) : enemies); b;
                 b &= b - 1) {
                const int t = std::countr_zero(b);
                AddMove(board, n, s, t, board.ColourAt(t) == Enemy ? MoveFlag::Capture : 0);
            }
            continue;
        }
        const int* steps;
        int count;
        switch (piece) {
        case Bishop:
            steps = BishopSteps, count = 4;
            break;
        case Rook:
            steps = RookSteps, count = 4;
            break;
        default:
            steps = QueenSteps, count = 8;
            break;
        }
        if constexpr (AllMoves) {
            const int from = Geo.FrameIndex[s];
            for (int k = 0; k < count; ++k) {
                const int step = steps[k];
                for (int f = from + step;; f += step) {
                    const int t = Geo.Frame[f];
                    if (t < 0) break;
                    const int c = board.ColourAt(t);
                    if (c == Empty) {
                        AddMove(board, n, s, t, 0);
                        continue;
                    }
                    if (c == Enemy) AddMove(board, n, s, t, MoveFlag::Capture);
                    break;
                }
            }
        } else {
            // Captures only: the first piece on each ray, found from the bit sets.
            const std::uint64_t lines =
                (piece == Bishop ? 0 : Geo.RookLines[s]) | (piece == Rook ? 0 : Geo.BishopLines[s]);
            if (!(lines & enemies)) continue;
            for (int k = 0; k < count; ++k) {
                const int ray = RayOfStep(steps[k]);
                const std::uint64_t blockers = Geo.Ray[ray][s] & occupied;
                if (!blockers) continue;
                const int t =
                    ray < 4 ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
                if (board.ColourAt(t) == Enemy) AddMove(board, n, s, t, MoveFlag::Capture);
            }
        }
    }
    if constexpr (AllMoves) {
        if constexpr (Side == White) {
            if (board.CastlingRights() & 1) AddMove(board, n, Sq::E1, Sq::G1, MoveFlag::Castling);
            if (board.CastlingRights() & 2) AddMove(board, n, Sq::E1, Sq::C1, MoveFlag::Castling);
        } else {
            if (board.CastlingRights() & 4) AddMove(board, n, Sq::E8, Sq::G8, MoveFlag::Castling);
            if (board.CastlingRights() & 8) AddMove(board, n, Sq::E8, Sq::C8, MoveFlag::Castling);
        }
    }
    if (board.EnPassantSquare() >= 0) {
        const int e = board.EnPassantSquare();
        if constexpr (Side == White) {
            if ((e & 7) != 0 && board.ColourAt(e + 7) == White && board.PieceAt(e + 7) == Pawn)
                AddMove(board, n, e + 7, e, PawnEnPassant);
            if ((e & 7) != 7 && board.ColourAt(e + 9) == White && board.PieceAt(e + 9) == Pawn)
                AddMove(board, n, e + 9, e, PawnEnPassant);
        } else {
            if ((e & 7) != 0 && board.ColourAt(e - 9) == Black && board.PieceAt(e - 9) == Pawn)
                AddMove(board, n, e - 9, e, PawnEnPassant);
            if ((e & 7) != 7 && board.ColourAt(e - 7) == Black && board.PieceAt(e - 7) == Pawn)
                AddMove(board, n, e - 7, e, PawnEnPassant);
        }
    }
    listEnd_[board.Ply()] = n;
    listStart_[board.Ply() + 1] = n;
}

void MoveGenerator::GenerateAllMoves(const SearchBoard& board) {
    if (board.SideToMove() == White)
        Generate<White, true>(board);
    else
        Generate<Black, true>(board);
}

void MoveGenerator::GenerateQuiescenceMoves(const SearchBoard& board) {
    if (board.SideToMove() == White)
        Generate<White, false>(board);
    else
        Generate<Black, false>(board);
}

void MoveGenerator::PickBestMove(int ply, int index) {
    const int end = listEnd_[ply];
    int best = index;
    int bestScore = stack_[index].Score;
    for (int j = index + 1; j < end; ++j) {
        if (stack_[j].Score > bestScore) {
            bestScore = stack_[j].Score;
            best = j;
        }
    }
    if (best != index) std::swap(stack_[index], stack_[best]);
}

} // namespace qv::engine
