// The trainer's main window driven as a user drives it: start-up, problem files, the
// worked example with a real drag on the board, the clock, the mate and draw boxes,
// the add-points dialog, the options, saving, the sound and the auxiliary board.
#include "app/TForm1.h"
#include "app/ErrorBox.h"
#include "app/TApplication.h"
#include "app/TListBox.h"
#include "app/help/HelpRouter.h"
#include "app/help/HelpWindow.h"
#include "board/ui/TChessBrd.h"
#include "script/core/ProblemFlow.h"
#include "script/ui/TForm2.h"
#include "tests/app/FakeDialogs.h"
#include "widgets/TCLEDLabel.h"
#include "widgets/TDRLabel.h"
#include "widgets/TLabel3D.h"
#include "windows/TForm3.h"
#include "windows/TForm4.h"
#include "windows/TForm5.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>

using namespace qv;
using qvtest::FakeDialogs;

namespace {

const QString kSample = QStringLiteral(QV_SAMPLES_DIR "/first-steps.qvn");

// The five windows as the entry routine creates them.
struct Trainer {
    Globales g;
    TForm1 form1;
    TForm2 form2;
    TForm3 form3;
    TForm4 form4;
    TForm5 form5;
    explicit Trainer(const QStringList& extraArguments = {})
        : form1(g, QStringList{QCoreApplication::applicationFilePath()} + extraArguments),
          form3(g, form1.ChessBrd1), form5(g) {
        form1.AttachWindows(&form2, &form3, &form4, &form5);
        form1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form1));
    }
};

QPoint CentreOf(const TChessBrd& b, Square sq) {
    return b.SquareToPixel(sq) + QPoint(b.SizeOfSquare() / 2, b.SizeOfSquare() / 2);
}

// A drag from one square to another with real mouse events.
void Drag(TChessBrd& b, Square from, Square to) {
    const QPoint start = CentreOf(b, from), end = CentreOf(b, to);
    QTest::mousePress(&b, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&b, start + QPoint(QApplication::startDragDistance() + 3, 0));
    QTest::mouseMove(&b, (start + end) / 2);
    QTest::mouseMove(&b, end);
    QTest::mouseRelease(&b, Qt::LeftButton, Qt::NoModifier, end);
}

void ClickEntry(TListBox* list, int row) {
    QListWidgetItem* item = list->item(row);
    QVERIFY(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(item).center());
}

void ClickNext(TForm1& f) {
    QVERIFY(f.BitBtn2->isEnabled());
    QTest::mouseClick(f.BitBtn2, Qt::LeftButton);
}

QString Digits(const TForm1& f) {
    return f.CLEDLabel1->Caption() + f.CLEDLabel2->Caption() + f.CLEDLabel3->Caption();
}

QStringList MemoLines(const TForm1& f) {
    return f.Memo1->toPlainText().split(QLatin1Char('\n'));
}

// Runs `action` on the next modal window once it is open (while the caller sits in exec).
void WhenModal(std::function<void(QWidget*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

char PieceOn(const TChessBrd& b, Square sq) {
    return b.Position().at(size_t(sq) - 1);
}

} // namespace

class TForm1Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }

    void startUpStateAndLayout();
    void menusCaptionsAndStatusBar();
    void commandLineFileIsListed();
    void missingCommandLineFileShowsErrorBox();
    void readProblemsMenuAndCancel();
    void workedExampleFromSelectionToEnd();
    void keyboardSelectionSelectsAndSameEntryRestarts();
    void entryThatCannotBeFoundAgain();
    void pauseAndRestartClock();
    void clockDisplayEverySecond();
    void mateAndDrawBoxesAndNegativeTotal();
    void addPointsAcceptedAndDeclined_data();
    void addPointsAcceptedAndDeclined();
    void optionsToggleTwice();
    void squareColoursAndCancel();
    void pieceSetComboIgnoresOtherText();
    void resultsFileBytes();
    void remarksFileWithTypedAndWrappedLines();
    void unwritablePathsGiveMessages();
    void missingSoundEndsTheRun();
    void auxBoardOpensOnMainPosition();
    void scriptMoveMirroredOrDropped();
    void errorEndingAHandlerIsShownAndProgramGoesOn();
    void resizingScalesControlsAndComesBack();
    void helpAndCredits();
};

