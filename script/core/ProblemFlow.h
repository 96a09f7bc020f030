// The part of the trainer's problem flow that needs no window: selecting a
// problem, Next, and the end of a move on the main board.
#pragma once

#include "script/core/Globales.h"
#include "script/core/ProblemPlay.h"
#include "script/core/ScriptHost.h"
#include "script/core/ScriptInterpreter.h"
#include "script/core/TrainingOptions.h"

#include <optional>
#include <string>
#include <vector>

namespace qv {

// Shared by the trainer's main window and qvn run. The window keeps its own
// parts (the open dialog, the clock's reset and display, pause, sound, aux board)
// and calls these from its handlers.
class ProblemFlow {
public:
    ProblemFlow(Globales& globals, ScriptHost& host)
        : g_(globals), host_(host), interp_(globals, host) {}

    // Opens a problem file and lists its problems (ScanProblemIndex). Throws
    // FileError when the file cannot be opened; no file is open then.
    std::vector<std::string> ReadProblems(const std::string& path);

    // Starts the problem of an index entry: clears the memo and the labels 2 and 6,
    // starts a new game on the board, clears the score, finds the entry's index line,
    // writes the title as the first memo line and enables Next. (The window stops and
    // resets the clock before.) When the index line cannot be found again, the error
    // box says so, Next stays disabled and false is returned.
    bool SelectProblem(const std::string& entry);
    // The same for a caller that knows where the entry's index line is (see
    // SeekProblemAt): checking every problem of a large file stays linear.
    bool SelectProblemAt(const std::string& entry, std::size_t indexLine);

    // BitBtn2Click: runs the interpreter when a problem file is open.
    ScriptStop Next();

    // The user's move on the main board: Next enabled, board disabled, "Your turn!"
    // hidden, border silver, the move stored as LastMoveFrom/LastMoveTo, clock stopped.
    // The player's answer at a turn is then judged by the training options: a verdict,
    // and a wrong try with tries left costs a point and waits to be taken back (Next
    // stays disabled; see TakeBackTry).
    void BoardLegalMove(Square from, Square to);
    // ChessBrd1Mate and ChessBrd1Draw: the information boxes "Check Mate" and "Draw"
    // (banners with AnnounceInWindow); nothing for a wrong try about to be taken back.
    void BoardMate();
    void BoardDraw();

    // --- training options ---
    void SetTrainingOptions(const TrainingOptions& options);
    const TrainingOptions& Training() const { return options_; }
    // A wrong try waits to be taken back. The owner calls TakeBackTry once the move
    // and its board events are over (never from inside them): the move is taken back,
    // the board handed over again and the clock started. False when none was pending.
    bool RetryPending() const { return retryPending_; }
    bool TakeBackTry();
    // Hints, during the player's turn only: the first shows the origin of the move
    // the script rewards most, the second an arrow to its target; each costs a point.
    // False (and nothing shown) when no hint may be given now.
    bool Hint();
    bool HintAvailable() const;

    ScriptInterpreter& Interpreter() { return interp_; }

    // --- following the play-through ---
    // The flow follows each selected problem as a ProblemPlay: the turns the
    // script hands over (with their scoring lines read ahead), the first move
    // played at each, and the end of the problem (.end, the next index line or
    // the end of the file). Selecting a problem or reading a file abandons the
    // play under way first. The listener (not owned; may be null) hears of both.
    void SetPlayListener(PlayListener* listener) { listener_ = listener; }
    // The play under way, if any (none before a selection and after it finished).
    const ProblemPlay* CurrentPlay() const { return play_ ? &*play_ : nullptr; }
    // Abandons the play under way (the owner calls it when the file is closed or
    // the program ends). Call it before the clock is reset: the play takes the
    // clock's time (ScriptHost::ClockSeconds) when it finishes.
    void FinishPlay();

private:
    bool Select(const std::string& entry, const std::size_t* indexLine);
    void StartPlay();
    void FinishPlay(bool ended);
    TurnPlay* OpenTurn();
    const TurnPlay* OpenTurn() const;
    void JudgeAnswer(TurnPlay& turn, Square from, Square to);
    void SayVerdict(Verdict verdict);
    void ClearVerdict();
    void CloseTurn();
    void ChargePoint();

    Globales& g_;
    ScriptHost& host_;
    ScriptInterpreter interp_;
    PlayListener* listener_ = nullptr;
    std::optional<ProblemPlay> play_;
    bool awaitingAnswer_ = false; // the board was handed over for the current turn
    TrainingOptions options_;
    // The turn under way: in the play when there is one, otherwise here (a script
    // that ran on past its problem's end into the next one).
    bool turnOpen_ = false;
    TurnPlay looseTurn_;
    bool retryPending_ = false;
    Square retryFrom_ = None, retryTo_ = None;
    bool verdictShown_ = false; // something to clear on the next turn or selection
    bool hintsShown_ = false;
};

// The text of the error box when a selected entry's index line is not in the file.
std::string ProblemNotFoundMessage(const std::string& entry);

} // namespace qv
