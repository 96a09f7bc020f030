// The engine benchmark: one fixed list of positions, each searched by a fresh searcher.
// Its node total is the search's signature: any change to the search or the evaluation
// shows as a changed total.
#pragma once

#include "engine/core/SearchTypes.h"

#include <span>

namespace qv::engine {

struct BenchPosition {
    const char* Group; // "openings", "middle games" or "endgames"
    const char* Name;
    const char* Fen;
    int Depth; // the depth of the signature
};

// The bench positions, grouped, in a fixed order.
std::span<const BenchPosition> BenchPositions();

struct BenchResult {
    bool Found = false;
    MoveWord Move = 0;
    int Depth = 0;
    long long Nodes = 0;
    double Milliseconds = 0; // wall time of the search
};

// Searches one bench position with a fresh searcher to `depth`, or to its own depth when
// `depth` is 0. A FEN that cannot be read gives a result without a move and no nodes.
BenchResult RunBenchPosition(const BenchPosition& position, int depth = 0);

} // namespace qv::engine
