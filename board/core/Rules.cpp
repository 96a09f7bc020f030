// Legality of moves on the character board: the piece rules, castling, en passant
// and the test that the mover's own king is not left attacked.
#include "board/core/Rules.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace qv {

BoardState::BoardState() {
    Squares.fill(' ');
    Squares[65] = '\0';
    SetSquaresFromText(InitialPosition);
}

void BoardState::SetSquaresFromText(std::string_view text) {
    static constexpr std::string_view Allowed = " PNBRQKpnbrqk";
    for (int i = 1; i <= 64; ++i) Squares[i] = ' ';
    const std::size_t n = std::min<std::size_t>(text.size(), 64);
    for (std::size_t i = 0; i < n; ++i) {
        const char ch = text[i];
        if (ch == '\0') break;
        if (Allowed.find(ch) != std::string_view::npos) Squares[i + 1] = ch;
    }
}

int PieceColor(const BoardState& b, int sq) {
    if (!IsOnBoard(sq)) return NoColor;
    return PieceColorOf(b.Squares[sq]);
}

namespace {

char KindOf(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch;
}

// Attack test on a raw 66-character board (index 1..64).
bool KingAttackedOn(const char* sq, int colour) {
    const char king = colour == WhiteColor ? 'K' : 'k';
    int ks = 0;
    for (int i = 1; i <= 64; ++i) {
        if (sq[i] == king) {
            ks = i;
            break;
        }
    }
    if (ks == 0) return false;
    // Enemy letters: upper case when the Black king is tested.
    const bool enemyWhite = colour == BlackColor;
    auto enemy = [&](char lower) { return enemyWhite ? static_cast<char>(lower - 32) : lower; };
    const int f = FileOf(ks);
    const int r = RankOf(ks);
    auto at = [&](int ff, int rr) -> char {
        const Square s = SquareAt(ff, rr);
        return s == None ? ' ' : sq[s];
    };
    const char pawn = enemy('p');
    const int pr = enemyWhite ? r - 1 : r + 1;
    if (at(f - 1, pr) == pawn || at(f + 1, pr) == pawn) return true;
    const char knight = enemy('n');
    static constexpr int KnightSteps[8][2] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1},
                                              {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
    for (const auto& d : KnightSteps)
        if (at(f + d[0], r + d[1]) == knight) return true;
    const char bishop = enemy('b'), rook = enemy('r'), queen = enemy('q'), kingE = enemy('k');
    auto walk = [&](int df, int dr, char slider) {
        for (int k = 1; k <= 7; ++k) {
            const Square s = SquareAt(f + k * df, r + k * dr);
            if (s == None) return false;
            const char c = sq[s];
            if (c == ' ') continue;
            return c == slider || c == queen || (k == 1 && c == kingE);
        }
        return false;
    };
    static constexpr int Diagonals[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (const auto& d : Diagonals)
        if (walk(d[0], d[1], bishop)) return true;
    if (walk(-1, 0, rook) || walk(1, 0, rook)) return true;
    if (walk(0, -1, rook) || walk(0, 1, rook)) return true;
    return false;
}

bool SlideReaches(const BoardState& b, int origin, int target, int df, int dr) {
    const int mover = PieceColor(b, origin);
    const int f = FileOf(origin), r = RankOf(origin);
    for (int k = 1; k <= 7; ++k) {
        const Square s = SquareAt(f + k * df, r + k * dr);
        if (s == None) return false;
        const int c = PieceColorOf(b.Squares[s]);
        if (s == target) return c != mover;
        if (c != NoColor) return false;
    }
    return false;
}

bool BishopAllows(const BoardState& b, int o, int t) {
    return SlideReaches(b, o, t, -1, -1) || SlideReaches(b, o, t, -1, 1) ||
           SlideReaches(b, o, t, 1, -1) || SlideReaches(b, o, t, 1, 1);
}

bool RookAllows(const BoardState& b, int o, int t) {
    return SlideReaches(b, o, t, -1, 0) || SlideReaches(b, o, t, 1, 0) ||
           SlideReaches(b, o, t, 0, -1) || SlideReaches(b, o, t, 0, 1);
}

struct CastleCase {
    Square From, To;
    CastleSet Right;
    Square RookSquare;
    char Rook;
    Square Empty[3];
    Square Safe[3];
};
constexpr CastleCase CastleCases[4] = {
    {E1, G1, WhiteKingSide, H1, 'R', {F1, G1, None}, {E1, F1, G1}},
    {E1, C1, WhiteQueenSide, A1, 'R', {B1, C1, D1}, {E1, D1, C1}},
    {E8, G8, BlackKingSide, H8, 'r', {F8, G8, None}, {E8, F8, G8}},
    {E8, C8, BlackQueenSide, A8, 'r', {B8, C8, D8}, {E8, D8, C8}},
};

bool CastlingAllows(const BoardState& b, int o, int t) {
    for (const auto& c : CastleCases) {
        if (c.From != o || c.To != t) continue;
        if ((b.CastlingAllowed & c.Right) == 0) return false;
        if (b.Squares[c.RookSquare] != c.Rook) return false;
        for (Square e : c.Empty)
            if (e != None && b.Squares[e] != ' ') return false;
        const int colour = PieceColor(b, o);
        for (Square s : c.Safe)
            if (KingAttacked(b, colour, o, s)) return false;
        return true;
    }
    return false;
}

bool PawnAllows(const BoardState& b, int o, int t) {
    const bool white = PieceColor(b, o) == WhiteColor;
    const int dir = white ? 1 : -1;
    const int df = FileOf(t) - FileOf(o);
    if (RankOf(t) == RankOf(o) + dir) {
        if (df == 0) return b.Squares[t] == ' ';
        if (std::abs(df) == 1)
            return PieceColor(b, t) == (white ? BlackColor : WhiteColor) || t == b.EnPassant;
        return false;
    }
    const int fromRank = white ? 2 : 7;
    const int toRank = white ? 4 : 5;
    return RankOf(o) == fromRank && RankOf(t) == toRank && df == 0 && b.Squares[t] == ' ' &&
           b.Squares[(o + t) / 2] == ' ';
}

} // namespace

bool KingAttacked(const BoardState& b, int colour, int origin, int target) {
    char scratch[66];
    std::memcpy(scratch, b.Squares.data(), sizeof scratch);
    if (IsOnBoard(origin) && IsOnBoard(target)) {
        const char moving = scratch[origin];
        scratch[origin] = ' ';
        scratch[target] = moving;
    }
    return KingAttackedOn(scratch, colour);
}

bool PieceRuleAllows(const BoardState& b, int o, int t) {
    const int df = std::abs(FileOf(t) - FileOf(o));
    const int dr = std::abs(RankOf(t) - RankOf(o));
    switch (KindOf(b.Squares[o])) {
    case 'n':
        return (df == 2 && dr == 1) || (df == 1 && dr == 2);
    case 'b':
        return BishopAllows(b, o, t);
    case 'r':
        return RookAllows(b, o, t);
    case 'q':
        return BishopAllows(b, o, t) || RookAllows(b, o, t);
    case 'k':
        return (df <= 1 && dr <= 1) || CastlingAllows(b, o, t);
    case 'p':
        return PawnAllows(b, o, t);
    default:
        return false;
    }
}

bool IsLegalIgnoringRepetition(const BoardState& b, int o, int t) {
    if (!IsOnBoard(o) || !IsOnBoard(t)) return false;
    const int mover = PieceColor(b, o);
    if (mover != (b.WhiteToMove ? WhiteColor : BlackColor)) return false;
    if (mover == PieceColor(b, t)) return false;
    if (!PieceRuleAllows(b, o, t)) return false;
    // An en-passant capture also takes the passed pawn off the scratch board, so
    // that a capture uncovering an attack along the rank is refused.
    if (KindOf(b.Squares[o]) == 'p' && t == b.EnPassant && FileOf(t) != FileOf(o) &&
        b.Squares[t] == ' ') {
        BoardState scratch = b;
        scratch.Squares[SquareAt(FileOf(t), RankOf(o))] = ' ';
        return !KingAttacked(scratch, mover, o, t);
    }
    return !KingAttacked(b, mover, o, t);
}

namespace {

// Calls fn(target) for every square the piece on o might reach by its piece rule:
// a superset of the legal targets, in ascending square order. Every candidate still
// goes through the full legality test, so the answers equal those of testing all 64
// targets; only the work is smaller.
template <typename Fn> void ForEachCandidateTarget(const BoardState& b, int o, Fn&& fn) {
    bool hit[65] = {};
    const int f = FileOf(o), r = RankOf(o);
    auto mark = [&](int ff, int rr) {
        const Square s = SquareAt(ff, rr);
        if (s != None) hit[s] = true;
    };
    auto ray = [&](int df, int dr) {
        for (int k = 1; k <= 7; ++k) {
            const Square s = SquareAt(f + k * df, r + k * dr);
            if (s == None) return;
            hit[s] = true;
            if (b.Squares[s] != ' ') return;
        }
    };
    switch (KindOf(b.Squares[o])) {
    case 'n':
        for (int a : {-2, -1, 1, 2})
            for (int c : {-2, -1, 1, 2})
                if (std::abs(a) != std::abs(c)) mark(f + a, r + c);
        break;
    case 'b':
        ray(-1, -1), ray(-1, 1), ray(1, -1), ray(1, 1);
        break;
    case 'r':
        ray(-1, 0), ray(1, 0), ray(0, -1), ray(0, 1);
        break;
    case 'q':
        ray(-1, -1), ray(-1, 1), ray(1, -1), ray(1, 1);
        ray(-1, 0), ray(1, 0), ray(0, -1), ray(0, 1);
        break;
    case 'k':
        for (int a = -1; a <= 1; ++a)
            for (int c = -1; c <= 1; ++c)
                if (a || c) mark(f + a, r + c);
        mark(f + 2, r), mark(f - 2, r);
        break;
    case 'p': {
        const int dir = PieceColor(b, o) == WhiteColor ? 1 : -1;
        mark(f - 1, r + dir), mark(f, r + dir), mark(f + 1, r + dir), mark(f, r + 2 * dir);
        break;
    }
    default:
        break;
    }
    for (int s = 1; s <= 64; ++s)
        if (hit[s]) fn(s);
}

} // namespace

bool HasLegalMove(const BoardState& b) {
    const int side = b.WhiteToMove ? WhiteColor : BlackColor;
    for (int o = 1; o <= 64; ++o) {
        if (PieceColor(b, o) != side) continue;
        bool found = false;
        ForEachCandidateTarget(b, o, [&](int t) {
            if (!found && IsLegalIgnoringRepetition(b, o, t)) found = true;
        });
        if (found) return true;
    }
    return false;
}

int GenerateLegalMoves(const BoardState& b, std::array<SimpleMove, 256>& out) {
    const int side = b.WhiteToMove ? WhiteColor : BlackColor;
    int n = 0;
    for (int o = 1; o <= 64; ++o) {
        if (PieceColor(b, o) != side) continue;
        ForEachCandidateTarget(b, o, [&](int t) {
            if (n < 256 && IsLegalIgnoringRepetition(b, o, t))
                out[n++] = {static_cast<Square>(o), static_cast<Square>(t)};
        });
    }
    return n;
}

} // namespace qv

