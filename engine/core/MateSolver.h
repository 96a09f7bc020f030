// The exact mate solver: every first move that forces mate in at most N moves, each with
// its main line, proven on the search board without any evaluation.
#pragma once

#include "board/core/Rules.h"
#include "engine/core/MoveGenerator.h"
#include "engine/core/SearchBoard.h"
#include "engine/core/SearchTypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace qv::engine {

// One key of a mate: a first move after which the attacker mates in at most MateIn of
// its own moves (the key counted) against every defence.
struct MateKey {
    MoveWord Move = 0;
    int MateIn = 0; // the fewest moves this key mates in, 1..N
    // When asked for: the key, then the defence that holds out longest and the attacker's
    // quickest answer to it, move after move, ending with the mating move.
    std::vector<MoveWord> Line;
};

struct MateSolution {
    // False when the node budget or the stop flag ended the proof early: the keys found
    // so far are keys, but others may be missing and ShortestMate may be too long.
    bool Complete = true;
    int ShortestMate = 0;      // the fewest moves any key mates in; 0 without a key
    std::vector<MateKey> Keys; // in the order of MoveText, byte by byte
    long long Nodes = 0;       // positions visited
};

struct MateLimits {
    long long MaxNodes = 0;                  // 0: no limit
    const std::atomic<bool>* Stop = nullptr; // checked at every node when given
};

// Proves or refutes "the side to move forces mate in at most N moves" for every first
// move. The proof is exact: every legal move is considered on both sides (castling, en
// passant and each promotion piece included), stalemate is no mate, and nothing is
// pruned on a guess. Moves are tried in an order that finds mates and refutations early
// (checks first for the attacker; the refutation that worked in a sibling, captures and
// a history table for the defender), results are kept in a transposition table keyed by
// a 64-bit hash of the position, and each question is asked for 1, 2, ... moves in turn,
// so that short mates are found before long ones are searched.
//
// Draws by repetition and by the fifty-move rule are not considered, as in composed
// problems. The position should be playable (one king each, the side not to move not in
// check); the solver does not fail on others but its answers mean little there.
//
// The object holds large tables: create it once on the heap and reuse it; what the
// table learns about positions stays valid from one solve to the next.
class MateSolver {
public:
    static constexpr int MaxMoves = 30; // longest mate that fits the per-ply tables

    // tableEntries is rounded down to a power of two (at least 1024).
    explicit MateSolver(std::size_t tableEntries = std::size_t{1} << 20);
    ~MateSolver();
    MateSolver(const MateSolver&) = delete;
    MateSolver& operator=(const MateSolver&) = delete;

    // Every key of a mate in at most n (1..MaxMoves) moves for the side to move; with
    // lines, each key's main line too.
    MateSolution Solve(const BoardState& position, int n, bool withLines = false,
                       MateLimits limits = {});

    // Forgets what the table has learnt (for timing a solve on its own).
    void ClearTable();

private:
    struct TableEntry;

    bool Play(MoveWord move);
    void Undo();
    std::uint64_t FullKey() const;
    bool Abort();

    // The attacker to move: a mate in at most n of its moves?
    bool AttackerMates(int n);
    // The defender to move, the attacker having k moves after this one: is every
    // defence mated in time? With k = 0: is the defender mated now?
    bool DefenderLoses(int k);
    bool AttackerMatesExactly(int n);
    bool DefenderLosesExactly(int k);
    bool HasLegalMove();
    // The fewest attacker moves (1..limit) that mate from here, or 0; attacker to move.
    int FewestMoves(int limit);
    void MainLine(int mateIn, std::vector<MoveWord>& line);

    void RaiseHistory(MoveWord move, int depth);
    TableEntry* Probe(std::uint64_t key);
    void Store(std::uint64_t key, int depth, bool value, MoveWord move);

    SearchBoard board_;
    MoveGenerator moves_;
    std::unique_ptr<TableEntry[]> table_;
    std::size_t tableMask_ = 0;
    std::uint64_t key_ = 0;
    std::uint64_t keyStack_[SearchBoard::MaxPly + 1]{};
    MoveWord killers_[SearchBoard::MaxPly][2]{};
    int history_[64][64]{}; // quiet moves that mated or refuted, by origin and target
    int attacker_ = 0;
    long long nodes_ = 0;
    MateLimits limits_;
    bool aborted_ = false;
};

} // namespace qv::engine
