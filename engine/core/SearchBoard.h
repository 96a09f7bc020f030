// The search's own board: pieces in arrays and bit sets, side to move, castling rights and
// en-passant square, with making and taking back moves in their packed form.
#pragma once

#include "board/core/Rules.h"
#include "engine/core/SearchTypes.h"

#include <array>
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv::engine {

// Squares of the search board, 0 = a8 ... 63 = h1 (the board's Square minus 1).
namespace Sq {
enum : int {
    A8,
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
    H1
};
} // namespace Sq

// The board a search plays its moves on. Moves come from MoveGenerator (pseudo-legal);
// PlaySearchMove refuses the illegal ones, UndoSearchMove takes back the last one played,
// up to MaxPly moves deep.
//
// Each side also carries a running sum of piece-square values, kept up to date by every
// change of the board. The values come from a table that a derived class fills (the
// evaluation does); it is all zero otherwise, and the sums are then zero too.
class SearchBoard {
public:
    static constexpr int White = 0;
    static constexpr int Black = 1;
    static constexpr int Empty = 6; // colour and piece code of an empty square
    enum PieceCode { Pawn = 0, Knight = 1, Bishop = 2, Rook = 3, Queen = 4, King = 5 };

    static constexpr int MaxPly = 64; // plies of the per-ply tables

    // The initial position.
    SearchBoard();

    // Loads a position at ply 0. Castling rights whose king or rook is not at home, and an
    // en-passant square that no double step can have produced, are dropped.
    void LoadPosition(std::string_view position, bool whiteToMove, CastleSet castling,
                      Square enPassant);
    void LoadPosition(const BoardState& position);

    // Plays a generated move; false (board unchanged) for an illegal castling or a
    // move that leaves the mover's king attacked.
    bool PlaySearchMove(MoveWord move);
    void UndoSearchMove();
    bool SideInCheck(int side) const;
    bool SquareAttacked(int square, int bySide) const;

    int SideToMove() const { return side_; }
    int Ply() const { return ply_; }
    int ColourAt(int square) const {
        assert(square >= 0 && square < 64);
        return colour_[square];
    }
    int PieceAt(int square) const {
        assert(square >= 0 && square < 64);
        return piece_[square];
    }
    // Squares of one side's pieces of one kind, and of all of one side's pieces (bit s = square s).
    std::uint64_t Pieces(int side, int piece) const { return pieces_[side][piece]; }
    std::uint64_t Occupied(int side) const { return occupied_[side]; }
    int CastlingRights() const { return castling_; }
    int EnPassantSquare() const { return ep_; }
    // The board as a 64-character position string (A8 first).
    std::string PositionText() const;

protected:
    void Put(int square, int colour, int piece);
    void Remove(int square);
    // Recomputes both sides' sums from the table, after the table has changed.
    void SumMaterial();

    std::array<std::uint8_t, 64> colour_{};
    std::array<std::uint8_t, 64> piece_{};
    std::uint64_t pieces_[2][6]{}; // squares of each side's pieces, bit s = square s
    std::uint64_t occupied_[2]{};
    int side_ = White;
    int opponent_ = Black;
    int castling_ = 0;
    int ep_ = -1;
    int ply_ = 0;

    // Piece-square values and each side's running sum of them.
    std::int32_t prepared_[2][6][64]{};
    int material_[2]{};

private:
    // A checksum of everything a move changes; debug builds check with it that taking
    // a move back restores the board exactly.
    std::uint64_t Fingerprint() const;

    struct UndoRecord {
        MoveWord Move;
        std::int32_t Captured;
        std::int32_t Castling;
        std::int32_t EnPassant;
    };
    UndoRecord undo_[MaxPly]{};
    std::uint64_t fingerprint_[MaxPly]{}; // before the move of each ply (debug builds)
};

} // namespace qv::engine
