// A ScriptHost without a display that writes every observable change as a
// "key: value" line; qvn run prints a problem's play-through with it.
#pragma once

#include "board/core/BoardModel.h"
#include "script/core/ScriptHost.h"

#include <ostream>
#include <string>

namespace qv {

class ProblemFlow;

// Owns the main board (a BoardModel) and the window state that the transcript
// needs (Next, board enabled, digits). Lines written: memo, memo-clear, label2,
// label3, label6, points, turn, move, aux-move, addpoints, diagram, info, error, and
// retry for a wrong try taken back.
class TranscriptHost : public ScriptHost {
public:
    explicit TranscriptHost(std::ostream& out) : out_(out) {}

    // Routes the board's OnLegalMove, OnMate and OnDraw to the flow (and prints the moves).
    void Attach(ProblemFlow& flow);

    BoardModel& Board() { return board_; }
    bool NextEnabled() const { return nextEnabled_; }
    bool BoardEnabled() const { return boardEnabled_; }
    bool WhiteOnTop() const { return whiteOnTop_; }
    bool YourTurnShown() const { return yourTurn_; }
    const std::string& Digits() const { return digits_; }
    // The answer given to the add-points question.
    bool AcceptPoints = false;

    void SetLabelText(ScriptLabel label, const std::string& text) override;
    void SetLabelVisible(ScriptLabel, bool) override {}
    void AddMemoLine(const std::string& text) override;
    void ClearMemo() override;
    void SetNextEnabled(bool enabled) override { nextEnabled_ = enabled; }
    std::string BoardPosition() const override { return board_.Position(); }
    void SetBoardPosition(const std::string& text) override { board_.SetPosition(text); }
    bool BoardWhiteToMove() const override { return board_.WhiteToMove(); }
    void SetBoardWhiteToMove(bool white) override { board_.SetWhiteToMove(white); }
    void SetBoardWhiteOnTop(bool whiteOnTop) override { whiteOnTop_ = whiteOnTop; }
    void SetBoardEnabled(bool enabled) override { boardEnabled_ = enabled; }
    void SetBoardBorderColor(RgbColor) override {}
    bool BoardMoveBack() override { return board_.MoveBack(); }
    bool BoardMoveForward() override { return board_.MoveForward(); }
    bool BoardMakeMove(Square from, Square to, char promotion) override;
    void BoardNewGame() override { board_.NewGame(); }
    void AuxMakeMove(Square from, Square to, char promotion) override;
    void ShowYourTurn(bool shown) override;
    bool PlayPop(std::string&) override { return true; }
    void StartClock() override {}
    void StopClock() override {}
    bool AskAddPoints(const std::string& text, int value) override;
    void SetPointsDigits(const std::string& digits) override;
    std::string DiagramCommand(const std::string& command,
                               const std::vector<std::string>& args) override;
    void ShowError(const std::string& message) override;
    void ShowInfo(const std::string& text) override;
    bool TakeBackTry(Square from, Square to) override;

private:
    std::ostream& out_;
    BoardModel board_;
    bool nextEnabled_ = false;
    bool boardEnabled_ = true;
    bool whiteOnTop_ = false;
    bool yourTurn_ = false;
    std::string digits_ = "000";
};

} // namespace qv
