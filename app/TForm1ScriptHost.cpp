// The main window as the interpreter's host: the script's labels, memo, board, clock,
// sound, points and diagram window.
#include "app/Dialogs.h"
#include "app/ErrorBox.h"
#include "app/Saving.h"
#include "app/TForm1.h"
#include "board/ui/TChessBrd.h"
#include "resources/ResourcePaths.h"
#include "script/ui/TForm2.h"
#include "widgets/TCLEDLabel.h"
#include "widgets/TDRLabel.h"
#include "widgets/TLabel3D.h"
#include "windows/TForm3.h"
#include "windows/TForm5.h"
#include "windows/WindowLook.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSoundEffect>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace qv {

namespace {

// Reads the first bytes of a file to tell whether it is a RIFF wave sound.
bool LooksLikeWave(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(12);
    return head.size() == 12 && head.startsWith("RIFF") && head.mid(8, 4) == "WAVE";
}

} // namespace

QLabel* TForm1::LabelAt(ScriptLabel label) const {
    switch (label) {
    case ScriptLabel::Label2:
        return Label2;
    case ScriptLabel::Label3:
        return Label3;
    case ScriptLabel::Label6:
        return Label6;
    }
    return nullptr;
}

void TForm1::SetLabelText(ScriptLabel label, const std::string& text) {
    QLabel* l = LabelAt(label);
    if (!l) return;
    l->setText(QString::fromStdString(text));
    if (l != Label6) l->adjustSize(); // Label2 and Label3 size themselves to their text
}

void TForm1::SetLabelVisible(ScriptLabel label, bool visible) {
    if (QLabel* l = LabelAt(label)) l->setVisible(visible);
}

void TForm1::AddMemoLine(const std::string& text) {
    pendingMemo_.append(QString::fromStdString(text));
    if (!memoFlush_->isActive()) memoFlush_->start();
}

void TForm1::FlushMemo(int limit) {
    memoFlush_->stop();
    if (pendingMemo_.isEmpty()) return;
    // One insertion for the whole run (or for each piece of a very long one): a script
    // of many commentary lines would otherwise lay the memo out once for every line.
    // The script's lines are not recorded for undoing (the user's typing before them
    // cannot be undone after them).
    const qsizetype count = std::min<qsizetype>(pendingMemo_.size(), std::max(limit, 1));
    QTextDocument* doc = Memo1->document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    Memo1->appendPlainText(count == pendingMemo_.size()
                               ? pendingMemo_.join(QLatin1Char('\n'))
                               : pendingMemo_.sliced(0, count).join(QLatin1Char('\n')));
    doc->setUndoRedoEnabled(undo);
    pendingMemo_.remove(0, count);
    // The last line is the script's own, even when empty: saving the remarks keeps it.
    doc->lastBlock().setUserState(ScriptMemoLine);
    if (!pendingMemo_.isEmpty()) memoFlush_->start(); // the rest on the next turn
}

void TForm1::ClearMemo() {
    pendingMemo_.clear();
    memoFlush_->stop();
    Memo1->clear();
}

void TForm1::SetNextEnabled(bool enabled) {
    BitBtn2->setEnabled(enabled);
}

std::string TForm1::BoardPosition() const {
    return ChessBrd1->Position();
}

void TForm1::SetBoardPosition(const std::string& text) {
    ChessBrd1->SetPosition(text);
}

bool TForm1::BoardWhiteToMove() const {
    return ChessBrd1->WhiteToMove();
}

void TForm1::SetBoardWhiteToMove(bool white) {
    ChessBrd1->SetWhiteToMove(white);
}

void TForm1::SetBoardWhiteOnTop(bool whiteOnTop) {
    ChessBrd1->SetWhiteOnTop(whiteOnTop);
}

void TForm1::SetBoardEnabled(bool enabled) {
    ChessBrd1->setEnabled(enabled);
}

