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
    if (play_) {
        if (stop == ScriptStop::UserTurn) {
            TurnPlay turn;
            turn.Answers = ReadTurnAhead(g_.ProblemFile, g_.ProblemFile.Position());
            play_->Turns.push_back(std::move(turn));
            awaitingAnswer_ = true;
        } else if (stop == ScriptStop::ProblemEnded || stop == ScriptStop::IndexLine ||
                   stop == ScriptStop::EndOfFile) {
            FinishPlay(true);
        }
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
    if (play_ && awaitingAnswer_ && !play_->Turns.empty()) {
        // The first legal move after a turn was handed over is the player's answer.
        TurnPlay& turn = play_->Turns.back();
        turn.From = from;
        turn.To = to;
        turn.FirstTryBest = turn.Answers.IsBest(from, to);
        turn.Tries = 1;
        play_->ThinkingSeconds = host_.ClockSeconds();
        awaitingAnswer_ = false;
    }
}

void ProblemFlow::BoardMate() {
    host_.ShowInfo("Check Mate");
}

void ProblemFlow::BoardDraw() {
    host_.ShowInfo("Draw");
}

} // namespace qv
