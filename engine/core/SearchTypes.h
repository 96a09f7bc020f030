// Value types of the search: the packed move word, the search result and the statistics.
#pragma once

#include "board/core/Square.h"

#include <cstdint>
#include <functional>
#include <string>

namespace qv::engine {

// A move of the search packed into 32 bits: origin square (bits 0-7), target square
// (8-15), promotion piece (16-23: 0 none, 1 knight, 2 bishop, 3 rook, 4 queen) and
// flags (24-31). Squares are numbered 0 = a8 ... 63 = h1, the board's Square minus 1.
using MoveWord = std::uint32_t;

namespace MoveFlag {
constexpr int Capture = 1;
constexpr int Castling = 2;
constexpr int EnPassant = 4;
constexpr int DoubleStep = 8;
constexpr int PawnMove = 16;
constexpr int Promotion = 32;
} // namespace MoveFlag

constexpr MoveWord MakeMoveWord(int origin, int target, int promotion, int flags) {
    return static_cast<MoveWord>(origin) | (static_cast<MoveWord>(target) << 8) |
           (static_cast<MoveWord>(promotion) << 16) | (static_cast<MoveWord>(flags) << 24);
}
constexpr int MoveOrigin(MoveWord m) {
    return static_cast<int>(m & 0xFF);
}
constexpr int MoveTarget(MoveWord m) {
    return static_cast<int>((m >> 8) & 0xFF);
}
constexpr int MovePromotion(MoveWord m) {
    return static_cast<int>((m >> 16) & 0xFF);
}
constexpr int MoveFlags(MoveWord m) {
    return static_cast<int>(m >> 24);
}

// "e2e4", with a fifth letter (n, b, r, q) for a promotion.
std::string MoveText(MoveWord m);

// What a search hands back. From/To are board squares (A8 = 1 ... H1 = 64).
struct SearchResult {
    bool Found =
        false; // a move was found: the search was not stopped and the side had a legal move
    bool Stopped = false; // the stop flag was seen during the search; the move is meaningless
    Square From = None;
    Square To = None;
    char Promotion = '\0'; // 'q', 'r', 'b' or 'n' for a promotion chosen by the search, else 0
    int Score = 0;         // score of the last completed iteration, for the side to move
    int CompletedDepth = 0;
    MoveWord Move = 0; // the first move of the principal line as the search holds it
    // The budget ran out: the search ended early with the move and score of its last
    // completed depth (Found is false when not even depth 1 was completed).
    bool BudgetExhausted = false;
};

// Limits a caller may set on one search; the defaults set none, and a search without
// limits visits exactly the nodes it always did. Once a limit is reached the search
// unwinds at once, the quiescence search included, and keeps the result of its last
// completed depth.
struct SearchBudget {
    long long MaxNodes = 0;     // 0: no node limit
    double MaxMilliseconds = 0; // 0: no time limit (wall time from the start of the search)
    // Also look at the stop flag inside the quiescence search (every few hundred nodes),
    // so that a stop ends even a long capture sequence at once.
    bool StopInQuiescence = false;
    bool Any() const { return MaxNodes > 0 || MaxMilliseconds > 0 || StopInQuiescence; }
};

// Totals after one iteration of the deepening loop (counted from the start of the search).
struct IterationStats {
    int Depth = 0;
    long long Nodes = 0; // calls of AlphaBeta and QuiescenceSearch
    double Milliseconds = 0;
    int Score = 0;
    // The principal line of the iteration (Line[0] is the move of the root). When no move
    // raised the score at the root (every move is mated at once) it is the first legal
    // move tried; empty when the side to move has no legal move.
    const MoveWord* Line = nullptr;
    int LineLength = 0;
};

// Optional statistics of one search.
struct SearchStats {
    long long Nodes = 0;
    double Milliseconds = 0;
    // Called after each completed iteration, between iterations (never inside the tree).
    std::function<void(const IterationStats&)> OnIteration;
};

} // namespace qv::engine