void TForm1::SetBoardBorderColor(RgbColor colour) {
    ChessBrd1->SetBorderColor(QColor(colour.Red, colour.Green, colour.Blue));
}

bool TForm1::BoardMoveBack() {
    return ChessBrd1->MoveBack();
}

bool TForm1::BoardMoveForward() {
    return ChessBrd1->MoveForward();
}

bool TForm1::BoardMakeMove(Square from, Square to, char promotion) {
    const char saved = ChessBrd1->PromotionPiece;
    if (promotion) ChessBrd1->PromotionPiece = promotion;
    const bool ok = ChessBrd1->MakeMove(from, to);
    ChessBrd1->PromotionPiece = saved;
    return ok;
}

void TForm1::BoardNewGame() {
    ChessBrd1->NewGame();
}

void TForm1::AuxMakeMove(Square from, Square to, char promotion) {
    if (form3_) form3_->MirrorMove(from, to, promotion);
}

void TForm1::ShowYourTurn(bool shown) {
    DRLabel1->setVisible(shown);
}

bool TForm1::PlayPop(std::string& errorMessage) {
    if (!CheckBox1->isChecked()) return true;
    if (MediaPlayer1) MediaPlayer1->stop();
    const QString path = ProgramDirectory() + resources::PopSoundFile;
    const QFileInfo info(path);
    if (!info.exists()) {
        errorMessage = QStringLiteral("The sound file %1 cannot be found")
                           .arg(QDir::toNativeSeparators(path))
                           .toStdString();
        return false;
    }
    if (!info.isReadable() || !LooksLikeWave(path)) {
        errorMessage = QStringLiteral("The sound file %1 cannot be played: it is not a wave sound")
                           .arg(QDir::toNativeSeparators(path))
                           .toStdString();
        return false;
    }
    if (!MediaPlayer1) {
        MediaPlayer1 = new QSoundEffect(this);
        MediaPlayer1->setObjectName(QStringLiteral("MediaPlayer1"));
    }
    const QUrl source = QUrl::fromLocalFile(path);
    if (MediaPlayer1->source() != source) MediaPlayer1->setSource(source);
    MediaPlayer1->play(); // returns at once; the sound plays on its own
    return true;
}

void TForm1::StartClock() {
    // During a pause the turn's clock starts when the pause ends.
    if (ClockPaused)
        clockRunningAtPause_ = true;
    else
        Crono1.Start();
}

void TForm1::StopClock() {
    clockRunningAtPause_ = false;
    Crono1.Stop();
}

bool TForm1::AskAddPoints(const std::string& text, int value) {
    FlushMemo();
    g_.AddPointsText = text;
    g_.AddPointsValue = value;
    if (!form5_) return false;
    KeepAboveStayOnTopWindows(form5_);
    form5_->exec();
    return g_.AddPointsAccepted;
}

void TForm1::SetPointsDigits(const std::string& digits) {
    TCLEDLabel* leds[3] = {CLEDLabel1, CLEDLabel2, CLEDLabel3};
    for (int i = 0; i < 3; ++i)
        leds[i]->SetCaption(i < int(digits.size()) ? QString(QChar(digits[size_t(i)])) : QString());
}

std::string TForm1::DiagramCommand(const std::string& command,
                                   const std::vector<std::string>& args) {
    if (!form2_) return {};
    // The diagram builds up while events are processed: show the commentary first.
    FlushMemo();
    if (command == "board" || command == "struct") PlaceDiagramWindow();
    return form2_->DiagramCommand(command, args);
}

void TForm1::ShowError(const std::string& message) {
    FlushMemo();
    Dialogs::Current().Error(this, QString::fromLatin1(kApplicationTitle),
                             QString::fromStdString(message));
}

void TForm1::ShowInfo(const std::string& text) {
    FlushMemo();
    Dialogs::Current().Information(this, QString::fromStdString(text));
}

} // namespace qv
