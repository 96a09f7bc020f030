// The auxiliary board window: a second board on which the user tries out moves from the
// problem's position without touching the main board, the script or the score.
#pragma once

#include "board/core/Square.h"

#include <QDialog>
#include <QImage>

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

    // The window's piece set (32-pixel pieces).
    QImage PieceSet;

    void FormActivate();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();

    // A move played by a script on the main board: played here when legal in this
    // board's position, silently dropped otherwise.
    void MirrorMove(Square from, Square to, char promotion = 0);

protected:
    bool event(QEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    const TChessBrd* mainBoard_;
};

} // namespace qv
