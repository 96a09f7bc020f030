// The search board: loading a position, attacks, and making and taking back moves.
#include "engine/core/SearchBoard.h"

#include "engine/core/BoardGeometry.h"

#include <bit>
#include <cassert>
#include <cstring>

namespace qv::engine {

using geometry::Geo;

namespace {

inline bool FirstBlockerIs(std::uint64_t ray, std::uint64_t occupied, std::uint64_t attackers,
                           bool upwards) {
    const std::uint64_t blockers = ray & occupied;
    if (!blockers) return false;
    const int s = upwards ? std::countr_zero(blockers) : 63 - std::countl_zero(blockers);
    return (attackers >> s) & 1;
}

} // namespace

SearchBoard::SearchBoard() {
    LoadPosition(InitialPosition, true, AllCastling, None);
}

void SearchBoard::Put(int square, int colour, int piece) {
    assert(square >= 0 && square < 64 && colour_[square] == Empty);
    colour_[square] = static_cast<std::uint8_t>(colour);
    piece_[square] = static_cast<std::uint8_t>(piece);
    const std::uint64_t b = std::uint64_t{1} << square;
    pieces_[colour][piece] |= b;
    occupied_[colour] |= b;
    material_[colour] += prepared_[colour][piece][square];
}

void SearchBoard::Remove(int square) {
    assert(square >= 0 && square < 64 && colour_[square] != Empty);
    const int colour = colour_[square], piece = piece_[square];
    const std::uint64_t b = std::uint64_t{1} << square;
    pieces_[colour][piece] &= ~b;
    occupied_[colour] &= ~b;
    material_[colour] -= prepared_[colour][piece][square];
    colour_[square] = Empty;
    piece_[square] = Empty;
}

void SearchBoard::LoadPosition(const BoardState& position) {
    LoadPosition(position.PositionView(), position.WhiteToMove, position.CastlingAllowed,
                 position.EnPassant);
}

void SearchBoard::LoadPosition(std::string_view position, bool whiteToMove, CastleSet castling,
                               Square enPassant) {
    std::memset(pieces_, 0, sizeof pieces_);
    occupied_[0] = occupied_[1] = 0;
    material_[0] = material_[1] = 0;
    for (int s = 0; s < 64; ++s) {
        colour_[s] = piece_[s] = Empty;
        const char ch = s < static_cast<int>(position.size()) ? position[s] : ' ';
        int colour = Empty;
        if (ch >= 'b' && ch <= 'r')
            colour = Black;
        else if (ch >= 'B' && ch <= 'R')
            colour = White;
        const char lower = (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch + 32) : ch;
        int piece = Empty;
        switch (lower) {
        case 'p':
            piece = Pawn;
            break;
        case 'n':
            piece = Knight;
            break;
        case 'b':
            piece = Bishop;
            break;
        case 'r':
            piece = Rook;
            break;
        case 'q':
            piece = Queen;
            break;
        case 'k':
            piece = King;
            break;
        default:
            break;
        }
        if (colour != Empty && piece != Empty) Put(s, colour, piece);
    }
    side_ = whiteToMove ? White : Black;
    opponent_ = 1 - side_;

    // Rights are kept only where the king and the rook still stand at home, so that
    // castling never moves a piece that is not there.
    auto at = [&](int s, int colour, int piece) {
        return colour_[s] == colour && piece_[s] == piece;
    };
    castling_ = castling & 15;
    if (!(at(Sq::E1, White, King) && at(Sq::H1, White, Rook))) castling_ &= ~1;
    if (!(at(Sq::E1, White, King) && at(Sq::A1, White, Rook))) castling_ &= ~2;
    if (!(at(Sq::E8, Black, King) && at(Sq::H8, Black, Rook))) castling_ &= ~4;
    if (!(at(Sq::E8, Black, King) && at(Sq::A8, Black, Rook))) castling_ &= ~8;

    // The en-passant square must lie behind an enemy pawn that can just have made a double step.
    ep_ = static_cast<int>(enPassant) - 1;
    if (ep_ >= 0) {
        const bool ok = side_ == White ? (ep_ >= Sq::A6 && ep_ <= Sq::H6 && colour_[ep_] == Empty &&
                                          at(ep_ + 8, Black, Pawn))
                                       : (ep_ >= Sq::A3 && ep_ <= Sq::H3 && colour_[ep_] == Empty &&
                                          at(ep_ - 8, White, Pawn));
        if (!ok) ep_ = -1;
    }
    ply_ = 0;
}

std::string SearchBoard::PositionText() const {
    static constexpr char Letters[2][7] = {{'P', 'N', 'B', 'R', 'Q', 'K', ' '},
                                           {'p', 'n', 'b', 'r', 'q', 'k', ' '}};
    std::string text(64, ' ');
    for (int s = 0; s < 64; ++s)
        if (colour_[s] != Empty) text[s] = Letters[colour_[s]][piece_[s]];
    return text;
}

void SearchBoard::SumMaterial() {
    material_[0] = material_[1] = 0;
    for (int s = 0; s < 64; ++s)
        if (colour_[s] != Empty) material_[colour_[s]] += prepared_[colour_[s]][piece_[s]][s];
}

bool SearchBoard::SquareAttacked(int square, int bySide) const {
    const std::uint64_t* p = pieces_[bySide];
    if (Geo.PawnFrom[bySide][square] & p[Pawn]) return true;
    if (Geo.KnightFrom[square] & p[Knight]) return true;
    if (Geo.KingFrom[square] & p[King]) return true;
    const std::uint64_t occupied = occupied_[0] | occupied_[1];
    const std::uint64_t straight = p[Rook] | p[Queen];
    if (straight & Geo.RookLines[square]) {
        if (FirstBlockerIs(Geo.Ray[0][square], occupied, straight, true) ||
            FirstBlockerIs(Geo.Ray[1][square], occupied, straight, true) ||
            FirstBlockerIs(Geo.Ray[4][square], occupied, straight, false) ||
            FirstBlockerIs(Geo.Ray[5][square], occupied, straight, false))
            return true;
    }
    const std::uint64_t diagonal = p[Bishop] | p[Queen];
    if (diagonal & Geo.BishopLines[square]) {
        if (FirstBlockerIs(Geo.Ray[2][square], occupied, diagonal, true) ||
            FirstBlockerIs(Geo.Ray[3][square], occupied, diagonal, true) ||
            FirstBlockerIs(Geo.Ray[6][square], occupied, diagonal, false) ||
            FirstBlockerIs(Geo.Ray[7][square], occupied, diagonal, false))
            return true;
    }
    return false;
}

bool SearchBoard::SideInCheck(int side) const {
    // The first king in square order counts; a side without a king is never in check.
    const std::uint64_t kings = pieces_[side][King];
    if (!kings) return false;
    return SquareAttacked(std::countr_zero(kings), side ^ 1);
}

std::uint64_t SearchBoard::Fingerprint() const {
    std::uint64_t h = 0xCBF29CE484222325ULL; // FNV-1a
    auto mix = [&h](std::uint64_t value) {
        h ^= value;
        h *= 0x100000001B3ULL;
    };
    for (int s = 0; s < 64; ++s) mix(colour_[s] * 8u + piece_[s]);
    for (const auto& side : pieces_)
        for (std::uint64_t squares : side) mix(squares);
    mix(occupied_[0]);
    mix(occupied_[1]);
    mix(static_cast<std::uint64_t>(side_ * 2 + opponent_));
    mix(static_cast<std::uint64_t>(castling_));
    mix(static_cast<std::uint64_t>(ep_ + 1));
    mix(static_cast<std::uint32_t>(material_[0]));
    mix(static_cast<std::uint32_t>(material_[1]));
    return h;
}

bool SearchBoard::PlaySearchMove(MoveWord move) {
    const int from = MoveOrigin(move), to = MoveTarget(move), flags = MoveFlags(move);
    assert(ply_ >= 0 && ply_ < MaxPly && from >= 0 && from < 64 && to >= 0 && to < 64);
#ifndef NDEBUG
    fingerprint_[ply_] = Fingerprint();
#endif
    if (flags & MoveFlag::Castling) {
        if (SideInCheck(side_)) return false;
        const int enemy = opponent_;
        auto free = [&](int s) { return colour_[s] == Empty; };
        auto safe = [&](int s) { return !SquareAttacked(s, enemy); };
        int rookFrom, rookTo;
        switch (to) {
        case Sq::G1:
            if (!free(Sq::F1) || !free(Sq::G1) || !safe(Sq::F1) || !safe(Sq::G1)) return false;
            rookFrom = Sq::H1, rookTo = Sq::F1;
            break;
        case Sq::C1:
            if (!free(Sq::B1) || !free(Sq::C1) || !free(Sq::D1) || !safe(Sq::C1) || !safe(Sq::D1))
                return false;
            rookFrom = Sq::A1, rookTo = Sq::D1;
            break;
        case Sq::G8:
            if (!free(Sq::F8) || !free(Sq::G8) || !safe(Sq::F8) || !safe(Sq::G8)) return false;
            rookFrom = Sq::H8, rookTo = Sq::F8;
            break;
        case Sq::C8:
            if (!free(Sq::B8) || !free(Sq::C8) || !free(Sq::D8) || !safe(Sq::C8) || !safe(Sq::D8))
                return false;
            rookFrom = Sq::A8, rookTo = Sq::D8;
            break;
        default:
            return false;
        }
        Remove(rookFrom);
        Put(rookTo, side_, Rook);
    }
    UndoRecord& u = undo_[ply_];
    u.Move = move;
    u.Captured = piece_[to];
    u.Castling = castling_;
    u.EnPassant = ep_;
    ++ply_;
    castling_ &= Geo.CastleMask[from] & Geo.CastleMask[to];
    ep_ = (flags & MoveFlag::DoubleStep) ? (side_ == White ? to + 8 : to - 8) : -1;
    const int mover = piece_[from];
    if (u.Captured != Empty) Remove(to);
    Remove(from);
    Put(to, side_, (flags & MoveFlag::Promotion) ? MovePromotion(move) : mover);
    if (flags & MoveFlag::EnPassant) Remove(side_ == White ? to + 8 : to - 8);
    opponent_ = side_;
    side_ ^= 1;
    if (SideInCheck(opponent_)) {
        UndoSearchMove();
        return false;
    }
    return true;
}

void SearchBoard::UndoSearchMove() {
    assert(ply_ > 0);
    side_ = opponent_;
    opponent_ ^= 1;
    --ply_;
    const UndoRecord& u = undo_[ply_];
    castling_ = u.Castling;
    ep_ = u.EnPassant;
    const int from = MoveOrigin(u.Move), to = MoveTarget(u.Move), flags = MoveFlags(u.Move);
    const int placed = piece_[to];
    Remove(to);
    Put(from, side_, (flags & MoveFlag::Promotion) ? static_cast<int>(Pawn) : placed);
    if (u.Captured != Empty) Put(to, opponent_, u.Captured);
    if (flags & MoveFlag::Castling) {
        switch (to) {
        case Sq::G1:
            Remove(Sq::F1), Put(Sq::H1, side_, Rook);
            break;
        case Sq::C1:
            Remove(Sq::D1), Put(Sq::A1, side_, Rook);
            break;
        case Sq::G8:
            Remove(Sq::F8), Put(Sq::H8, side_, Rook);
            break;
        case Sq::C8:
            Remove(Sq::D8), Put(Sq::A8, side_, Rook);
            break;
        default:
            break;
        }
    }
    if (flags & MoveFlag::EnPassant) Put(side_ == White ? to + 8 : to - 8, opponent_, Pawn);
    assert(Fingerprint() == fingerprint_[ply_]);
}

} // namespace qv::engine
