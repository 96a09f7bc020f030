// Square numbering of the board and the small conversions every layer shares.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// The 64 squares in the reading order of a diagram with White at the bottom:
// None = 0, A8 = 1 ... H8 = 8, A7 = 9 ... H1 = 64.
enum Square : int {
    None = 0,
    A8 = 1,
    B8,
    C8,
    D8,
    E8,
    F8,
    G8,
    H8,
    A7,
    B7,
    C7,
    D7,
    E7,
    F7,
    G7,
    H7,
    A6,
    B6,
    C6,
    D6,
    E6,
    F6,
    G6,
    H6,
    A5,
    B5,
    C5,
    D5,
    E5,
    F5,
    G5,
    H5,
    A4,
    B4,
    C4,
    D4,
    E4,
    F4,
    G4,
    H4,
    A3,
    B3,
    C3,
    D3,
    E3,
    F3,
    G3,
    H3,
    A2,
    B2,
    C2,
    D2,
    E2,
    F2,
    G2,
    H2,
    A1,
    B1,
    C1,
    D1,
    E1,
    F1,
    G1,
    H1,
};

// File 1 (a) .. 8 (h) of a square 1..64.
constexpr int FileOf(int sq) {
    return ((sq - 1) % 8) + 1;
}
// Rank 1 .. 8 of a square 1..64.
constexpr int RankOf(int sq) {
    return 8 - (sq - 1) / 8;
}
// The square on a file and rank, or None when either lies outside 1..8.
constexpr Square SquareAt(int file, int rank) {
    if (file < 1 || file > 8 || rank < 1 || rank > 8) return None;
    return static_cast<Square>((8 - rank) * 8 + file);
}
// a8 and h1 are light, a1 and h8 dark.
constexpr bool IsLightSquare(int sq) {
    return (sq - 1) % 2 == ((sq - 1) / 8) % 2;
}
constexpr bool IsOnBoard(int sq) {
    return sq >= 1 && sq <= 64;
}

// "e4" or "E4" to E4; anything else (wrong length, letters, digits) to None.
Square StrToSquare(std::string_view text);
// E4 to "e4"; None and out-of-range values to "--".
std::string SquareName(int sq);

// Castling rights, one bit each, held in one byte.
enum CanStillCastle : std::uint8_t {
    WhiteKingSide = 1 << 0,
    WhiteQueenSide = 1 << 1,
    BlackKingSide = 1 << 2,
    BlackQueenSide = 1 << 3,
};
using CastleSet = std::uint8_t;
constexpr CastleSet AllCastling = WhiteKingSide | WhiteQueenSide | BlackKingSide | BlackQueenSide;

// The position string of the initial position.
inline constexpr std::string_view InitialPosition =
    "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

} // namespace qv