void TForm1Test::startUpStateAndLayout() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    QCOMPARE(f.ListBox1->count(), 0);
    QVERIFY(!f.BitBtn2->isEnabled());
    QCOMPARE(Digits(f), QStringLiteral("000"));
    QVERIFY(!f.CheckBox1->isChecked());
    QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("Set40"));
    QCOMPARE(f.ChessBrd1->SquareColorDark(), QColor(0, 128, 128));
    QCOMPARE(f.ChessBrd1->SquareColorLight(), QColor(255, 255, 255));
    QCOMPARE(f.ChessBrd1->BorderColor(), QColor(192, 192, 192));
    QCOMPARE(int(f.ChessBrd1->DisplayCoords()), 0);
    QVERIFY(!f.ChessBrd1->BoardLines());
    QVERIFY(!f.ChessBrd1->WhiteOnTop());
    QCOMPARE(f.ChessBrd1->Position(),
             std::string("rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR"));
    QCOMPARE(f.ChessBrd1->CustomPieceSet().size(), QSize(240, 160));
    QVERIFY(!f.DRLabel1->isVisible());
    QCOMPARE(f.DRLabel1->Blink(), blBlink);
    QVERIFY(f.windowTitle().startsWith(QStringLiteral("Quorvane")));
    QVERIFY(dialogs.errors.isEmpty());

    // Program-wide state as the window's creation sets it.
    QVERIFY(!t.g.ProblemFileOpen);
    QVERIFY(t.g.OutputToLabel && t.g.OutputToMemo);
    QCOMPARE(t.g.TotalPoints, 0);
    QVERIFY(QString::fromStdString(t.g.ProgramDir).endsWith(QLatin1Char('/')));
    QCOMPARE(f.OpenDialogInitialDir, QString::fromStdString(t.g.ProgramDir));
    QVERIFY(!f.Crono1.Running());
    QVERIFY(f.Timer1->isActive());
    QCOMPARE(f.Timer1->interval(), 1000);

    // Designed bounds at 96 dpi.
    QCOMPARE(f.ChessBrd1->geometry(), QRect(15, 7, 368, 368));
    QCOMPARE(f.ListBox1->geometry(), QRect(400, 24, 337, 73));
    QCOMPARE(f.Memo1->geometry(), QRect(16, 384, 721, 105));
    QCOMPARE(f.Panel2->geometry(), QRect(400, 264, 337, 73));
    QCOMPARE(f.CLEDLabel2->geometry(), QRect(120, 40, 15, 26));
    QCOMPARE(f.BitBtn2->geometry(), QRect(400, 344, 49, 25));
    QCOMPARE(f.Label6->geometry(), QRect(16, 16, 305, 65));
    QCOMPARE(f.DRLabel3->geometry(), QRect(56, 136, 296, 19));
    QCOMPARE(f.StatusBar1->height(), 19);
    QCOMPARE(f.Memo1->font().pixelSize(), 13);
    QCOMPARE(f.Label6->font().family(), QStringLiteral("Courier New"));
    QCOMPARE(f.Client()->width(), 750);
    // The labels under the board are covered by it.
    QVERIFY(f.ChessBrd1->geometry().contains(f.DRLabel2->geometry()));
    QVERIFY(f.ChessBrd1->geometry().contains(f.DRLabel3->geometry()));

    // Next with no problem file open does nothing.
    f.BitBtn2Click();
    QVERIFY(f.Memo1->toPlainText().isEmpty());
}

void TForm1Test::menusCaptionsAndStatusBar() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    QStringList menus;
    for (QAction* a : f.menuBar()->actions()) menus << a->text();
    QCOMPARE(menus, (QStringList{"&File", "&Options", "&Help"}));
    auto captions = [](QMenu* m) {
        QStringList list;
        for (QAction* a : m->actions()) list << a->objectName() + QLatin1Char('=') + a->text();
        return list;
    };
    QCOMPARE(captions(f.Archivo1),
             (QStringList{"LeerProblemas1=&Read problems", "SAveremarks1=S&Ave remarks",
                          "Saveresults1=&Save results", "Salir1=&Quit"}));
    QCOMPARE(captions(f.Opciones1),
             (QStringList{"Blancasarribaabajo1=&White UP/Down",
                          "Lneasentreescaques1=&Lines between squares", "Coordenadas1=&Coordinates",
                          "Colorcasillasblancas1=W&h&Ite square colour",
                          "Colorcasillasnegras1=&Black square colour", "Engine1=&Engine..."}));
    QCOMPARE(captions(f.Ayuda1),
             (QStringList{"OnlineHelp1=O&nLine Help", "Credits1=&About this program"}));
    const QString status = f.StatusText->text();
    QVERIFY(status.startsWith(QString(60, QLatin1Char(' ')) + QStringLiteral("QUORVANE") +
                              QString(20, QLatin1Char(' '))));
    QVERIFY(status.size() > 88);
}

