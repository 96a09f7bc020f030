// Fixed tables of board geometry shared by the search board and the move generator.
#pragma once

#include "engine/core/SearchBoard.h"

#include <bit>
#include <cstdint>

namespace qv::engine::geometry {

// The 10 x 12 frame: entry 21 + 10 * row + file holds that square, the rest -1.
struct Geometry {
    std::int8_t Frame[120]{};
    std::int8_t FrameIndex[64]{};
    std::int8_t CastleMask[64]{};
    // Bit sets for the attack test: the squares from which a piece of that kind attacks a square.
    std::uint64_t KnightFrom[64]{};
    std::uint64_t KingFrom[64]{};
    std::uint64_t PawnFrom[2][64]{}; // [side of the pawn][attacked square]
    // Rays leaving a square: 0 east, 1 south, 2 south-east, 3 south-west (towards higher
    // square numbers), 4 west, 5 north, 6 north-west, 7 north-east (towards lower).
    std::uint64_t Ray[8][64]{};
    std::uint64_t RookLines[64]{};
    std::uint64_t BishopLines[64]{};
};

inline constexpr int KnightSteps[8] = {-21, -19, -12, -8, 8, 12, 19, 21};
inline constexpr int BishopSteps[4] = {-11, -9, 9, 11};
inline constexpr int RookSteps[4] = {-10, -1, 1, 10};
inline constexpr int QueenSteps[8] = {-11, -10, -9, -1, 1, 9, 10, 11};

constexpr Geometry BuildGeometry() {
    Geometry g{};
    for (int i = 0; i < 120; ++i) g.Frame[i] = -1;
    for (int s = 0; s < 64; ++s) {
        const int f = 21 + 10 * (s / 8) + s % 8;
        g.Frame[f] = static_cast<std::int8_t>(s);
        g.FrameIndex[s] = static_cast<std::int8_t>(f);
        g.CastleMask[s] = 15;
    }
    // A move from or to a king or rook home square clears the rights that need it.
    g.CastleMask[Sq::A8] = 7;
    g.CastleMask[Sq::E8] = 3;
    g.CastleMask[Sq::H8] = 11;
    g.CastleMask[Sq::A1] = 13;
    g.CastleMask[Sq::E1] = 12;
    g.CastleMask[Sq::H1] = 14;
    auto bit = [](int s) { return std::uint64_t{1} << s; };
    for (int s = 0; s < 64; ++s) {
        const int f = g.FrameIndex[s];
        for (int d : KnightSteps)
            if (g.Frame[f + d] >= 0) g.KnightFrom[s] |= bit(g.Frame[f + d]);
        for (int d : QueenSteps)
            if (g.Frame[f + d] >= 0) g.KingFrom[s] |= bit(g.Frame[f + d]);
        // A White pawn attacks towards lower numbers, so it stands below (frame +9, +11).
        if (g.Frame[f + 9] >= 0) g.PawnFrom[0][s] |= bit(g.Frame[f + 9]);
        if (g.Frame[f + 11] >= 0) g.PawnFrom[0][s] |= bit(g.Frame[f + 11]);
        if (g.Frame[f - 9] >= 0) g.PawnFrom[1][s] |= bit(g.Frame[f - 9]);
        if (g.Frame[f - 11] >= 0) g.PawnFrom[1][s] |= bit(g.Frame[f - 11]);
        constexpr int RaySteps[8] = {1, 10, 11, 9, -1, -10, -11, -9};
        for (int r = 0; r < 8; ++r)
            for (int t = f + RaySteps[r]; g.Frame[t] >= 0; t += RaySteps[r])
                g.Ray[r][s] |= bit(g.Frame[t]);
        g.RookLines[s] = g.Ray[0][s] | g.Ray[1][s] | g.Ray[4][s] | g.Ray[5][s];
        g.BishopLines[s] = g.Ray[2][s] | g.Ray[3][s] | g.Ray[6][s] | g.Ray[7][s];
    }
    return g;
}

inline constexpr Geometry Geo = BuildGeometry();

// The bit-set ray (see Geometry::Ray) that follows a frame step.
constexpr int RayOfStep(int step) {
    switch (step) {
    case 1:
        return 0;
    case 10:
        return 1;
    case 11:
        return 2;
    case 9:
        return 3;
    case -1:
        return 4;
    case -10:
        return 5;
    case -11:
        return 6;
    default:
        return 7; // -9
    }
}

} // namespace qv::engine::geometry
