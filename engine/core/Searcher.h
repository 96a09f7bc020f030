// The searcher: its own board, the move generator, alpha-beta with quiescence and the evaluation.
#pragma once

#include "core/Rules.h"
#include "core/SearchTypes.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
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
class Searcher {
public:
    static constexpr int White = 0;
    static constexpr int Black = 1;
    static constexpr int Empty = 6; // colour and piece code of an empty square
    enum PieceCode { Pawn = 0, Knight = 1, Bishop = 2, Rook = 3, Queen = 4, King = 5 };

    static constexpr int MaxPly = 64;      // plies of the per-ply tables
    static constexpr int StackSize = 4096; // move-stack entries shared by all plies
    static constexpr int ScoreLimit = 10000;

    Searcher();

    // Searches the position to the given depth (values below 1 count as 1) unless
    // `stop` becomes true, which ends the search within one node.
    SearchResult RunSearch(const BoardState& position, int depth, const std::atomic<bool>& stop,
                           SearchStats* stats = nullptr);
    // The same from the board's live fields: 64 position characters (A8 first),
    // side to move, castling rights and en-passant square.
    SearchResult RunSearch(std::string_view position, bool whiteToMove, CastleSet castling,
                           Square enPassant, int depth, const std::atomic<bool>& stop,
                           SearchStats* stats = nullptr);

    // --- Lower-level operations, for the perft tool and the tests ---

    // Loads the search board (ply 0) from a position. Castling rights whose king
    // or rook is not at home, and an en-passant square that no double step can
    // have produced, are dropped.
    void LoadPosition(std::string_view position, bool whiteToMove, CastleSet castling,
                      Square enPassant);
    void LoadPosition(const BoardState& position);

    // Builds the prepared evaluation table from the current board (the root).
    void PrepareEvaluation();
    // Static score of the current board for the side to move.
    int Evaluate() const;

    // Fill the list of the current ply; the list is ListBegin() .. ListEnd() - 1.
    void GenerateAllMoves();
    void GenerateQuiescenceMoves();
    int ListBegin() const { return listStart_[ply_]; }
    int ListEnd() const { return listEnd_[ply_]; }
    MoveWord ListMove(int index) const { return stack_[index].Move; }
    int ListScore(int index) const { return stack_[index].Score; }
    // Moves the best-scored entry of index .. ListEnd() - 1 to index (first wins ties).
    void PickBestMove(int index);

    // Plays a generated move; false (board unchanged) for an illegal castling or a
    // move that leaves the mover's king attacked.
    bool PlaySearchMove(MoveWord move);
    void UndoSearchMove();
    bool SideInCheck(int side) const;
    bool SquareAttacked(int square, int bySide) const;

    int SideToMove() const { return side_; }
    int Ply() const { return ply_; }
    int ColourAt(int square) const { return colour_[square]; }
    int PieceAt(int square) const { return piece_[square]; }
    int CastlingRights() const { return castling_; }
    int EnPassantSquare() const { return ep_; }
    // The board as a 64-character position string (A8 first).
    std::string PositionText() const;
    // The principal line of the root (row 0) and its length.
    MoveWord PrincipalMove(int index) const { return pv_[0][index]; }
    int PrincipalLength() const { return pvLength_[0]; }
    long long Nodes() const { return nodes_; }

    // Leaf count of the current board through this generator and PlaySearchMove.
    long long Perft(int depth);
    // Each legal first move with its leaf count, in generation order.
    std::vector<std::pair<MoveWord, long long>> PerftDivide(int depth);

private:
    struct StackEntry {
        MoveWord Move;
        std::int32_t Score;
    };
    struct UndoRecord {
        MoveWord Move;
        std::int32_t Captured;
        std::int32_t Castling;
        std::int32_t EnPassant;
    };

    int AlphaBeta(int alpha, int beta, int depth);
    int QuiescenceSearch(int alpha, int beta);
    void BoostPrincipalMove();
    void TakePrincipalLine(MoveWord move);
    template <int Side, bool AllMoves> void Generate();
    template <int Side, bool AllMoves> void GeneratePawn(int square, int& n);
    void AddPawnMove(int& n, int origin, int target, int flags, bool lastRank);
    void AddMove(int& n, int origin, int target, int flags);
    void Put(int square, int colour, int piece);
    void Remove(int square);
    void SumMaterial();
    // A node at the last ply, or whose list could not be stored, goes no deeper.
    bool AtLimit() const { return ply_ >= MaxPly - 1 || listStart_[ply_] >= StackSize; }

    // Search board.
    std::array<std::uint8_t, 64> colour_{};
    std::array<std::uint8_t, 64> piece_{};
    std::uint64_t pieces_[2][6]{}; // squares of each side's pieces, bit s = square s
    std::uint64_t occupied_[2]{};
    int side_ = White;
    int opponent_ = Black;
    int castling_ = 0;
    int ep_ = -1;
    int ply_ = 0;

    // Evaluation: prepared entries and their running sum per side.
    std::int32_t prepared_[2][6][64]{};
    int material_[2]{};
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
    StackEntry stack_[StackSize + 2048]{}; // headroom for one list started just below the limit
    int listStart_[MaxPly + 1]{};
    int listEnd_[MaxPly + 1]{};
    std::int32_t history_[64][64]{};
    MoveWord pv_[MaxPly][MaxPly]{};
    int pvLength_[MaxPly]{};
    UndoRecord undo_[MaxPly]{};
    bool followPrincipal_ = false;
    bool rootHasMove_ = false;   // a legal move was played at the root in this iteration
    MoveWord firstRootMove_ = 0; // the first one tried
    const std::atomic<bool>* stop_ = nullptr;
    long long nodes_ = 0;
};

} // namespace qv::engine