void TForm1Test::commandLineFileIsListed() {
    FakeDialogs dialogs;
    Trainer t({kSample, QStringLiteral("ignored-extra-argument")});
    TForm1& f = t.form1;
    QVERIFY(dialogs.errors.isEmpty());
    QVERIFY(t.g.ProblemFileOpen);
    QCOMPARE(f.ListBox1->count(), 5);
    QCOMPARE(f.ListBox1->item(0)->text(), QStringLiteral("1 Mate in one"));
    QCOMPARE(f.ListBox1->item(1)->text(), QStringLiteral("2 The Opera Game, Paris 1858"));
    QCOMPARE(f.ListBox1->item(4)->text(), QStringLiteral("5 Mate, not stalemate"));
    QVERIFY(!f.BitBtn2->isEnabled());

    // A file without index lines: an empty list, but the file is open.
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.qvn"));
    QFile file(empty);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Just a title page.\r\n");
    file.close();
    Trainer t2({empty});
    QCOMPARE(t2.form1.ListBox1->count(), 0);
    QVERIFY(t2.g.ProblemFileOpen);
}

void TForm1Test::missingCommandLineFileShowsErrorBox() {
    FakeDialogs dialogs;
    Trainer t({QStringLiteral("/no/such/folder/missing.qvn")});
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QVERIFY2(dialogs.errors[0].text.endsWith(QLatin1Char('.')), qPrintable(dialogs.errors[0].text));
    FakeDialogs missingFile;
    Trainer t2({QDir::temp().filePath(QStringLiteral("quorvane-missing-file.qvn"))});
    QCOMPARE(missingFile.errors.size(), 1);
    QCOMPARE(missingFile.errors[0].text, QStringLiteral("File not found."));
    // The window is created all the same, with every later step done.
    QCOMPARE(t2.form1.ListBox1->count(), 0);
    QVERIFY(!t2.g.ProblemFileOpen);
    QCOMPARE(t2.form1.ComboBox1->currentText(), QStringLiteral("Set40"));
}

void TForm1Test::readProblemsMenuAndCancel() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    dialogs.openAnswers << kSample;
    f.LeerProblemas1->trigger();
    QCOMPARE(dialogs.openFilters.value(0),
             QStringLiteral("Tactics Files|*.qvn|Text files|*.txt|All files|*.*"));
    QCOMPARE(dialogs.openDirectories.value(0), QString::fromStdString(t.g.ProgramDir));
    QCOMPARE(f.ListBox1->count(), 5);

    // Work a little on problem 1, then cancel a second Read problems: the list is
    // emptied, but the open file and its position stay, so Next goes on.
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    QVERIFY(f.DRLabel1->isVisible());
    Drag(*f.ChessBrd1, C4, F7);
    QVERIFY(f.BitBtn2->isEnabled());
    f.LeerProblemas1->trigger(); // cancelled: no answer queued
    QCOMPARE(f.ListBox1->count(), 0);
    QVERIFY(t.g.ProblemFileOpen);
    ClickNext(f);
    QCOMPARE(Digits(f), QStringLiteral("001"));

    // A file that cannot be opened.
    dialogs.openAnswers << QStringLiteral("/no/such/dir/x.qvn");
    f.LeerProblemas1->trigger();
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QVERIFY(!t.g.ProblemFileOpen);
    QCOMPARE(f.ListBox1->count(), 0);
}

void TForm1Test::workedExampleFromSelectionToEnd() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    TChessBrd& board = *f.ChessBrd1;

    ClickEntry(f.ListBox1, 0);
    QCOMPARE(QString::fromStdString(t.g.ProblemTitle), QStringLiteral("1 Mate in one"));
    QCOMPARE(MemoLines(f), QStringList{"1 Mate in one"});
    QVERIFY(f.BitBtn2->isEnabled());
    QCOMPARE(Digits(f), QStringLiteral("000"));

    // Next runs up to the user's turn.
    ClickNext(f);
    QCOMPARE(f.Label2->text(), QStringLiteral("White to play"));
    QCOMPARE(f.Label3->text(), QStringLiteral("White - Black"));
    QCOMPARE(MemoLines(f).last(), QStringLiteral("Black has just played 3...Nf6. White to play."));
    QVERIFY(f.DRLabel1->isVisible());
    QVERIFY(board.isEnabled());
    QVERIFY(!f.BitBtn2->isEnabled());
    QCOMPARE(board.BorderColor(), QColor(255, 255, 255));
    QVERIFY(f.Crono1.Running());
    QCOMPARE(PieceOn(board, H5), 'Q');

    // The answer, dragged with the mouse: the turn ends, and the mate is announced.
    Drag(board, H5, F7);
    QCOMPARE(PieceOn(board, F7), 'Q');
    QVERIFY(f.BitBtn2->isEnabled());
    QVERIFY(!board.isEnabled());
    QVERIFY(!f.DRLabel1->isVisible());
    QCOMPARE(board.BorderColor(), QColor(192, 192, 192));
    QVERIFY(!f.Crono1.Running());
    QCOMPARE(t.g.LastMoveFrom, H5);
    QCOMPARE(t.g.LastMoveTo, F7);
    QCOMPARE(dialogs.infos, QStringList{"Check Mate"});

    // Next judges it and shows the solution.
    ClickNext(f);
    QCOMPARE(Digits(f), QStringLiteral("003"));
    QCOMPARE(t.g.TotalPoints, 3);
    QStringList lines = MemoLines(f);
    QVERIFY2(lines.contains(QStringLiteral(" Mate: the bishop on c4 guards f7.")),
             qPrintable(lines.join(QLatin1Char('|'))));
    QVERIFY(lines.contains(QStringLiteral("3 point(s).")));
    QVERIFY(!lines.join(QLatin1Char('|')).contains(QStringLiteral("escapes")));
    QCOMPARE(lines.last(), QStringLiteral("Qh5xf7"));
    QCOMPARE(f.Label6->text(), QStringLiteral(" Mate: the bishop on c4 guards f7."));
    QCOMPARE(PieceOn(board, F7), 'Q');
    QVERIFY(f.BitBtn2->isEnabled());

    // The last Next: remark, result, end.
    ClickNext(f);
    lines = MemoLines(f);
    QCOMPARE(lines.mid(lines.size() - 2),
             (QStringList{"The queen cannot be taken.", "Black resigns (1-0)"}));
    QVERIFY(!f.BitBtn2->isEnabled());
    QVERIFY(board.isEnabled()); // the result lets the user move on the finished game
    QVERIFY(dialogs.errors.isEmpty());
}

