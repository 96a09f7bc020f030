// The auxiliary board window: layout, activation, stepping through its own record.
#include "windows/TForm3.h"

#include "board/ui/TChessBrd.h"
#include "resources/Colours.h"
#include "resources/ResourcePaths.h"
#include "widgets/TDRLabel.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace qv {

TForm3::TForm3(const TChessBrd* mainBoard, QWidget* parent)
    : QDialog(parent), mainBoard_(mainBoard) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Form3"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);
    setModal(true);
    // Outer bounds 635, 208, 321, 445: a client area of 313 by 411.
    setGeometry(635 + 4, 208 + 30, 313, 411);

    DRLabel1 = new TDRLabel(this);
    DRLabel1->setGeometry(16, 8, 69, 16);
    DRLabel1->SetCaption(QStringLiteral("Aux. Board:"));
    DRLabel1->SetFontColor(colours::Blue);
    DRLabel1->SetShadowColor(colours::Navy);
    DRLabel1->SetBlink(blNone);

    PieceSet = QImage(resources::PieceSetPath(resources::AuxBoardPieceSetRow));
    Image1 = new QLabel(this);
    Image1->setGeometry(32, 64, 273, 209);
    Image1->setPixmap(QPixmap::fromImage(PieceSet));
    Image1->hide(); // lies under the board; only the source of the piece set

    ChessBrd1 = new TChessBrd(this);
    ChessBrd1->setObjectName(QStringLiteral("AuxBoard"));
    ChessBrd1->SetSizeOfSquare(31);
    ChessBrd1->SetSizeOfBorder(24);
    ChessBrd1->setGeometry(8, 32, 296, 296);
    ChessBrd1->SetAnimateMoves(true);
    ChessBrd1->SetAnimationDelay(0);
    ChessBrd1->SetBoardLines(false);
    ChessBrd1->SetBorderColor(colours::Black);
    ChessBrd1->SetCastlingAllowed(AllCastling);
    ChessBrd1->SetComputerPlaysBlack(false);
    ChessBrd1->SetComputerPlaysWhite(false);
    ChessBrd1->SetCustomEngine(false);
    ChessBrd1->SetSearchDepth(1);
    ChessBrd1->SetDisplayCoords(0);
    ChessBrd1->SetResizable(false);
    ChessBrd1->SetSquareColorDark(colours::Gray);
    ChessBrd1->SetSquareColorLight(colours::Silver);

    auto button = [this](const QString& caption, QRect bounds) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(bounds);
        b->setAutoDefault(false);
        return b;
    };
    Button3 = button(QStringLiteral("<"), {112, 344, 33, 17});
    Button4 = button(QStringLiteral(">"), {168, 344, 33, 17});
    Button2 = button(QStringLiteral("&Start"), {8, 376, 75, 25});
    Button1 = button(QStringLiteral("&Close"), {232, 376, 75, 25});
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    connect(Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
    connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(); });
}

void TForm3::FormActivate() {
    ChessBrd1->SetCustomPieceSet(PieceSet);
    ChessBrd1->SetPosition(AuxPosition);
    ChessBrd1->SetSquareColorDark(colours::Teal);
    ChessBrd1->SetSquareColorLight(colours::White);
    ChessBrd1->SetBorderColor(colours::Silver);
    ChessBrd1->SetWhiteOnTop(mainBoard_->WhiteOnTop());
    ChessBrd1->SetWhiteToMove(mainBoard_->WhiteToMove());
}

void TForm3::Button1Click() {
    close();
}

void TForm3::Button2Click() {
    ChessBrd1->SetPosition(AuxPosition);
    ChessBrd1->SetWhiteOnTop(mainBoard_->WhiteOnTop());
    ChessBrd1->SetWhiteToMove(mainBoard_->WhiteToMove());
}

void TForm3::Button3Click() {
    ChessBrd1->MoveBack();
}

void TForm3::Button4Click() {
    ChessBrd1->MoveForward();
}

void TForm3::MirrorMove(Square from, Square to, char promotion) {
    const char saved = ChessBrd1->PromotionPiece;
    if (promotion) ChessBrd1->PromotionPiece = promotion;
    ChessBrd1->MakeMove(from, to);
    ChessBrd1->PromotionPiece = saved;
}

bool TForm3::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TForm3::showEvent(QShowEvent* e) {
    // Showing the window activates it; the position is set before the first paint.
    FormActivate();
    QDialog::showEvent(e);
}

} // namespace qv
