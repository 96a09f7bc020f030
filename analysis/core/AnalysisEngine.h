// What the auxiliary board and qvn analyse know of an engine: start on a position, stop,
// and the lines it reports per completed depth.
#pragma once

#include "board/core/Rules.h"

#include <functional>
#include <string>
#include <vector>

namespace qv::analysis {

// A score from the point of view of the side to move: centipawns, or a mate in Value moves
// (positive: the side to move mates; negative: it is mated; 0: it is mated already).
struct EngineScore {
    bool Mate = false;
    int Value = 0;
    friend bool operator==(const EngineScore&, const EngineScore&) = default;
};

// One line of analysis at one depth.
struct AnalysisInfo {
    int Depth = 0;
    int MultiPv = 1; // 1 for the best line, 2 for the second best, ...
    EngineScore Score;
    std::vector<std::string> Pv; // coordinate moves ("e2e4", "e7e8q") from the analysed position
    long long Nodes = 0;         // 0 when the engine did not say
};

// How far to analyse. Depth 0 and MoveTimeMs 0 together mean: until Stop.
struct AnalysisLimits {
    int Depth = 0;
    int MoveTimeMs = 0;
    int MultiPv = 1;
};

// An engine that analyses one position at a time. Every callback runs on the thread that
// owns the engine (the user-interface thread in the trainer), never inside Start or Stop.
class AnalysisEngine {
public:
    virtual ~AnalysisEngine();

    // Analyses the position (its squares, side to move, castling rights and en-passant
    // square). A running analysis is abandoned first: nothing more is reported of it.
    virtual void Start(const BoardState& position, const AnalysisLimits& limits) = 0;
    // Abandons the running analysis at once; nothing more is reported of it.
    virtual void Stop() = 0;
    // Is an analysis running (started, not stopped, not finished, no error)?
    virtual bool Running() const = 0;
    // A short name for the user ("built-in engine", the UCI engine's own name).
    virtual std::string Name() const = 0;

    // A completed depth (with several lines: each line of it, best first).
    std::function<void(const AnalysisInfo&)> OnInfo;
    // A limited analysis has finished: its best move, empty when there is none.
    std::function<void(const std::string& bestMove)> OnFinished;
    // The engine failed (would not start, crashed, answered nonsense, stopped answering);
    // the analysis is over. The message is for the user, a full sentence.
    std::function<void(const std::string& message)> OnError;
};

} // namespace qv::analysis