void TForm1Test::keyboardSelectionSelectsAndSameEntryRestarts() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    Drag(*f.ChessBrd1, H5, F7);
    ClickNext(f);
    QCOMPARE(Digits(f), QStringLiteral("003"));

    // The same entry again restarts the problem with the points and the clock at zero.
    ClickEntry(f.ListBox1, 0);
    QCOMPARE(Digits(f), QStringLiteral("000"));
    QCOMPARE(MemoLines(f), QStringList{"1 Mate in one"});
    QCOMPARE(f.Crono1.Elapsed(), 0.0);
    QCOMPARE(f.ChessBrd1->Position(),
             std::string("rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR"));
    ClickNext(f);
    QVERIFY(f.DRLabel1->isVisible());

    // Moving the selection with the keyboard selects the next problem.
    f.ListBox1->setFocus();
    QTest::keyClick(f.ListBox1, Qt::Key_Down);
    QCOMPARE(QString::fromStdString(t.g.ProblemTitle),
             QStringLiteral("2 The Opera Game, Paris 1858"));
    QCOMPARE(MemoLines(f), QStringList{"2 The Opera Game, Paris 1858"});
    QVERIFY(f.BitBtn2->isEnabled());
}

void TForm1Test::entryThatCannotBeFoundAgain() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("spaces.qvn"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(".#  7 Two spaces after the mark\r\n.rem never reached\r\n.end\r\n");
    file.close();
    Trainer t({path});
    TForm1& f = t.form1;
    QCOMPARE(f.ListBox1->count(), 1);
    ClickEntry(f.ListBox1, 0);
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QCOMPARE(dialogs.errors[0].text, QString::fromStdString(ProblemNotFoundMessage(
                                         f.ListBox1->item(0)->text().toStdString())));
    QVERIFY(!f.BitBtn2->isEnabled());
}

void TForm1Test::pauseAndRestartClock() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    QVERIFY(f.Crono1.Running());
    QTest::qWait(30);

    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY(t.g.ClockPaused);
    QCOMPARE(f.Button2->text(), QStringLiteral("Restart clock"));
    QVERIFY(!f.ChessBrd1->isVisible());
    QVERIFY(!f.Crono1.Running());
    QVERIFY(f.DRLabel2->isVisible() && f.DRLabel3->isVisible());
    const double atPause = f.Crono1.Elapsed();
    QVERIFY(atPause > 0.0);
    QTest::qWait(30);
    QCOMPARE(f.Crono1.Elapsed(), atPause);

    // Selecting a problem while paused keeps the board hidden.
    ClickEntry(f.ListBox1, 1);
    QVERIFY(!f.ChessBrd1->isVisible());
    QCOMPARE(f.Button2->text(), QStringLiteral("Restart clock"));

    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY(!t.g.ClockPaused);
    QCOMPARE(f.Button2->text(), QStringLiteral("Clock pause"));
    QVERIFY(f.ChessBrd1->isVisible());
    QVERIFY(f.Crono1.Running()); // restart always starts the clock
}

