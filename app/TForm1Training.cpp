// The main window's training aids: the Training menu, the verdict line and its sound,
// hints, the banner over the board, the move box and the keys that press Next.
#include "app/ErrorBox.h"
#include "app/TForm1.h"
#include "app/TListBox.h"
#include "board/core/San.h"
#include "board/ui/TChessBrd.h"
#include "resources/ResourcePaths.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QShortcut>
#include <QSoundEffect>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace qv {

namespace {

QFont PixelFont(int pixels, bool bold) {
    QFont f{QStringLiteral("Arial")};
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The move box's look for a text that names no move: red, until it is edited.
void MarkBad(QLineEdit* box, bool bad) {
    QPalette p = box->palette();
    p.setColor(QPalette::Text,
               bad ? QColor(200, 0, 0) : box->style()->standardPalette().color(QPalette::Text));
    box->setPalette(p);
}

} // namespace

void TForm1::CreateTrainingControls() {
    QWidget* c = client_;

    MoveEdit1 = new QLineEdit(c);
    MoveEdit1->setObjectName(QStringLiteral("MoveEdit1"));
    MoveEdit1->setGeometry(16, 380, 150, 22);
    MoveEdit1->setFont(PixelFont(13, false));
    MoveEdit1->setPlaceholderText(QStringLiteral("Move (M): Nf3 or g1f3"));
    // "/" reaches the box from anywhere; pressed again in the box it adds nothing (no
    // move is written with it).
    MoveEdit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^/]*")), MoveEdit1));
    MoveEdit1->setAccessibleName(QStringLiteral("Move"));
    MoveEdit1->setToolTip(
        QStringLiteral("Type your move as Nf3, exd5, O-O, e8=Q or g1f3 and press Enter.\n"
                       "Enter on an empty box presses Next."));
    connect(MoveEdit1, &QLineEdit::returnPressed, this, Guarded([this] { MoveEdit1Enter(); }));
    connect(MoveEdit1, &QLineEdit::textEdited, this, [this] { MarkBad(MoveEdit1, false); });

    VerdictLabel1 = new QLabel(c);
    VerdictLabel1->setObjectName(QStringLiteral("VerdictLabel1"));
    VerdictLabel1->setGeometry(176, 380, 207, 22);
    VerdictLabel1->setFont(PixelFont(15, true));
    VerdictLabel1->setAccessibleName(QStringLiteral("Verdict"));
    VerdictLabel1->hide();

    HintButton1 = new QPushButton(QStringLiteral("Hint"), c);
    HintButton1->setObjectName(QStringLiteral("HintButton1"));
    HintButton1->setGeometry(455, 344, 49, 25);
    HintButton1->setToolTip(QStringLiteral("Shows where the move starts, then where it goes (H); "
                                           "each hint costs a point"));
    HintButton1->setEnabled(false);
    HintButton1->hide();
    connect(HintButton1, &QPushButton::clicked, this, Guarded([this] { HintButton1Click(); }));

    Banner1 = new QLabel(c);
    Banner1->setObjectName(QStringLiteral("Banner1"));
    Banner1->setAlignment(Qt::AlignCenter);
    Banner1->setFont(PixelFont(28, true));
    Banner1->setAutoFillBackground(true);
    QPalette bp = Banner1->palette();
    bp.setColor(QPalette::Window, QColor(20, 20, 20, 190));
    bp.setColor(QPalette::WindowText, QColor(255, 230, 90));
    Banner1->setPalette(bp);
    Banner1->setAttribute(Qt::WA_TransparentForMouseEvents); // the board stays usable
    Banner1->hide();

    // A frame after its move was played, the wrong try goes back.
    retryTimer_ = new QTimer(this);
    retryTimer_->setSingleShot(true);
    retryTimer_->setInterval(RetryDelayMs);
    connect(retryTimer_, &QTimer::timeout, this, Guarded([this] {
                if (!ClockPaused) flow_.TakeBackTry(); // else when the pause ends
            }));
    bannerTimer_ = new QTimer(this);
    bannerTimer_->setSingleShot(true);
    bannerTimer_->setInterval(BannerMs);
    connect(bannerTimer_, &QTimer::timeout, this, [this] { HideBanner(); });

