// The training options of the problem flow: an instant verdict on the player's move,
// more than one try per move, hints, and mate and draw announced in the window.
#pragma once

#include <string>

namespace qv {

// What the flow says of the player's move at a turn whose script rewards some move.
enum class Verdict {
    None,     // nothing to say (no verdict shown, or the verdict cleared)
    Correct,  // the move earns points
    TryAgain, // it earns nothing and is taken back for another try
    Wrong,    // it earns nothing and was the last try
};

// The text of a verdict line: "Correct", "Not the move: try again", "Not the move";
// empty for Verdict::None.
std::string VerdictText(Verdict verdict);

// Held by ProblemFlow and set by its owner (the trainer's Options > Training, qvn run
// --tries). The defaults give the behaviour without any of them: one silent try per
// move, no hints, information boxes for mate and draw.
struct TrainingOptions {
    // Judge the player's move as soon as it is played (ScriptHost::ShowVerdict).
    bool InstantVerdict = false;
    // Tries per move: a move that no .if line of the turn scores with positive points
    // is taken back and the board handed over again until the tries are used up;
    // each wrong try costs one point. 1 is one try; 0 or less means no limit.
    int TriesPerMove = 1;
    // Hints on request during the player's turn (ProblemFlow::Hint).
    bool Hints = false;
    // "Check Mate" and "Draw" as a banner over the board instead of a message box.
    bool AnnounceInWindow = false;

    static constexpr int UnlimitedTries = 0;
    bool Unlimited() const { return TriesPerMove <= 0; }
    friend bool operator==(const TrainingOptions&, const TrainingOptions&) = default;
};

} // namespace qv