void TForm1Test::clockDisplayEverySecond() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    f.Timer1Timer();
    QCOMPARE(f.Label3D1->Caption(), QStringLiteral("00:00:00"));
    QVERIFY(f.Label3D1->width() > 4); // widens with its text
    QVERIFY(QTest::qWaitFor([&] { return !f.Label3D1->Caption().isEmpty(); }, 1500));
}

void TForm1Test::mateAndDrawBoxesAndNegativeTotal() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 4);
    ClickNext(f);
    QVERIFY(f.DRLabel1->isVisible());
    QVERIFY(!f.ChessBrd1->WhiteOnTop());
    Drag(*f.ChessBrd1, C5, C7); // stalemate
    QCOMPARE(dialogs.infos, QStringList{"Draw"});
    QVERIFY(f.BitBtn2->isEnabled()); // the turn ended before the box
    ClickNext(f);
    QCOMPARE(t.g.TotalPoints, -2);
    QVERIFY(MemoLines(f).contains(QStringLiteral("-2 point(s).")));

    dialogs.saveAnswers << QDir::temp().filePath(QStringLiteral("quorvane-negative.txt"));
    f.Saveresults1->trigger();
    QCOMPARE(ReadAll(dialogs.saveSuggestions.isEmpty()
                         ? QString()
                         : QDir::temp().filePath(QStringLiteral("quorvane-negative.txt"))),
             QByteArray("5 Mate, not stalemate\r\n-2points\r\n"));
    QFile::remove(QDir::temp().filePath(QStringLiteral("quorvane-negative.txt")));

    dialogs.infos.clear();
    ClickEntry(f.ListBox1, 4);
    ClickNext(f);
    Drag(*f.ChessBrd1, C5, C8);
    QCOMPARE(dialogs.infos, QStringList{"Check Mate"});
    ClickNext(f);
    QCOMPARE(Digits(f), QStringLiteral("002"));
}

void TForm1Test::addPointsAcceptedAndDeclined_data() {
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("digits");
    QTest::newRow("accepted") << true << QStringLiteral("005");
    QTest::newRow("declined") << false << QStringLiteral("003");
}

void TForm1Test::addPointsAcceptedAndDeclined() {
    QFETCH(bool, accept);
    QFETCH(QString, digits);
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 3);
    ClickNext(f); // up to .board
    ClickNext(f); // .arrow
    ClickNext(f); // .circle
    ClickNext(f); // .*w
    QVERIFY(f.DRLabel1->isVisible());
    Drag(*f.ChessBrd1, D1, D8);
    ClickNext(f); // .if ... .m Rd1-d8#
    QCOMPARE(Digits(f), QStringLiteral("003"));
    ClickNext(f); // .square
    QString caption, question;
    WhenModal([&](QWidget* modal) {
        auto* dialog = qobject_cast<TForm5*>(modal);
        QVERIFY(dialog);
        caption = dialog->Button1->text();
        question = dialog->Memo1->toPlainText();
        QTest::mouseClick(accept ? dialog->Button1 : dialog->Button2, Qt::LeftButton);
    });
    ClickNext(f); // .rem, .addpoints (modal), .struct
    QCOMPARE(caption, QStringLiteral("Add 2 points."));
    QVERIFY(question.startsWith(QStringLiteral("Did you also check")));
    QCOMPARE(Digits(f), digits);
    QVERIFY(!t.g.AddPointsAccepted);
    ClickNext(f); // .quitboard
    ClickNext(f); // .1-0, .end
    QVERIFY(!f.BitBtn2->isEnabled());
    t.form2.hide();
}

void TForm1Test::optionsToggleTwice() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    TChessBrd& b = *f.ChessBrd1;
    f.Blancasarribaabajo1->trigger();
    QVERIFY(b.WhiteOnTop());
    f.Blancasarribaabajo1->trigger();
    QVERIFY(!b.WhiteOnTop());
    f.Lneasentreescaques1->trigger();
    QVERIFY(b.BoardLines());
    f.Lneasentreescaques1->trigger();
    QVERIFY(!b.BoardLines());
    f.Coordenadas1->trigger();
    QVERIFY(t.g.CoordsShown);
    QCOMPARE(int(b.DisplayCoords()), int(West | North | East | South));
    f.Coordenadas1->trigger();
    QVERIFY(!t.g.CoordsShown);
    QCOMPARE(int(b.DisplayCoords()), 0);

    // Selecting a problem does not undo an option.
    dialogs.openAnswers << kSample;
    f.LeerProblemas1->trigger();
    f.Lneasentreescaques1->trigger();
    f.Coordenadas1->trigger();
    ClickEntry(f.ListBox1, 0);
    QVERIFY(b.BoardLines());
    QCOMPARE(int(b.DisplayCoords()), int(AllCoords));
    // After ".*b" put Black at the bottom, one click brings White back down.
    ClickEntry(f.ListBox1, 2);
    ClickNext(f);
    QVERIFY(b.WhiteOnTop());
    f.Blancasarribaabajo1->trigger();
    QVERIFY(!b.WhiteOnTop());
}

