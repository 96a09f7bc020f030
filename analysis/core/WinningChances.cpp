// Winning chances from engine scores.
#include "analysis/core/WinningChances.h"

#include <cmath>

namespace qv::analysis {

double WinningChances(const EngineScore& score) {
    if (score.Mate) return score.Value > 0 ? 1.0 : -1.0;
    return 2.0 / (1.0 + std::exp(-0.00368208 * score.Value)) - 1.0;
}

bool AboutAsGood(const EngineScore& best, const EngineScore& second) {
    return WinningChances(best) - WinningChances(second) <= UniqueMoveMargin;
}

} // namespace qv::analysis