namespace qv {

void ApplyMove(BoardState& b, int origin, int target, char promotion) {
    const Square passed = b.EnPassant;
    const char piece = b.Squares[origin];
    b.Squares[target] = piece;
    b.Squares[origin] = ' ';
    if (!b.WhiteToMove) ++b.CurrentMove;
    b.WhiteToMove = !b.WhiteToMove;

    const bool pawn = piece == 'P' || piece == 'p';
    if (pawn && (RankOf(target) == 8 || RankOf(target) == 1)) {
        char upper = promotion ? promotion : 'q';
        if (upper >= 'a' && upper <= 'z') upper = static_cast<char>(upper - 32);
        b.Squares[target] = RankOf(target) == 8 ? upper : static_cast<char>(upper + 32);
    }
    if (target == passed) {
        if (RankOf(target) == 6 && piece == 'P') b.Squares[SquareAt(FileOf(target), 5)] = ' ';
        if (RankOf(target) == 3 && piece == 'p') b.Squares[SquareAt(FileOf(target), 4)] = ' ';
    }
    if ((piece == 'P' && RankOf(origin) == 2 && RankOf(target) == 4) ||
        (piece == 'p' && RankOf(origin) == 7 && RankOf(target) == 5))
        b.EnPassant = static_cast<Square>((origin + target) / 2);
    else
        b.EnPassant = None;

    auto moveRook = [&](int from, int to) {
        b.Squares[to] = b.Squares[from];
        b.Squares[from] = ' ';
    };
    if (piece == 'K' && origin == E1) {
        if (target == G1) moveRook(H1, F1);
        if (target == C1) moveRook(A1, D1);
    } else if (piece == 'k' && origin == E8) {
        if (target == G8) moveRook(H8, F8);
        if (target == C8) moveRook(A8, D8);
    }
    switch (origin) {
    case A1:
        b.CastlingAllowed &= ~WhiteQueenSide;
        break;
    case H1:
        b.CastlingAllowed &= ~WhiteKingSide;
        break;
    case E1:
        b.CastlingAllowed &= ~(WhiteKingSide | WhiteQueenSide);
        break;
    case A8:
        b.CastlingAllowed &= ~BlackQueenSide;
        break;
    case H8:
        b.CastlingAllowed &= ~BlackKingSide;
        break;
    case E8:
        b.CastlingAllowed &= ~(BlackKingSide | BlackQueenSide);
        break;
    default:
        break;
    }
}

} // namespace qv
