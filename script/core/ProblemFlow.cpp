// Selecting a problem, Next, and the end of a move on the main board.
#include "script/core/ProblemFlow.h"

#include "script/core/ProblemIndex.h"
#include "script/core/ScriptWords.h"

#include <algorithm>

namespace qv {

std::string ProblemNotFoundMessage(const std::string& entry) {
    return "The problem \"" + entry + "\" was not found in the problem file.";
}

std::vector<std::string> ProblemFlow::ReadProblems(const std::string& path) {
    FinishPlay(false);
    CloseTurn();
    ClearVerdict();
    return ScanProblemIndex(g_, path);
}

bool ProblemFlow::SelectProblem(const std::string& entry) {
    return Select(entry, nullptr);
}

bool ProblemFlow::SelectProblemAt(const std::string& entry, std::size_t indexLine) {
    return Select(entry, &indexLine);
}

bool ProblemFlow::Select(const std::string& entry, const std::size_t* indexLine) {
    FinishPlay(false);
    CloseTurn();
    ClearVerdict();
    host_.ClearMemo();
    host_.SetLabelText(ScriptLabel::Label2, {});
    host_.SetLabelText(ScriptLabel::Label6, {});
    host_.BoardNewGame();
    interp_.ClearScore();
    const bool found = g_.ProblemFileOpen &&
                       (indexLine ? SeekProblemAt(g_, entry, *indexLine) : SeekProblem(g_, entry));
    if (!found) {
        // Running from a wrong place would be worse than not running at all.
        g_.ProblemTitle = entry;
        host_.SetNextEnabled(false);
        host_.ShowError(ProblemNotFoundMessage(entry));
        return false;
    }
    host_.AddMemoLine(g_.ProblemTitle);
    host_.SetNextEnabled(true);
    StartPlay();
    return true;
}

ScriptStop ProblemFlow::Next() {
    if (!g_.ProblemFileOpen) return ScriptStop::NotOpen;
    const ScriptStop stop = interp_.RunScript();
    if (stop == ScriptStop::UserTurn) {
        CloseTurn();
        ClearVerdict();
        TurnPlay turn;
        turn.Answers = ReadTurnAhead(g_.ProblemFile, g_.ProblemFile.Position());
        if (play_)
            play_->Turns.push_back(std::move(turn));
        else
            looseTurn_ = std::move(turn);
        turnOpen_ = true;
        awaitingAnswer_ = true;
        if (options_.Hints) host_.SetHintAvailable(HintAvailable());
    } else if (play_ && (stop == ScriptStop::ProblemEnded || stop == ScriptStop::IndexLine ||
                         stop == ScriptStop::EndOfFile)) {
        FinishPlay(true);
    }
    return stop;
}

void ProblemFlow::StartPlay() {
    ProblemPlay play;
    play.File = g_.ProblemFile.Name();
    play.Entry = g_.ProblemTitle;
    play.Label = Word(play.Entry, 1);
    play.Title = RestFrom(play.Entry, 2);
    play.Outline = OutlineProblem(g_.ProblemFile, g_.ProblemFile.Position());
    play_ = std::move(play);
    awaitingAnswer_ = false;
    if (listener_) listener_->PlayStarted(*play_);
}

void ProblemFlow::FinishPlay() {
    FinishPlay(false);
}

void ProblemFlow::FinishPlay(bool ended) {
    if (!play_) return;
    play_->Ended = ended;
    play_->Points = g_.TotalPoints;
    // The clock may have been reset already; it held the time at the last answer.
    play_->ThinkingSeconds = std::max(play_->ThinkingSeconds, host_.ClockSeconds());
    const ProblemPlay finished = std::move(*play_);
    play_.reset();
    awaitingAnswer_ = false;
    turnOpen_ = false;
    retryPending_ = false;
    if (listener_) listener_->PlayFinished(finished);
}

void ProblemFlow::BoardLegalMove(Square from, Square to) {
    host_.SetNextEnabled(true);
    host_.SetBoardEnabled(false);
    host_.ShowYourTurn(false);
    host_.SetBoardBorderColor(BorderSilver);
    g_.LastMoveFrom = from;
    g_.LastMoveTo = to;
    host_.StopClock();
    TurnPlay* turn = OpenTurn();
    if (!turn || !awaitingAnswer_) return;
    // The first legal move after the board was handed over is the player's answer.
    awaitingAnswer_ = false;
    if (turn->Tries == 0) {
        turn->From = from;
        turn->To = to;
        turn->FirstTryBest = turn->Answers.IsBest(from, to);
    }
    ++turn->Tries;
    if (play_) play_->ThinkingSeconds = host_.ClockSeconds();
    JudgeAnswer(*turn, from, to);
}

void ProblemFlow::JudgeAnswer(TurnPlay& turn, Square from, Square to) {
    if (options_.Hints) host_.SetHintAvailable(false);
    if (!turn.Answers.BestAnswer()) {
        // The script rewards no move here: every move is taken as it is.
        CloseTurn();
        return;
    }
    if (turn.Answers.Scores(from, to)) {
        SayVerdict(Verdict::Correct);
        CloseTurn();
        return;
    }
    if (options_.Unlimited() || turn.Tries < options_.TriesPerMove) {
        SayVerdict(Verdict::TryAgain);
        ChargePoint();
        retryPending_ = true;
        retryFrom_ = from;
        retryTo_ = to;
        host_.SetNextEnabled(false); // the script waits for the next try
        return;
    }
    SayVerdict(Verdict::Wrong);
    CloseTurn();
}

bool ProblemFlow::TakeBackTry() {
    if (!retryPending_) return false;
    retryPending_ = false;
    host_.TakeBackTry(retryFrom_, retryTo_);
    // The same turn again: the board is the player's and the clock runs on.
    host_.ShowYourTurn(true);
    host_.SetBoardEnabled(true);
    host_.SetNextEnabled(false);
    host_.SetBoardBorderColor(BorderWhite);
    host_.StartClock();
    awaitingAnswer_ = true;
    if (options_.Hints) host_.SetHintAvailable(HintAvailable());
    return true;
}

void ProblemFlow::SayVerdict(Verdict verdict) {
    if (!options_.InstantVerdict) return;
    host_.ShowVerdict(verdict);
    verdictShown_ = true;
}

void ProblemFlow::ClearVerdict() {
    if (!verdictShown_) return;
    host_.ShowVerdict(Verdict::None);
    verdictShown_ = false;
}

void ProblemFlow::ChargePoint() {
    g_.TotalPoints = AddPoints(g_.TotalPoints, -1);
    interp_.ShowTotal();
}

// Ends the turn under way, if any, and clears what the training options showed for it.
void ProblemFlow::CloseTurn() {
    turnOpen_ = false;
    awaitingAnswer_ = false;
    retryPending_ = false;
    if (hintsShown_) host_.ClearHints();
    hintsShown_ = false;
    if (options_.Hints) host_.SetHintAvailable(false);
}

TurnPlay* ProblemFlow::OpenTurn() {
    if (!turnOpen_) return nullptr;
    return play_ && !play_->Turns.empty() ? &play_->Turns.back() : &looseTurn_;
}

const TurnPlay* ProblemFlow::OpenTurn() const {
    return const_cast<ProblemFlow*>(this)->OpenTurn();
}

bool ProblemFlow::HintAvailable() const {
    const TurnPlay* turn = OpenTurn();
    return options_.Hints && turn && awaitingAnswer_ && !retryPending_ && turn->Hints < 2 &&
           turn->Answers.BestAnswer();
}

bool ProblemFlow::Hint() {
    if (!HintAvailable()) return false;
    TurnPlay& turn = *OpenTurn();
    const ScriptAnswer& best = *turn.Answers.BestAnswer();
    ++turn.Hints;
    ChargePoint();
    hintsShown_ = true;
    host_.ShowHint(best.From, turn.Hints >= 2 ? best.To : None);
    host_.SetHintAvailable(HintAvailable());
    return true;
}

void ProblemFlow::SetTrainingOptions(const TrainingOptions& options) {
    const bool hintsChanged = options.Hints != options_.Hints;
    options_ = options;
    if (!options_.InstantVerdict) ClearVerdict();
    if (hintsChanged) host_.SetHintAvailable(HintAvailable());
}

void ProblemFlow::BoardMate() {
    if (retryPending_) return; // the move is about to be taken back
    if (options_.AnnounceInWindow)
        host_.ShowBanner("Check Mate");
    else
        host_.ShowInfo("Check Mate");
}

void ProblemFlow::BoardDraw() {
    if (retryPending_) return;
    if (options_.AnnounceInWindow)
        host_.ShowBanner("Draw");
    else
        host_.ShowInfo("Draw");
}

} // namespace qv
