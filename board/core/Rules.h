// The rules of chess on a plain board state: piece colours, attacks on the king, legality.
#pragma once

#include "board/core/Square.h"

#include <array>
#include <string>
#include <string_view>

namespace qv {

// A plain position: the 64 squares (index 1..64, index 0 is the square None and
// always empty, index 65 a terminating NUL, so &Squares[1] is the position
// string), side to move, castling rights, en-passant square and move number.
struct BoardState {
    std::array<char, 66> Squares{};
    bool WhiteToMove = true;
    CastleSet CastlingAllowed = AllCastling;
    Square EnPassant = None;
    int CurrentMove = 1;

    BoardState();
    // The 64-character position string.
    std::string PositionText() const { return std::string(&Squares[1], 64); }
    std::string_view PositionView() const { return std::string_view(&Squares[1], 64); }
    char At(int sq) const { return IsOnBoard(sq) ? Squares[sq] : ' '; }
    // Sets the 64 squares from a position string; see BoardModel::SetPosition for the rules.
    void SetSquaresFromText(std::string_view text);
};

constexpr int WhiteColor = 1;
constexpr int BlackColor = 0;
constexpr int NoColor = -1;

// 1 for a White letter ("B".."R"), 0 for a Black letter ("b".."r"), -1 otherwise.
constexpr int PieceColorOf(char ch) {
    if (ch >= 'B' && ch <= 'R') return WhiteColor;
    if (ch >= 'b' && ch <= 'r') return BlackColor;
    return NoColor;
}
int PieceColor(const BoardState& b, int sq);

// Is the king of the given colour attacked once the piece on origin has moved to
// target on a scratch copy? With origin == target: is it attacked now.
bool KingAttacked(const BoardState& b, int colour, int origin, int target);

// The piece rule of the moving piece alone (no check test, no turn test).
bool PieceRuleAllows(const BoardState& b, int origin, int target);

// Every test of legality except the repetition rule, which needs the game record.
bool IsLegalIgnoringRepetition(const BoardState& b, int origin, int target);

// Does the side to move have at least one legal move (repetition not applied)?
bool HasLegalMove(const BoardState& b);

// Lists the legal moves (repetition not applied) of the side to move as (origin, target) pairs,
// origin-major.
struct SimpleMove {
    Square From;
    Square To;
};
int GenerateLegalMoves(const BoardState& b, std::array<SimpleMove, 256>& out);

// Plays a move on a plain state with the board's side effects (promotion to the
// given letter, or to a queen when it is 0; the en-passant victim; the castling
// rook; the new en-passant square; castling rights by origin; side and move
// number). No legality test: the caller has made sure the move is legal.
void ApplyMove(BoardState& b, int origin, int target, char promotion = 0);

// Reads a FEN (placement, and optionally side, castling, en-passant square, a
// half-move clock that is ignored and a move number 1..100000) into a state.
// Returns false with a reason in *error, leaving out unchanged, for a malformed text.
bool ParseFen(std::string_view fen, BoardState& out, std::string* error = nullptr);

} // namespace qv
