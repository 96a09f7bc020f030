// Standard algebraic notation and the coordinate form, read and written by
// matching the text against the legal moves of the position.
#include "board/core/San.h"

namespace qv {

namespace {

char KindOf(char piece) {
    return (piece >= 'A' && piece <= 'Z') ? static_cast<char>(piece + 32) : piece;
}

bool IsPromotionLetter(char c) {
    return c == 'q' || c == 'r' || c == 'b' || c == 'n';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool Fail(std::string* error, const char* why) {
    if (error) *error = why;
    return false;
}

} // namespace

bool IsPromotionMove(const BoardState& b, Square from, Square to) {
    if (!IsOnBoard(from) || !IsOnBoard(to)) return false;
    const char p = b.Squares[from];
    return (p == 'P' && RankOf(to) == 8) || (p == 'p' && RankOf(to) == 1);
}

int ListLegalMoves(const BoardState& b, std::array<ChessMove, 256>& out) {
    std::array<SimpleMove, 256> simple;
    const int n = GenerateLegalMoves(b, simple);
    int count = 0;
    for (int i = 0; i < n; ++i) {
        const SimpleMove m = simple[i];
        if (IsPromotionMove(b, m.From, m.To)) {
            for (char p : {'q', 'r', 'b', 'n'})
                if (count < 256) out[count++] = {m.From, m.To, p};
        } else if (count < 256) {
            out[count++] = {m.From, m.To, 0};
        }
    }
    return count;
}

bool IsLegalChessMove(const BoardState& b, const ChessMove& m) {
    if (!IsLegalIgnoringRepetition(b, m.From, m.To)) return false;
    if (IsPromotionMove(b, m.From, m.To)) return IsPromotionLetter(m.Promotion);
    return m.Promotion == 0;
}

bool InCheck(const BoardState& b) {
    return KingAttacked(b, b.WhiteToMove ? WhiteColor : BlackColor, None, None);
}

bool IsCheckmate(const BoardState& b) {
    return InCheck(b) && !HasLegalMove(b);
}

bool ParseSan(const BoardState& b, std::string_view text, ChessMove& out, std::string* error) {
    // Trim spaces, then the annotations at the end: "e.p.", check and mate signs, glyphs.
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.size() > 4 && text.substr(text.size() - 4) == "e.p.") {
        text.remove_suffix(4);
        while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    }
    while (!text.empty() &&
           (text.back() == '+' || text.back() == '#' || text.back() == '!' || text.back() == '?'))
        text.remove_suffix(1);
    if (text.empty()) return Fail(error, "empty move");

    const int side = b.WhiteToMove ? WhiteColor : BlackColor;
    if (text == "O-O" || text == "0-0" || text == "o-o" || text == "O-O-O" || text == "0-0-0" ||
        text == "o-o-o") {
        const bool longSide = text.size() == 5;
        const Square from = side == WhiteColor ? E1 : E8;
        const Square to = side == WhiteColor ? (longSide ? C1 : G1) : (longSide ? C8 : G8);
        const char king = side == WhiteColor ? 'K' : 'k';
        if (b.Squares[from] != king || !IsLegalIgnoringRepetition(b, from, to))
            return Fail(error, "castling is not legal here");
        out = {from, to, 0};
        return true;
    }

    // Piece letter, then from the end: promotion, target square; what is left
    // between them is the origin's file and/or rank, an "x" or a "-".
    char kind = 'p';
    std::size_t i = 0;
    if (text[0] == 'K' || text[0] == 'Q' || text[0] == 'R' || text[0] == 'B' || text[0] == 'N') {
        kind = Lower(text[0]);
        i = 1;
    }
    std::string_view rest = text.substr(i);
    char promotion = 0;
    if (!rest.empty() && kind == 'p') {
        const char last = Lower(rest.back());
        if (IsPromotionLetter(last) && rest.size() >= 3 &&
            (rest[rest.size() - 2] == '=' ||
             (rest[rest.size() - 2] >= '1' && rest[rest.size() - 2] <= '8'))) {
            promotion = last;
            rest.remove_suffix(1);
            if (rest.back() == '=') rest.remove_suffix(1);
        } else if (rest.size() >= 4 && rest.back() == ')' && rest[rest.size() - 3] == '(' &&
                   IsPromotionLetter(Lower(rest[rest.size() - 2]))) {
            promotion = Lower(rest[rest.size() - 2]); // "e8(Q)"
            rest.remove_suffix(3);
        }
    }
    if (rest.size() < 2) return Fail(error, "no target square");
    const Square to = StrToSquare(rest.substr(rest.size() - 2));
    if (to == None || rest[rest.size() - 2] < 'a') return Fail(error, "no target square");
    rest.remove_suffix(2);
    if (!rest.empty() && (rest.back() == 'x' || rest.back() == '-' || rest.back() == ':'))
        rest.remove_suffix(1);
    int fromFile = 0, fromRank = 0;
    for (char c : rest) {
        if (c >= 'a' && c <= 'h' && fromFile == 0 && fromRank == 0)
            fromFile = c - 'a' + 1;
        else if (c >= '1' && c <= '8' && fromRank == 0)
            fromRank = c - '0';
        else
            return Fail(error, "not a move");
    }
    if (kind == 'p' && fromRank == 0 && fromFile == 0 && !rest.empty())
        return Fail(error, "not a move");