void TForm1Test::squareColoursAndCancel() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    dialogs.colourAnswers << QColor(200, 180, 120) << QColor(90, 60, 30) << QColor();
    f.Colorcasillasblancas1->trigger();
    QCOMPARE(f.ChessBrd1->SquareColorLight(), QColor(200, 180, 120));
    QCOMPARE(dialogs.colourInitials.value(0), QColor(255, 255, 255));
    f.Colorcasillasnegras1->trigger();
    QCOMPARE(f.ChessBrd1->SquareColorDark(), QColor(90, 60, 30));
    QCOMPARE(dialogs.colourInitials.value(1), QColor(0, 128, 128));
    f.Colorcasillasnegras1->trigger(); // cancelled
    QCOMPARE(dialogs.colourInitials.value(2), QColor(90, 60, 30));
    QCOMPARE(f.ChessBrd1->SquareColorDark(), QColor(90, 60, 30));
}

void TForm1Test::pieceSetComboIgnoresOtherText() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    TChessBrd& b = *f.ChessBrd1;
    f.ComboBox1->setCurrentIndex(3);
    QCOMPARE(b.CustomPieceSet().size(), QSize(384, 256));
    QCOMPARE(b.CellSize(), 64);
    QCOMPARE(b.SizeOfSquare(), 40);
    f.ComboBox1->setCurrentIndex(1);
    QCOMPARE(b.CustomPieceSet().size(), QSize(192, 128));
    f.ComboBox1->setCurrentIndex(0);
    QVERIFY(b.CustomPieceSet().isNull()); // the built-in set

    // Typed text that names no item leaves the pieces as they are.
    f.ComboBox1->setCurrentIndex(2);
    QCOMPARE(b.CustomPieceSet().size(), QSize(240, 160));
    f.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(f.ComboBox1->lineEdit(), QStringLiteral("Big"));
    QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("Big"));
    QCOMPARE(b.CustomPieceSet().size(), QSize(240, 160));
    // Typed text that names an item chooses it.
    f.ComboBox1->lineEdit()->selectAll();
    QTest::keyClicks(f.ComboBox1->lineEdit(), QStringLiteral("Set32"));
    QCOMPARE(b.CustomPieceSet().size(), QSize(192, 128));
}

void TForm1Test::resultsFileBytes() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    const QString results = dir.filePath(QStringLiteral("results.txt"));
    Trainer t({kSample});
    TForm1& f = t.form1;

    // Before any problem: an empty title and no points.
    dialogs.saveAnswers << results;
    f.Saveresults1->trigger();
    QCOMPARE(ReadAll(results), QByteArray("\r\n0points\r\n"));

    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    Drag(*f.ChessBrd1, H5, F7);
    ClickNext(f);
    dialogs.saveAnswers << results; // the same name again: only the second pair stays
    f.Saveresults1->trigger();
    QCOMPARE(dialogs.saveSuggestions.value(1), results); // the dialog remembers the name
    QCOMPARE(ReadAll(results), QByteArray("1 Mate in one\r\n3points\r\n"));

    // Cancel writes nothing, not even to the earlier file.
    ClickEntry(f.ListBox1, 0);
    f.Saveresults1->trigger();
    QCOMPARE(ReadAll(results), QByteArray("1 Mate in one\r\n3points\r\n"));
    QVERIFY(dialogs.errors.isEmpty());
}

