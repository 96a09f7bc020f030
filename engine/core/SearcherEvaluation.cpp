// The static evaluation: the prepared piece-square table and the pawn and rook terms.
#include "engine/core/Searcher.h"

#include <bit>
#include <cstring>

namespace qv::engine {

namespace {

// Source tables from White's side: entry 0 is a8, entry 7 h8, entry 56 a1. Black
// reads them mirrored by rank (square s ^ 56).
constexpr int PawnTable[64] = {
    0, 0,  0,  0,   0,   0,  0,  0, //
    5, 10, 15, 20,  20,  15, 10, 5, //
    4, 8,  12, 16,  16,  12, 8,  4, //
    3, 6,  9,  12,  12,  9,  6,  3, //
    2, 4,  6,  8,   8,   6,  4,  2, //
    1, 2,  3,  4,   4,   3,  2,  1, //
    0, 0,  0,  -20, -20, 0,  0,  0, //
    0, 0,  0,  0,   0,   0,  0,  0,
};

constexpr int MinorPieceTable[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   10,  10,  5,   0,   -10, //
    -10, 0,   5,   5,   5,   5,   0,   -10, //
    -10, 0,   0,   0,   0,   0,   0,   -10, //
    -20, -20, -20, -20, -20, -20, -20, -20,
};

constexpr int KingMiddleTable[64] = {
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -40, -40, -40, -40, -40, -40, -40, -40, //
    -20, -20, -20, -20, -20, -20, -20, -20, //
    -10, 0,   10,  -20, 0,   -20, 10,  0,
};

constexpr int KingEndTable[64] = {
    -5, -5, -5, -5, -5, -5, -5, -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  10, 10, 5,  0,  -5, //
    -5, 0,  5,  5,  5,  5,  0,  -5, //
    -5, 0,  0,  0,  0,  0,  0,  -5, //
    -5, -5, -5, -5, -5, -5, -5, -5,
};

constexpr int KingsideShelterTable[64] = {
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 0,  0,  0,  //
    0, 0, 0, 0, 0, 5,  5,  5,  //
    0, 0, 0, 0, 0, 10, 10, 10, //
    0, 0, 0, 0, 0, 20, 20, 20, //
    0, 0, 0, 0, 0, 0,  0,  0,
};

constexpr int QueensideShelterTable[64] = {
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0, //
    5,  5,  5,  0, 0, 0, 0, 0, //
    10, 10, 10, 0, 0, 0, 0, 0, //
    20, 20, 20, 0, 0, 0, 0, 0, //
    0,  0,  0,  0, 0, 0, 0, 0,
};

// All squares of a file (0 = file a).
constexpr std::uint64_t FileMask(int file) {
    return 0x0101010101010101ULL << file;
}

// The files (bit 0 = file a) on which a set of pawns stands.
constexpr unsigned PawnFiles(std::uint64_t pawns) {
    pawns |= pawns >> 32;
    pawns |= pawns >> 16;
    pawns |= pawns >> 8;
    return static_cast<unsigned>(pawns & 0xFF);
}

constexpr int PieceValue[6] = {100, 300, 300, 500, 900, 0};

// Material that decides the opponent's king table: knights, bishops, rooks and queens.
constexpr int EndgameMaterial = 1400;

} // namespace

void Searcher::PrepareEvaluation() {
    std::memset(prepared_, 0, sizeof prepared_);
    std::memset(pawnCache_, 0, sizeof pawnCache_);
    for (int side = White; side <= Black; ++side) {
        const int mirror = side == White ? 0 : 56;
        for (int s = 0; s < 64; ++s) {
            const int t = s ^ mirror;
            prepared_[side][Pawn][s] = PieceValue[Pawn] + PawnTable[t];
            prepared_[side][Knight][s] = PieceValue[Knight] + MinorPieceTable[t];
            prepared_[side][Bishop][s] = PieceValue[Bishop] + MinorPieceTable[t];
            prepared_[side][Rook][s] = PieceValue[Rook];
            prepared_[side][Queen][s] = PieceValue[Queen];
        }
        const int enemy = side ^ 1;
        int material = 0;
        for (int piece = Knight; piece <= Queen; ++piece)
            material += PieceValue[piece] * std::popcount(pieces_[enemy][piece]);
        const std::uint64_t kings = pieces_[side][King];
        // A side without a king plays by the endgame table and gets no shelter.
        const bool middleGame = kings && material > EndgameMaterial;
        for (int s = 0; s < 64; ++s)
            prepared_[side][King][s] =
                middleGame ? KingMiddleTable[s ^ mirror] : KingEndTable[s ^ mirror];
        if (middleGame) {
            const int kingFile = std::countr_zero(kings) & 7;
            const int* shelter = kingFile >= 5   ? KingsideShelterTable
                                 : kingFile <= 2 ? QueensideShelterTable
                                                 : nullptr;
            if (shelter)
                for (int s = 0; s < 64; ++s) prepared_[side][Pawn][s] += shelter[s ^ mirror];
        }
    }
    SumMaterial();
}

int Searcher::Evaluate() const {
    // Running scores start from the prepared entries of every piece, kept up to date
    // by Put and Remove; the pawn structure and rook files are added here. Per side,
    // bit f of Files says that the side has a pawn on file f.
    const std::uint64_t whitePawns = pieces_[White][Pawn], blackPawns = pieces_[Black][Pawn];
    const std::uint64_t key =
        whitePawns * 0x9E3779B97F4A7C15ULL ^ blackPawns * 0xC2B2AE3D27D4EB4FULL;
    PawnEntry& e = pawnCache_[(key >> 52) & (PawnCacheSize - 1)];
    if (e.Pawns[White] != whitePawns || e.Pawns[Black] != blackPawns) {
        e.Pawns[White] = whitePawns;
        e.Pawns[Black] = blackPawns;
        e.Files[White] = static_cast<std::uint8_t>(PawnFiles(whitePawns));
        e.Files[Black] = static_cast<std::uint8_t>(PawnFiles(blackPawns));
        for (int x = White; x <= Black; ++x) {
            const int y = x ^ 1;
            const std::uint64_t pawns = pieces_[x][Pawn];
            int score = 0;
            for (std::uint64_t b = pawns; b; b &= b - 1) {
                const int s = std::countr_zero(b);
                const int f = s & 7;
                const unsigned file = 1u << f;
                const unsigned neighbours = ((file << 1) | (file >> 1)) & 0xFF;
                if (pawns & FileMask(f) & ~(std::uint64_t{1} << s)) score -= 5; // doubled
                if (!(e.Files[x] & neighbours)) {                               // isolated
                    score -= 20;
                    if (!(e.Files[y] & file)) score -= 10;
                }
                if (!(e.Files[y] & (neighbours | file)))
                    score += 2 * prepared_[x][Pawn][s]; // passed
            }
            e.Score[x] = score;
        }
    }
    int score[2] = {material_[White] + e.Score[White], material_[Black] + e.Score[Black]};
    for (int x = White; x <= Black; ++x) {
        for (std::uint64_t b = pieces_[x][Rook]; b; b &= b - 1) {
            const unsigned file = 1u << (std::countr_zero(b) & 7);
            if (!(e.Files[x] & file)) {
                score[x] += 10;                              // half-open file
                if (!(e.Files[x ^ 1] & file)) score[x] += 5; // open file
            }
        }
    }
    return side_ == White ? score[White] - score[Black] : score[Black] - score[White];
}

} // namespace qv::engine