    // Letters that text boxes keep for typing: these act only elsewhere.
    auto* hint = new QShortcut(QKeySequence(Qt::Key_H), this);
    connect(hint, &QShortcut::activated, this, Guarded([this] { HintButton1Click(); }));
    for (Qt::Key key : {Qt::Key_M, Qt::Key_Slash}) {
        auto* focus = new QShortcut(QKeySequence(key), this);
        connect(focus, &QShortcut::activated, this, [this] { FocusMoveBox(); });
    }
}

void TForm1::CreateTrainingMenu() {
    Training1 = Opciones1->addMenu(QStringLiteral("&Training"));
    Training1->setObjectName(QStringLiteral("Training1"));
    auto item = [this](QMenu* menu, const char* caption, const char* name) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, Guarded([this] { TrainingMenuClick(); }));
        return a;
    };
    InstantVerdict1 = item(Training1, "&Instant verdict", "InstantVerdict1");
    TriesPerMove1 = Training1->addMenu(QStringLiteral("&Tries per move"));
    TriesPerMove1->setObjectName(QStringLiteral("TriesPerMove1"));
    TriesGroup = new QActionGroup(this);
    const char* const tries[4][2] = {
        {"&1", "Tries1"}, {"&2", "Tries2"}, {"&3", "Tries3"}, {"&Unlimited", "TriesUnlimited"}};
    for (int i = 0; i < 4; ++i) {
        Tries1[i] = item(TriesPerMove1, tries[i][0], tries[i][1]);
        TriesGroup->addAction(Tries1[i]);
    }
    Tries1[0]->setChecked(true);
    Hints1 = item(Training1, "&Hints", "Hints1");
    Announce1 = item(Training1, "&Announce in the window", "Announce1");
}

TrainingOptions TForm1::TrainingChoice() const {
    TrainingOptions o;
    o.InstantVerdict = InstantVerdict1->isChecked();
    o.TriesPerMove = Tries1[3]->isChecked()   ? TrainingOptions::UnlimitedTries
                     : Tries1[2]->isChecked() ? 3
                     : Tries1[1]->isChecked() ? 2
                                              : 1;
    o.Hints = Hints1->isChecked();
    o.AnnounceInWindow = Announce1->isChecked();
    return o;
}

void TForm1::SetTrainingChoice(const TrainingOptions& o) {
    InstantVerdict1->setChecked(o.InstantVerdict);
    const int row = o.Unlimited() ? 3 : std::clamp(o.TriesPerMove, 1, 3) - 1;
    Tries1[row]->setChecked(true);
    Hints1->setChecked(o.Hints);
    Announce1->setChecked(o.AnnounceInWindow);
    TrainingMenuClick();
}

void TForm1::TrainingMenuClick() {
    const TrainingOptions o = TrainingChoice();
    flow_.SetTrainingOptions(o);
    HintButton1->setVisible(o.Hints);
    if (!o.AnnounceInWindow) HideBanner();
    RememberSettings();
}

// ---------------------------------------------------------------- verdict

void TForm1::ShowVerdict(Verdict verdict) {
    if (verdict == Verdict::None) {
        VerdictLabel1->hide();
        VerdictLabel1->clear();
        return;
    }
    QPalette p = VerdictLabel1->palette();
    p.setColor(QPalette::WindowText,
               verdict == Verdict::Correct ? QColor(0, 128, 0) : QColor(200, 0, 0));
    VerdictLabel1->setPalette(p);
    VerdictLabel1->setText(QString::fromStdString(VerdictText(verdict)));
    VerdictLabel1->show();
    PlayVerdictSound();
}

