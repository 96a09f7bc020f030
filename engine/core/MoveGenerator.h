// Pseudo-legal move lists of the search board, one list per ply on one shared stack.
#pragma once

#include "engine/core/SearchBoard.h"
#include "engine/core/SearchTypes.h"

#include <cstdint>

namespace qv::engine {

// Generates the moves of the side to move of a SearchBoard into the list of the board's
// current ply: every move (GenerateAllMoves) or captures and promotions only
// (GenerateQuiescenceMoves). The moves are pseudo-legal: SearchBoard::PlaySearchMove
// refuses those that leave the king attacked or castle illegally. Each entry carries an
// ordering score: captures by victim and attacker, promotions by piece, quiet moves by
// a history table that the user raises (all zero at first).
class MoveGenerator {
public:
    static constexpr int StackSize = 4096; // move-stack entries shared by all plies

    void GenerateAllMoves(const SearchBoard& board);
    void GenerateQuiescenceMoves(const SearchBoard& board);

    // Forgets every list; the list of ply 0 is then empty.
    void Clear() { listStart_[0] = listEnd_[0] = 0; }
    // The list of a ply is ListBegin(ply) .. ListEnd(ply) - 1.
    int ListBegin(int ply) const { return listStart_[ply]; }
    int ListEnd(int ply) const { return listEnd_[ply]; }
    // No list of this ply or deeper fits on the stack.
    bool Full(int ply) const { return listStart_[ply] >= StackSize; }
    MoveWord ListMove(int index) const { return stack_[index].Move; }
    int ListScore(int index) const { return stack_[index].Score; }
    void AddToScore(int index, int amount) { stack_[index].Score += amount; }
    // Moves the best-scored entry of index .. ListEnd(ply) - 1 to index (first wins ties).
    void PickBestMove(int ply, int index);

    void ClearHistory();
    void RaiseHistory(int origin, int target, int amount) { history_[origin][target] += amount; }

private:
    struct StackEntry {
        MoveWord Move;
        std::int32_t Score;
    };

    template <int Side, bool AllMoves> void Generate(const SearchBoard& board);
    template <int Side, bool AllMoves>
    void GeneratePawn(const SearchBoard& board, int square, int& n);
    void AddPawnMove(const SearchBoard& board, int& n, int origin, int target, int flags,
                     bool lastRank);
    void AddMove(const SearchBoard& board, int& n, int origin, int target, int flags);

    StackEntry stack_[StackSize + 2048]{}; // headroom for one list started just below the limit
    int listStart_[SearchBoard::MaxPly + 1]{};
    int listEnd_[SearchBoard::MaxPly + 1]{};
    std::int32_t history_[64][64]{};
};

} // namespace qv::engine
