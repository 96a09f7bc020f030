// The auxiliary board window: layout, activation, stepping through its own record.
#include "windows/TForm3.h"

#include "analysis/core/AnalysisText.h"
#include "analysis/engines/BuiltinEngine.h"
#include "analysis/engines/UciEngine.h"
#include "board/ui/TChessBrd.h"
#include "resources/Colours.h"
#include "resources/ResourcePaths.h"
#include "widgets/TDRLabel.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

namespace qv {

namespace {

// The client area as laid out without analysis, and the room the analysis lines take.
constexpr int ClientWidth = 313;
constexpr int ClientHeight = 411;
constexpr int AnalysisTop = 410;
constexpr int AnalysisHeight = 78;
// Moves of the principal line shown.
constexpr int LineMoves = 16;

} // namespace

TForm3::TForm3(const TChessBrd* mainBoard, QWidget* parent)
    : QDialog(parent), mainBoard_(mainBoard) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Form3"));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    setFont(font);
    setModal(true);
    // Outer bounds 635, 208, 321, 445: a client area of 313 by 411.
    setGeometry(635 + 4, 208 + 30, ClientWidth, ClientHeight);

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

    Button5 = button(QStringLiteral("&Analyse"), {119, 376, 75, 25});
    Button5->setObjectName(QStringLiteral("Button5"));
    Button5->setCheckable(true);
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, AnalysisTop, ClientWidth - 16, 18);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, AnalysisTop + 20, ClientWidth - 16, AnalysisHeight - 24);
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1->hide();
    Label2->hide();

    // Every move on this board, the user's or a mirrored one, changes what is analysed.
    ChessBrd1->OnLegalMove = [this](BoardModel*, Square, Square) { RestartAnalysis(); };
}

void TForm3::FormActivate() {
    ChessBrd1->SetCustomPieceSet(PieceSet);
    ChessBrd1->SetPosition(AuxPosition);
    ChessBrd1->SetSquareColorDark(colours::Teal);
    ChessBrd1->SetSquareColorLight(colours::White);
    ChessBrd1->SetBorderColor(colours::Silver);
    ChessBrd1->SetWhiteOnTop(mainBoard_->WhiteOnTop());
    ChessBrd1->SetWhiteToMove(mainBoard_->WhiteToMove());
    RestartAnalysis();
}

void TForm3::Button1Click() {
    close();
}

void TForm3::Button2Click() {
    ChessBrd1->SetPosition(AuxPosition);
    ChessBrd1->SetWhiteOnTop(mainBoard_->WhiteOnTop());
    ChessBrd1->SetWhiteToMove(mainBoard_->WhiteToMove());
    RestartAnalysis();
}

void TForm3::Button3Click() {
    if (ChessBrd1->MoveBack()) RestartAnalysis();
}

void TForm3::Button4Click() {
    if (ChessBrd1->MoveForward()) RestartAnalysis();
}

void TForm3::Button5Click() {
    FitAnalysisLines();
    if (Button5->isChecked())
        RestartAnalysis();
    else
        StopAnalysis();
}

void TForm3::SetEngineProgram(const QString& program) {
    if (program == engineProgram_) return;
    engineProgram_ = program;
    engine_.reset(); // the next analysis creates the chosen engine
    RestartAnalysis();
}

void TForm3::FitAnalysisLines() {
    const bool on = Button5->isChecked();
    Label1->setVisible(on);
    Label2->setVisible(on);
    resize(ClientWidth, on ? AnalysisTop + AnalysisHeight : ClientHeight);
}

void TForm3::RestartAnalysis() {
    if (!Button5->isChecked() || !isVisible()) return;
    analysed_ = ChessBrd1->State();
    infoSeen_ = false;
    if (const std::string why = analysis::WhyNotAnalysable(analysed_); !why.empty()) {
        if (engine_) engine_->Stop();
        Label1->setText(tr("No analysis of this position."));
        Label2->setText(QString::fromStdString(why));
        return;
    }
    if (!engine_) {
        if (engineProgram_.isEmpty())
            engine_ = std::make_unique<analysis::BuiltinEngine>();
        else
            engine_ = std::make_unique<analysis::UciEngine>(engineProgram_);
        engine_->OnInfo = [this](const analysis::AnalysisInfo& i) { ShowInfo(i); };
        engine_->OnFinished = [this](const std::string& best) { ShowFinished(best); };
        engine_->OnError = [this](const std::string& message) { ShowError(message); };
    }
    Label1->setText(tr("Analysing with the %1...").arg(QString::fromStdString(engine_->Name())));
    Label2->clear();
    engine_->Start(analysed_, {});
}

void TForm3::StopAnalysis() {
    if (engine_) engine_->Stop();
}

void TForm3::ShowInfo(const analysis::AnalysisInfo& info) {
    if (info.MultiPv != 1) return;
    infoSeen_ = true;
    Label1->setText(
        tr("Depth %1   %2   (%3)")
            .arg(info.Depth)
            .arg(QString::fromStdString(analysis::ScoreText(info.Score, analysed_.WhiteToMove)))
            .arg(QString::fromStdString(engine_->Name())));
    Label2->setText(QString::fromStdString(analysis::LineText(analysed_, info.Pv, LineMoves)));
}

void TForm3::ShowFinished(const std::string& bestMove) {
    if (!bestMove.empty() || infoSeen_) return; // the last depth stays shown
    const bool inCheck =
        KingAttacked(analysed_, analysed_.WhiteToMove ? WhiteColor : BlackColor, None, None);
    Label1->setText(inCheck ? tr("Checkmate: no legal move.") : tr("Stalemate: no legal move."));
    Label2->clear();
}

void TForm3::ShowError(const std::string& message) {
    Button5->setChecked(false);
    Label1->setText(tr("The analysis stopped."));
    Label2->setText(QString::fromStdString(message));
    // The message stays readable with the toggle off; the next Analyse clears it.
    Label1->show();
    Label2->show();
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

void TForm3::hideEvent(QHideEvent* e) {
    StopAnalysis();
    QDialog::hideEvent(e);
}

void TForm3::showEvent(QShowEvent* e) {
    // Showing the window activates it; the position is set before the first paint.
    FormActivate();
    QDialog::showEvent(e);
}

} // namespace qv
