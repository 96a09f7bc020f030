// qvn check --uci: a UCI engine judges the turns of problems that do not end in mate.
#pragma once

#include "analysis/core/AnalysisEngine.h"
#include "analysis/engines/UciEngine.h"
#include "check/core/ProblemChecker.h"

#include <string>
#include <vector>

namespace qvn {

// Asks the engine for its two best moves at each turn and reports the turn when the
// second is about as good as the first (analysis::AboutAsGood) and an .if line does not
// give points for both. Runs each analysis to its end in a local event loop, so a
// QCoreApplication must exist. After a failure of the engine it reviews no more turns;
// Error() then says why.
class UciTurnReviewer : public qv::check::TurnReviewer {
public:
    UciTurnReviewer(const std::string& program, const qv::analysis::AnalysisLimits& limits);
    void ReviewTurn(const qv::check::TurnContext& turn, std::vector<std::string>& faults) override;
    const std::string& Error() const { return error_; }

private:
    // The engine's lines of the position, best first; false when the engine failed.
    bool Analyse(const qv::BoardState& position, std::vector<qv::analysis::AnalysisInfo>& lines);

    qv::analysis::UciEngine engine_;
    qv::analysis::AnalysisLimits limits_;
    std::string error_;
};

} // namespace qvn
