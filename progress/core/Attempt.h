// One recorded attempt at a problem, and the identity of the problem it was made on.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// A problem as the progress store knows it. An edited problem (another script
// hash) is another problem and starts a fresh history.
struct ProblemId {
    std::string File;       // absolute path of the problem file
    std::string Label;      // word 1 of the list entry
    std::string Title;      // the rest of the list entry
    std::string ScriptHash; // ScriptTextHash of its script

    friend bool operator==(const ProblemId&, const ProblemId&) = default;
};

// An attempt, recorded when its problem ends or is abandoned.
struct Attempt {
    ProblemId Problem;
    std::int64_t StartTime = 0; // seconds since 1970-01-01 UTC, when the problem was selected
    int Day = 0;                // the local calendar day of StartTime (DayNumber)
    double ThinkingSeconds = 0; // the clock's time on the problem
    int Points = 0;             // the points total at the end
    int BestScore = 0;          // the most the problem offers (sum of its turns' best points)
    int Tries = 0;              // moves tried on the player's turns
    int Hints = 0;              // hints taken
    bool Solved = false;        // every turn answered with a best-scoring move, first try
};

} // namespace qv