    const bool promotes = kind == 'p' && (RankOf(to) == 8 || RankOf(to) == 1);
    if (promotion && !promotes)
        return Fail(error, "a promotion letter on a move that does not promote");
    if (promotes && !promotion) promotion = 'q';

    ChessMove found;
    int matches = 0;
    for (int from = 1; from <= 64; ++from) {
        const char piece = b.Squares[from];
        if (PieceColorOf(piece) != side || KindOf(piece) != kind) continue;
        if (fromFile && FileOf(from) != fromFile) continue;
        if (fromRank && RankOf(from) != fromRank) continue;
        if (!IsLegalIgnoringRepetition(b, from, to)) continue;
        // A king's two-square step is castling, which SAN writes as O-O.
        if (kind == 'k' && (FileOf(to) - FileOf(from) == 2 || FileOf(from) - FileOf(to) == 2))
            continue;
        found = {static_cast<Square>(from), to, promotes ? promotion : char(0)};
        ++matches;
    }
    if (matches == 0) return Fail(error, "illegal move");
    if (matches > 1) return Fail(error, "ambiguous move");
    out = found;
    return true;
}

std::string ToSan(const BoardState& b, const ChessMove& m) {
    const char piece = b.Squares[m.From];
    const char kind = KindOf(piece);
    std::string san;
    const int df = FileOf(m.To) - FileOf(m.From);
    if (kind == 'k' && (df == 2 || df == -2)) {
        san = df == 2 ? "O-O" : "O-O-O";
    } else if (kind == 'p') {
        const bool capture = FileOf(m.From) != FileOf(m.To);
        if (capture) {
            san += static_cast<char>('a' + FileOf(m.From) - 1);
            san += 'x';
        }
        san += SquareName(m.To);
        if (m.Promotion) {
            san += '=';
            san += static_cast<char>(m.Promotion - 32);
        }
    } else {
        san += static_cast<char>(kind - 32);
        // Disambiguation: the file if it tells the pieces apart, else the rank, else both.
        bool other = false, sameFile = false, sameRank = false;
        for (int s = 1; s <= 64; ++s) {
            if (s == m.From || b.Squares[s] != piece) continue;
            if (!IsLegalIgnoringRepetition(b, s, m.To)) continue;
            other = true;
            sameFile |= FileOf(s) == FileOf(m.From);
            sameRank |= RankOf(s) == RankOf(m.From);
        }
        if (other) {
            const std::string from = SquareName(m.From);
            if (!sameFile)
                san += from[0];
            else if (!sameRank)
                san += from[1];
            else
                san += from;
        }
        if (b.Squares[m.To] != ' ') san += 'x';
        san += SquareName(m.To);
    }
    BoardState after = b;
    ApplyMove(after, m.From, m.To, m.Promotion);
    if (InCheck(after)) san += HasLegalMove(after) ? '+' : '#';
    return san;
}

bool ParseCoordinateMove(const BoardState& b, std::string_view text, ChessMove& out) {
    if (text.size() != 4 && text.size() != 5) return false;
    ChessMove m{StrToSquare(text.substr(0, 2)), StrToSquare(text.substr(2, 2)),
                text.size() == 5 ? Lower(text[4]) : char(0)};
    if (m.From == None || m.To == None || !IsLegalChessMove(b, m)) return false;
    out = m;
    return true;
}

std::string CoordinateText(const ChessMove& m) {
    std::string s = SquareName(m.From) + SquareName(m.To);
    if (m.Promotion) s += m.Promotion;
    return s;
}

} // namespace qv