bool TForm1::PlayVerdictSound() {
    if (!CheckBox1->isChecked()) return false;
    const QString path = ProgramDirectory() + resources::VerdictSoundFile;
    if (!QFileInfo(path).isReadable()) {
        // The verdict is on the screen; the missing sound is said once, without a box.
        if (!verdictSoundFailed_)
            StatusBar1->showMessage(QStringLiteral("The sound file %1 cannot be found.")
                                        .arg(QDir::toNativeSeparators(path)));
        verdictSoundFailed_ = true;
        return false;
    }
    if (!VerdictSound) {
        VerdictSound = new QSoundEffect(this);
        VerdictSound->setObjectName(QStringLiteral("VerdictSound"));
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (VerdictSound->source() != source) VerdictSound->setSource(source);
    VerdictSound->play();
    return true;
}

bool TForm1::TakeBackTry(Square from, Square to) {
    // The piece slides home, then the record steps back to the position before it.
    ChessBrd1->PaintSquare(to);
    ChessBrd1->AnimateMove(to, from, 1);
    return ChessBrd1->MoveBack();
}

// ---------------------------------------------------------------- hints

void TForm1::SetHintAvailable(bool available) {
    hintAvailable_ = available;
    HintButton1->setEnabled(available);
}

void TForm1::HintButton1Click() {
    if (!hintAvailable_ || ClockPaused) return;
    flow_.Hint();
}

void TForm1::ShowHint(Square from, Square to) {
    if (to == None)
        ChessBrd1->MarkSquare(from);
    else
        ChessBrd1->MarkArrow(from, to);
    // Said in words too, for those who do not see the board.
    const QString origin = QString::fromStdString(SquareName(from));
    StatusBar1->showMessage(
        to == None
            ? QStringLiteral("Hint: the move starts on %1").arg(origin)
            : QStringLiteral("Hint: %1 to %2").arg(origin, QString::fromStdString(SquareName(to))));
}

void TForm1::ClearHints() {
    ChessBrd1->ClearMarks();
    StatusBar1->clearMessage();
}

// ---------------------------------------------------------------- banner

void TForm1::ShowBanner(const std::string& text) {
    Banner1->setText(QString::fromStdString(text));
    PlaceBanner();
    Banner1->show();
    Banner1->raise();
    bannerTimer_->start();
}

void TForm1::HideBanner() {
    if (bannerTimer_) bannerTimer_->stop();
    if (Banner1) Banner1->hide();
}

// A strip across the middle of the board's squares, so that the position stays in sight.
void TForm1::PlaceBanner() {
    const QRect board = ChessBrd1->geometry();
    const int border = ChessBrd1->SizeOfBorder();
    const int height = std::max(ChessBrd1->SizeOfSquare(), Banner1->sizeHint().height());
    Banner1->setGeometry(board.left() + border, board.center().y() - height / 2,
                         board.width() - 2 * border, height);
}

// ---------------------------------------------------------------- move box and keys

void TForm1::FocusMoveBox() {
    MoveEdit1->setFocus(Qt::ShortcutFocusReason);
    MoveEdit1->selectAll();
}

void TForm1::MoveEdit1Enter() {
    const QString text = MoveEdit1->text().trimmed();
    if (text.isEmpty()) {
        if (BitBtn2->isEnabled()) BitBtn2->click();
        return;
    }
    const auto refuse = [this](const QString& why) {
        MarkBad(MoveEdit1, true);
        StatusBar1->showMessage(why);
    };
    if (!ChessBrd1->isEnabled() || !ChessBrd1->isVisible())
        return refuse(QStringLiteral("The board is not yours to move now."));
    const BoardState& state = ChessBrd1->State();
    const std::string written = text.toStdString();
    ChessMove move;
    std::string why;
    if (!ParseCoordinateMove(state, written, move) && !ParseSan(state, written, move, &why)) {
        // Coordinates of a promotion without its letter promote to a queen, as SAN does.
        if (!(written.size() == 4 && ParseCoordinateMove(state, written + "q", move)))
            return refuse(QStringLiteral("\"%1\": %2")
                              .arg(text, why.empty() ? QStringLiteral("no legal move")
                                                     : QString::fromStdString(why)));
    }
    const char saved = ChessBrd1->PromotionPiece;
    if (move.Promotion) ChessBrd1->PromotionPiece = move.Promotion;
    const bool played = ChessBrd1->MakeMove(move.From, move.To);
    ChessBrd1->PromotionPiece = saved;
    if (!played) return refuse(QStringLiteral("\"%1\": the board refused the move").arg(text));
    MoveEdit1->clear();
    MarkBad(MoveEdit1, false);
    StatusBar1->clearMessage();
}

// Space, Enter and Right arrow press Next, when no control has used them itself.
void TForm1::keyPressEvent(QKeyEvent* event) {
    // The move box has acted on its Enter already (a move played, or Next pressed
    // for an empty box) but lets the key travel on, as line edits do.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == MoveEdit1) {
        event->accept();
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            if (BitBtn2->isEnabled() && BitBtn2->isVisible()) BitBtn2->click();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace qv
