// Moves as text: standard algebraic notation (SAN, "Nf3", "exd5", "O-O", "e8=Q+")
// and the coordinate form ("g1f3", "e7e8q"), read and written against a position.
#pragma once

#include "board/core/Rules.h"
#include "board/core/Square.h"

#include <array>
#include <string>
#include <string_view>

namespace qv {

// A move with the piece a pawn becomes: 'q', 'r', 'b' or 'n' for a promotion, 0 otherwise.
struct ChessMove {
    Square From = None;
    Square To = None;
    char Promotion = 0;
    friend bool operator==(const ChessMove&, const ChessMove&) = default;
};

// Does the move bring a pawn of the side to move to its last rank?
bool IsPromotionMove(const BoardState& b, Square from, Square to);

// Every legal move of the side to move (the repetition rule is not applied), in
// origin-major square order; a promotion is listed once for each of q, r, b, n.
// Returns how many were written (a position has at most 218).
int ListLegalMoves(const BoardState& b, std::array<ChessMove, 256>& out);

// Is the move legal, with a promotion letter exactly when it promotes?
bool IsLegalChessMove(const BoardState& b, const ChessMove& m);

// Reads SAN: a piece letter K, Q, R, B or N (none for a pawn), the origin's file,
// rank or both where needed, "x" for a capture (optional), the target square and
// "=Q" or "Q" for a promotion; "O-O", "O-O-O" and "0-0", "0-0-0" for castling.
// Check and mate signs, annotation glyphs ("!", "?", "!?") and a trailing "e.p."
// are ignored, and so is a "-" between origin and target ("Ng1-f3"). A promotion
// without a letter promotes to a queen. Returns false, with a reason in *error,
// when the text is no move, names no legal move, or fits more than one.
bool ParseSan(const BoardState& b, std::string_view text, ChessMove& out,
              std::string* error = nullptr);

// The SAN of a legal move, with "+" for check and "#" for mate.
std::string ToSan(const BoardState& b, const ChessMove& m);

// Reads the coordinate form: origin, target and a promotion letter in either case
// ("e2e4", "e7e8q"). Returns false when it does not name a legal move (a
// promotion needs its letter, other moves must not have one).
bool ParseCoordinateMove(const BoardState& b, std::string_view text, ChessMove& out);

// "e2e4", "e7e8q".
std::string CoordinateText(const ChessMove& m);

// Is the side to move in check, and is it mated?
bool InCheck(const BoardState& b);
bool IsCheckmate(const BoardState& b);

} // namespace qv
