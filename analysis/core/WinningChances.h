// How an engine's score translates into chances of winning, and when a second move is
// as good as the best one for a puzzle's purposes.
#pragma once

#include "analysis/core/AnalysisEngine.h"

namespace qv::analysis {

// The side to move's chances from -1 (lost) to 1 (won): 2 / (1 + exp(-0.00368208 cp)) - 1
// for a score in centipawns; 1 for a mate it gives, -1 for a mate it receives.
double WinningChances(const EngineScore& score);

// How far the best move's chances must stand above the second's for the best to be the
// only solution of a turn.
constexpr double UniqueMoveMargin = 0.7;

// Is the second move about as good as the best: do the best move's winning chances
// exceed the second's by no more than UniqueMoveMargin?
bool AboutAsGood(const EngineScore& best, const EngineScore& second);

} // namespace qv::analysis
