// A ScriptHost for tests: records every call as a line and keeps the window state.
#pragma once

#include "board/core/BoardModel.h"
#include "script/core/ProblemFlow.h"
#include "script/core/ScriptHost.h"

#include <algorithm>
#include <string>
#include <vector>

namespace qvtest {

// Records calls as "name: args" lines in Calls; the main and the auxiliary board
// are real board models, so scripts play real moves. Attach routes the main
// board's events to a ProblemFlow as the trainer's window does.
class RecordingHost : public qv::ScriptHost {
public:
    qv::BoardModel Board;
    qv::BoardModel Aux;
    std::vector<std::string> Calls;
    std::vector<std::string> Memo;
    std::string Label2, Label3, Label6;
    bool Label2Visible = false, Label3Visible = false;
    bool NextEnabled = false;
    bool BoardEnabled = true;
    bool WhiteOnTop = false;
    bool YourTurn = false;
    bool ClockRunning = false;
    qv::RgbColor Border = qv::BorderSilver;
    std::string Digits = "000";
    bool AcceptPoints = false;
    std::string PopError;     // PlayPop fails with this text when not empty
    std::string DiagramError; // DiagramCommand answers this

    void Attach(qv::ProblemFlow& flow) {
        Board.OnLegalMove = [&flow](qv::BoardModel*, qv::Square f, qv::Square t) {
            flow.BoardLegalMove(f, t);
        };
        Board.OnMate = [&flow](qv::BoardModel*, qv::Square, qv::Square) { flow.BoardMate(); };
        Board.OnDraw = [&flow](qv::BoardModel*) { flow.BoardDraw(); };
    }
    bool Called(const std::string& line) const {
        return std::find(Calls.begin(), Calls.end(), line) != Calls.end();
    }
    int Count(const std::string& line) const {
        return static_cast<int>(std::count(Calls.begin(), Calls.end(), line));
    }

    void SetLabelText(qv::ScriptLabel l, const std::string& text) override {
        Calls.push_back("label" + std::to_string(static_cast<int>(l)) + ": " + text);
        (l == qv::ScriptLabel::Label2   ? Label2
         : l == qv::ScriptLabel::Label3 ? Label3
                                        : Label6) = text;
    }
    void SetLabelVisible(qv::ScriptLabel l, bool v) override {
        if (l == qv::ScriptLabel::Label2) Label2Visible = v;
        if (l == qv::ScriptLabel::Label3) Label3Visible = v;
    }
    void AddMemoLine(const std::string& text) override {
        Calls.push_back("memo: " + text);
        Memo.push_back(text);
    }
    void ClearMemo() override {
        Calls.push_back("memo-clear");
        Memo.clear();
    }
    void SetNextEnabled(bool e) override { NextEnabled = e; }
    std::string BoardPosition() const override { return Board.Position(); }
    void SetBoardPosition(const std::string& text) override { Board.SetPosition(text); }
    bool BoardWhiteToMove() const override { return Board.WhiteToMove(); }
    void SetBoardWhiteToMove(bool w) override { Board.SetWhiteToMove(w); }
    void SetBoardWhiteOnTop(bool w) override { WhiteOnTop = w; }
    void SetBoardEnabled(bool e) override { BoardEnabled = e; }
    void SetBoardBorderColor(qv::RgbColor c) override { Border = c; }
    bool BoardMoveBack() override { return Board.MoveBack(); }
    bool BoardMoveForward() override { return Board.MoveForward(); }
    bool BoardMakeMove(qv::Square f, qv::Square t, char promotion) override {
        const char saved = Board.PromotionPiece;
        if (promotion) Board.PromotionPiece = promotion;
        const bool ok = Board.MakeMove(f, t);
        Board.PromotionPiece = saved;
        Calls.push_back((ok ? "move: " : "refused: ") + qv::SquareName(f) + qv::SquareName(t) +
                        (promotion ? std::string(1, promotion) : std::string()));
        return ok;
    }
    void BoardNewGame() override { Board.NewGame(); }
    void AuxMakeMove(qv::Square f, qv::Square t, char promotion) override {
        Calls.push_back("aux: " + qv::SquareName(f) + qv::SquareName(t) +
                        (promotion ? std::string(1, promotion) : std::string()));
        const char saved = Aux.PromotionPiece;
        if (promotion) Aux.PromotionPiece = promotion;
        Aux.MakeMove(f, t);
        Aux.PromotionPiece = saved;
    }
    void ShowYourTurn(bool s) override { YourTurn = s; }
    bool PlayPop(std::string& error) override {
        Calls.push_back("pop");
        error = PopError;
        return PopError.empty();
    }
    void StartClock() override {
        Calls.push_back("clock-start");
        ClockRunning = true;
    }
    void StopClock() override { ClockRunning = false; }
    bool AskAddPoints(const std::string& text, int value) override {
        Calls.push_back("addpoints: " + std::to_string(value) + " " + text);
        return AcceptPoints;
    }
    void SetPointsDigits(const std::string& d) override { Digits = d; }
    std::string DiagramCommand(const std::string& cmd,
                               const std::vector<std::string>& args) override {
        std::string line = "diagram: " + cmd;
        for (const auto& a : args) line += " " + a;
        Calls.push_back(line);
        return DiagramError;
    }
    void ShowError(const std::string& m) override { Calls.push_back("error: " + m); }
    void ShowInfo(const std::string& t) override { Calls.push_back("info: " + t); }

    // Training options.
    bool HintAvailable = false;
    void ShowBanner(const std::string& t) override { Calls.push_back("banner: " + t); }
    void ShowVerdict(qv::Verdict v) override { Calls.push_back("verdict: " + qv::VerdictText(v)); }
    bool TakeBackTry(qv::Square f, qv::Square t) override {
        Calls.push_back("take-back: " + qv::SquareName(f) + qv::SquareName(t));
        return Board.MoveBack();
    }
    void SetHintAvailable(bool a) override { HintAvailable = a; }
    void ShowHint(qv::Square f, qv::Square t) override {
        Calls.push_back("hint: " + qv::SquareName(f) + (t == qv::None ? "" : qv::SquareName(t)));
    }
    void ClearHints() override { Calls.push_back("hints-clear"); }
};

} // namespace qvtest
