// One play-through of a problem as the problem flow follows it: the moves the
// player tried at each turn, judged against the turn's scoring lines.
#pragma once

#include "board/core/Square.h"
#include "script/core/ProblemOutline.h"
#include "script/core/TurnReadAhead.h"

#include <string>
#include <vector>

namespace qv {

// The player's side of one turn.
struct TurnPlay {
    TurnAnswers Answers; // read ahead when the board was handed over
    Square From = None;  // the first move tried
    Square To = None;
    bool FirstTryBest = false; // that move earns the turn's best points
    int Tries = 0;             // moves tried at this turn (one unless retries are allowed)
    int Hints = 0;             // hints taken at this turn

    bool Answered() const { return Tries > 0; }
};

// A problem from its selection until it ends or is abandoned.
struct ProblemPlay {
    std::string File;  // the problem file's path as it was opened
    std::string Entry; // the list entry selected
    std::string Label; // word 1 of the entry
    std::string Title; // the rest of the entry from word 2
    ProblemOutline Outline;
    std::vector<TurnPlay> Turns; // the turns reached, in order
    int Points = 0;              // the points total when the play finished
    double ThinkingSeconds = 0;  // the clock's time on this problem
    bool Ended = false;          // reached its end rather than abandoned

    int Tries() const;
    int Hints() const;
    // Worth recording: a move or a hint at some turn, or the problem's end reached.
    bool Attempted() const;
    // Every turn of the problem answered, each with a best-scoring move at the
    // first try (a problem without turns is solved by reaching its end).
    bool Solved() const;
};

// Told by ProblemFlow when a play starts and when it finishes (at the problem's
// end, or abandoned: another problem selected, another file read, FinishPlay).
class PlayListener {
public:
    virtual ~PlayListener() = default;
    virtual void PlayStarted(const ProblemPlay& play) {}
    virtual void PlayFinished(const ProblemPlay& play) = 0;
};

} // namespace qv
