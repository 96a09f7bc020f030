// Counting and judging a play-through.
#include "script/core/ProblemPlay.h"

namespace qv {

int ProblemPlay::Tries() const {
    int n = 0;
    for (const TurnPlay& t : Turns) n += t.Tries;
    return n;
}

int ProblemPlay::Hints() const {
    int n = 0;
    for (const TurnPlay& t : Turns) n += t.Hints;
    return n;
}

bool ProblemPlay::Attempted() const {
    return Ended || Tries() > 0 || Hints() > 0;
}

bool ProblemPlay::Solved() const {
    std::size_t solvedTurns = 0;
    for (const TurnPlay& t : Turns) {
        if (!t.Answered() || !t.FirstTryBest) return false;
        ++solvedTurns;
    }
    return solvedTurns >= Outline.Turns.size() && (Ended || !Turns.empty());
}

} // namespace qv
