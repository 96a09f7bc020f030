// The auxiliary board window: a second board on which the user tries out moves from the
// problem's position without touching the main board, the script or the score.
#pragma once

#include "analysis/core/AnalysisEngine.h"
#include "board/core/Square.h"

#include <QDialog>
#include <QImage>

#include <memory>
#include <string>

class QLabel;
class QPushButton;

namespace qv {

class TChessBrd;
class TDRLabel;

// The auxiliary analysis board, shown modally by the main window's "Aux. Board" button.
// Each activation copies AuxPosition and the main board's orientation and side to move
// onto its own board; the board keeps its own game record, castling rights and move
// number from one opening to the next. Moves that scripts play are mirrored onto it.
//
// The Analyse toggle runs an engine on the shown position (the built-in one, or the UCI
// engine chosen with SetEngineProgram) and shows its depth, score and principal line under
// the buttons, the window grown to fit them. Every change of the shown position (a move,
// "<", ">", "&Start", an activation) restarts the analysis; closing the window stops it,
// and opening it again with the toggle on starts it afresh. The engine is created at the
// first analysis and kept; an engine failure is shown in the analysis lines and turns the
// toggle off.
class TForm3 : public QDialog {
    Q_OBJECT
public:
    // `mainBoard` is the main window's board (read for its orientation and side to move).
    TForm3(const TChessBrd* mainBoard, QWidget* parent = nullptr);

    // The position each activation starts from (a 64-character position string), set by
    // the main window before it shows this one.
    std::string AuxPosition;

    TDRLabel* DRLabel1 = nullptr;
    TChessBrd* ChessBrd1 = nullptr;
    QLabel* Image1 = nullptr;
    QPushButton* Button3 = nullptr; // "<"
    QPushButton* Button4 = nullptr; // ">"
    QPushButton* Button2 = nullptr; // "&Start"
    QPushButton* Button1 = nullptr; // "&Close"
    QPushButton* Button5 = nullptr; // "&Analyse", a toggle
    QLabel* Label1 = nullptr;       // analysis: depth and score (or why there is none)
    QLabel* Label2 = nullptr;       // analysis: the principal line

    // The window's piece set (32-pixel pieces).
    QImage PieceSet;

    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();

    // The UCI engine program to analyse with; empty for the built-in engine.
    QString EngineProgram() const { return engineProgram_; }
    void SetEngineProgram(const QString& program);
    // The analysis engine in use (nullptr before the first analysis).
    analysis::AnalysisEngine* Engine() const { return engine_.get(); }

    // A move played by a script on the main board: played here when legal in this
    // board's position, silently dropped otherwise.
    void MirrorMove(Square from, Square to, char promotion = 0);

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void RestartAnalysis();
    void StopAnalysis();
    void ShowInfo(const analysis::AnalysisInfo& info);
    void ShowFinished(const std::string& bestMove);
    void ShowError(const std::string& message);
    void FitAnalysisLines();

    const TChessBrd* mainBoard_;
    QString engineProgram_;
    std::unique_ptr<analysis::AnalysisEngine> engine_;
    BoardState analysed_; // the position the engine is analysing
    bool infoSeen_ = false;
};

} // namespace qv