void TForm1Test::remarksFileWithTypedAndWrappedLines() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    const QString remarks = dir.filePath(QStringLiteral("remarks.txt"));
    Trainer t({kSample});
    TForm1& f = t.form1;

    // An empty memo gives an empty file.
    dialogs.saveAnswers << remarks;
    f.SAveremarks1->trigger();
    QCOMPARE(ReadAll(remarks), QByteArray());

    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    QTest::mouseClick(f.Memo1->viewport(), Qt::LeftButton);
    f.Memo1->moveCursor(QTextCursor::End);
    QTest::keyClick(f.Memo1, Qt::Key_Return);
    QTest::keyClicks(f.Memo1, QStringLiteral("My idea: Bxf7+ first? No - Qxf7 mates. Tr"));
    QTest::sendKeyEvent(QTest::Click, f.Memo1, Qt::Key_unknown, QStringLiteral("è"),
                        Qt::NoModifier);
    QTest::keyClicks(f.Memo1, QStringLiteral("s bien"));
    QString longLine;
    for (int i = 0; i < 30; ++i) longLine += QStringLiteral("word%1 ").arg(i);
    longLine += QStringLiteral("end");
    f.AddMemoLine(longLine.toStdString());
    dialogs.saveAnswers << remarks;
    f.SAveremarks1->trigger();
    QVERIFY(dialogs.errors.isEmpty());

    const QString text = QString::fromUtf8(ReadAll(remarks));
    QVERIFY(text.endsWith(QStringLiteral("\r\n")));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    lines.removeLast();
    QCOMPARE(lines.value(0), QStringLiteral("1 Mate in one"));
    QCOMPARE(lines.value(1), QStringLiteral("Black has just played 3...Nf6. White to play."));
    QCOMPARE(lines.value(2), QStringLiteral("My idea: Bxf7+ first? No - Qxf7 mates. Très bien"));
    // The long line is written as the memo shows it: in several pieces, none wider
    // than the memo, which together give the line back.
    const QStringList pieces = lines.mid(3);
    QVERIFY2(pieces.size() >= 2, qPrintable(lines.join(QLatin1Char('|'))));
    QCOMPARE(pieces.join(QString()), longLine);
    const QFontMetrics metrics(f.Memo1->font());
    for (const QString& piece : pieces)
        QVERIFY(metrics.horizontalAdvance(piece.trimmed()) <= f.Memo1->viewport()->width());
    QVERIFY(!text.contains(QStringLiteral("\n\n")));
}

void TForm1Test::unwritablePathsGiveMessages() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    Trainer t;
    TForm1& f = t.form1;
    const QString noFolder = QStringLiteral("/no/such/folder/out.txt");
    dialogs.saveAnswers << noFolder << noFolder << dir.path();
    f.Saveresults1->trigger();
    f.SAveremarks1->trigger();
    f.Saveresults1->trigger(); // a folder cannot be written as a file
    QCOMPARE(dialogs.errors.size(), 3);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QCOMPARE(dialogs.errors[0].text, QStringLiteral("Invalid filename."));
    QCOMPARE(dialogs.errors[1].text, QStringLiteral("Cannot create file %1.").arg(noFolder));
    QCOMPARE(dialogs.errors[2].text, QStringLiteral("File access denied."));
    // The window goes on working.
    f.Lneasentreescaques1->trigger();
    QVERIFY(f.ChessBrd1->BoardLines());
}

void TForm1Test::missingSoundEndsTheRun() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    Trainer t({kSample});
    TForm1& f = t.form1;
    t.g.ProgramDir = (dir.path() + QLatin1Char('/')).toStdString(); // no pop.wav there
    QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
    QVERIFY(f.CheckBox1->isChecked());
    ClickEntry(f.ListBox1, 4); // ".ontop white" puts White on top before ".*w"
    ClickNext(f);
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QVERIFY(dialogs.errors[0].text.contains(QStringLiteral("pop.wav")));
    QVERIFY(dialogs.errors[0].text.endsWith(QLatin1Char('.')));
    // The turn is handed over, but the clock is not started and the board not turned.
    QVERIFY(f.DRLabel1->isVisible());
    QVERIFY(f.ChessBrd1->isEnabled());
    QVERIFY(!f.BitBtn2->isEnabled());
    QCOMPARE(f.ChessBrd1->BorderColor(), QColor(255, 255, 255));
    QVERIFY(!f.Crono1.Running());
    QVERIFY(f.ChessBrd1->WhiteOnTop());

    // Without the Sound box ticked the missing file does not matter.
    QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
    ClickEntry(f.ListBox1, 4);
    ClickNext(f);
    QCOMPARE(dialogs.errors.size(), 1);
    QVERIFY(f.Crono1.Running());
}

