// The texts of the verdicts.
#include "script/core/TrainingOptions.h"

namespace qv {

std::string VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Correct:
        return "Correct";
    case Verdict::TryAgain:
        return "Not the move: try again";
    case Verdict::Wrong:
        return "Not the move";
    case Verdict::None:
        break;
    }
    return {};
}

} // namespace qv
