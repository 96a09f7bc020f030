// The searcher: alpha-beta with quiescence over its own search board and move generator,
// and the evaluation.
#pragma once

#include "board/core/PerftBudget.h"
#include "board/core/Rules.h"
#include "engine/core/MoveGenerator.h"
#include "engine/core/SearchBoard.h"
#include "engine/core/SearchTypes.h"

#include <atomic>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace qv::engine {

// Searches a position for the side to move: an iteratively deepened, fail-hard
// alpha-beta with a check extension, a quiescence search over captures and
// promotions, and move ordering by principal line, captures, promotions and a
// history table. All memory is held in fixed tables inside the object, so a
// search allocates nothing; create one object per thread and reuse it. The
// principal line is kept from one search to the next (it guides the ordering of
// the first iteration), so the same sequence of searches gives the same moves.
// The object is large (about 220 KB): create it on the heap.
class Searcher : public SearchBoard {
public:
    static constexpr int StackSize = MoveGenerator::StackSize;
    static constexpr int ScoreLimit = 10000;

    // Searches the position to the given depth (values below 1 count as 1) unless
    // `stop` becomes true, which ends the search within one node.
    SearchResult RunSearch(const BoardState& position, int depth, const std::atomic<bool>& stop,
                           SearchStats* stats = nullptr, const SearchBudget& budget = {});
    // The same from the board's live fields: 64 position characters (A8 first),
    // side to move, castling rights and en-passant square.
    SearchResult RunSearch(std::string_view position, bool whiteToMove, CastleSet castling,
                           Square enPassant, int depth, const std::atomic<bool>& stop,
                           SearchStats* stats = nullptr, const SearchBudget& budget = {});

    // --- Lower-level operations, for the perft tool and the tests ---

    // Loads the search board (ply 0) from a position; see SearchBoard::LoadPosition.
    void LoadPosition(std::string_view position, bool whiteToMove, CastleSet castling,
                      Square enPassant);
    void LoadPosition(const BoardState& position);

    // Builds the prepared evaluation table from the current board (the root).
    void PrepareEvaluation();
    // Static score of the current board for the side to move.
    int Evaluate() const;

    // Fill the list of the current ply; the list is ListBegin() .. ListEnd() - 1.
    void GenerateAllMoves() { moves_.GenerateAllMoves(*this); }
    void GenerateQuiescenceMoves() { moves_.GenerateQuiescenceMoves(*this); }
    int ListBegin() const { return moves_.ListBegin(ply_); }
    int ListEnd() const { return moves_.ListEnd(ply_); }
    MoveWord ListMove(int index) const { return moves_.ListMove(index); }
    int ListScore(int index) const { return moves_.ListScore(index); }
    // Moves the best-scored entry of index .. ListEnd() - 1 to index (first wins ties).
    void PickBestMove(int index) { moves_.PickBestMove(ply_, index); }

    long long Nodes() const { return nodes_; }

    // Leaf count of the current board through this generator and PlaySearchMove; with a
    // budget it stops early once the budget is exhausted (the count is then incomplete).
    long long Perft(int depth, PerftBudget* budget = nullptr);
    // Each legal first move with its leaf count, in generation order.
    std::vector<std::pair<MoveWord, long long>> PerftDivide(int depth,
                                                            PerftBudget* budget = nullptr);

private:
    int AlphaBeta(int alpha, int beta, int depth);
    int QuiescenceSearch(int alpha, int beta);
    void BoostPrincipalMove();
    void TakePrincipalLine(MoveWord move);
    // A node at the last ply, or whose list could not be stored, goes no deeper.
    bool AtLimit() const { return ply_ >= MaxPly - 1 || moves_.Full(ply_); }
    // Counts a node; with a budget, looks at the limits every BudgetInterval nodes and
    // sets halted_ once one is reached. Without one, nextCheck_ is never reached.
    void CountNode() {
        if (++nodes_ >= nextCheck_) CheckBudget();
    }
    void CheckBudget();
    static double NowMs();

    MoveGenerator moves_;

    // Pawn terms of recently seen pawn structures (they depend on the pawns alone, given
    // the prepared table); cleared with every PrepareEvaluation. An empty entry is the
    // correct one for a board without pawns.
    struct PawnEntry {
        std::uint64_t Pawns[2];
        std::int32_t Score[2];
        std::uint8_t Files[2];
    };
    static constexpr int PawnCacheSize = 4096;
    mutable PawnEntry pawnCache_[PawnCacheSize]{};

    // Search state.
    MoveWord pv_[MaxPly][MaxPly]{};
    int pvLength_[MaxPly]{};
    bool followPrincipal_ = false;
    bool rootHasMove_ = false;   // a legal move was played at the root in this iteration
    MoveWord firstRootMove_ = 0; // the first one tried
    const std::atomic<bool>* stop_ = nullptr;
    long long nodes_ = 0;

    // Budget state of the running search.
    static constexpr long long BudgetInterval = 256;
    long long nextCheck_ = 0;
    SearchBudget budget_;
    double startMs_ = 0; // steady-clock milliseconds at the start of the search
    bool halted_ = false;
};

} // namespace qv::engine