void TForm1Test::auxBoardOpensOnMainPosition() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 2); // Fool's mate: Black to play, Black at the bottom
    ClickNext(f);
    const std::string mainPosition = f.ChessBrd1->Position();
    QVERIFY(f.ChessBrd1->WhiteOnTop());
    QVERIFY(!f.ChessBrd1->WhiteToMove());

    bool checked = false;
    WhenModal([&](QWidget* modal) {
        QCOMPARE(modal, static_cast<QWidget*>(&t.form3));
        TChessBrd& aux = *t.form3.ChessBrd1;
        QCOMPARE(aux.Position(), mainPosition);
        QVERIFY(aux.WhiteOnTop());
        QVERIFY(!aux.WhiteToMove());
        QCOMPARE(aux.SquareColorDark(), QColor(0, 128, 128));
        QCOMPARE(aux.SquareColorLight(), QColor(255, 255, 255));
        QCOMPARE(aux.BorderColor(), QColor(192, 192, 192));
        QCOMPARE(aux.CustomPieceSet().size(), QSize(192, 128));
        // A move tried here changes neither the main board nor the clock.
        const double clock = f.Crono1.Elapsed();
        Drag(aux, D8, H4);
        QCOMPARE(PieceOn(aux, H4), 'q');
        QCOMPARE(f.ChessBrd1->Position(), mainPosition);
        QVERIFY(!f.Crono1.Running() || f.Crono1.Elapsed() >= clock);
        // "<" steps back, ">" forward again, "&Start" returns to the copied position.
        QTest::mouseClick(t.form3.Button3, Qt::LeftButton);
        QCOMPARE(aux.Position(), mainPosition);
        QTest::mouseClick(t.form3.Button4, Qt::LeftButton);
        QCOMPARE(PieceOn(aux, H4), 'q');
        QTest::mouseClick(t.form3.Button2, Qt::LeftButton);
        QCOMPARE(aux.Position(), mainPosition);
        QVERIFY(!aux.WhiteToMove());
        checked = true;
        QTest::mouseClick(t.form3.Button1, Qt::LeftButton);
    });
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    QVERIFY(checked);
    QVERIFY(!t.form3.isVisible());
    QCOMPARE(QString::fromStdString(t.g.AuxPosition), QString::fromStdString(mainPosition));
    QCOMPARE(f.ChessBrd1->Position(), mainPosition);
    QCOMPARE(t.g.TotalPoints, 0);
}

void TForm1Test::scriptMoveMirroredOrDropped() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    TChessBrd& aux = *t.form3.ChessBrd1;

    // Never opened: the auxiliary board still has the starting position, where the
    // script's Qh5xf7 is illegal, so it is dropped without a word.
    const std::string before = aux.Position();
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    Drag(*f.ChessBrd1, C4, F7);
    ClickNext(f); // .back, .m Qh5xf7
    QCOMPARE(PieceOn(*f.ChessBrd1, F7), 'Q');
    QCOMPARE(aux.Position(), before);
    QVERIFY(dialogs.errors.isEmpty());

    // Opened on the problem's position: the script's move is played there as well.
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    WhenModal([&](QWidget*) { QTest::mouseClick(t.form3.Button1, Qt::LeftButton); });
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    QCOMPARE(PieceOn(aux, H5), 'Q');
    Drag(*f.ChessBrd1, H5, F7);
    ClickNext(f);
    QCOMPARE(PieceOn(aux, F7), 'Q');
    QCOMPARE(PieceOn(aux, H5), ' ');
}

void TForm1Test::errorEndingAHandlerIsShownAndProgramGoesOn() {
    FakeDialogs dialogs;
    Trainer t;
    // A failure inside a guarded handler reaches the error box with a full stop.
    auto failing = Guarded([] { throw std::runtime_error("Disk full"); });
    failing();
    auto alreadyStopped = Guarded([](int) { throw std::runtime_error("Done."); });
    alreadyStopped(1);
    QCOMPARE(dialogs.errors.size(), 2);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QCOMPARE(dialogs.errors[0].text, QStringLiteral("Disk full."));
    QCOMPARE(dialogs.errors[1].text, QStringLiteral("Done."));
    QVERIFY(t.form1.isVisible());
}

void TForm1Test::resizingScalesControlsAndComesBack() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    const QSize designed = f.size();
    const QSize client = f.Client()->size();
    f.resize(designed.width() * 2, designed.height());
    QTRY_COMPARE(f.Client()->width(), client.width() * 2);
    QCOMPARE(f.ListBox1->geometry().left(), 800);
    QCOMPARE(f.ListBox1->geometry().width(), 674);
    QCOMPARE(f.Button2->geometry().left(), 496); // inside a panel too
    f.resize(designed);
    QTRY_COMPARE(f.Client()->size(), client);
    QCOMPARE(f.ListBox1->geometry(), QRect(400, 24, 337, 73));
    QCOMPARE(f.Button2->geometry(), QRect(248, 8, 81, 25));
}

void TForm1Test::helpAndCredits() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    f.OnlineHelp1->trigger();
    QCOMPARE(f.Help().HelpFile(), QString::fromStdString(t.g.ProgramDir) + "qrvne.chm");
    if (QFile::exists(f.Help().HelpFile())) {
        QVERIFY(dialogs.errors.isEmpty());
        QVERIFY(f.Help().Window() && f.Help().Window()->isVisible());
        f.Help().Window()->close();
    } else {
        QCOMPARE(dialogs.errors.size(), 1); // the missing help file is reported
    }

    bool shown = false;
    WhenModal([&](QWidget* modal) {
        shown = modal == &t.form4;
        QTest::mouseClick(t.form4.Button1, Qt::LeftButton);
    });
    f.Credits1->trigger();
    QVERIFY(shown);
    QVERIFY(!t.form4.isVisible());
}

QTEST_MAIN(TForm1Test)
#include "TForm1Test.moc"
