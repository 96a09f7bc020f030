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
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTextDocument>
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

// Waits, while the caller sits in a modal window's exec, for that window to open; then
// lets `record` note what it shows (and press its buttons) and closes the window if it
// is still open. `record` holds no checks: they follow the modal call, so that a failed
// one never leaves a dialog open. The timer goes with the object.
class OnModal {
public:
    explicit OnModal(std::function<void(QWidget*)> record) : record_(std::move(record)) {
        timer_.setInterval(10);
        waited_.start();
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible()) return;
            // Give the window system a moment to make the new window the active one.
            if (QApplication::activeWindow() != modal && !waited_.hasExpired(2000)) return;
            timer_.stop();
            seen_ = modal;
            flags_ = modal->windowFlags();
            active_ = QApplication::activeWindow() == modal;
            record_(modal);
            if (modal->isVisible()) modal->close();
        });
        timer_.start();
    }
    // The window that opened (it may be gone by now: compare, do not use).
    const QWidget* Seen() const { return seen_; }
    // Whether the window stayed on top of others, and was the active window, when it opened.
    bool StaysOnTop() const { return flags_.testFlag(Qt::WindowStaysOnTopHint); }
    bool WasActive() const { return active_; }

private:
    QTimer timer_;
    QElapsedTimer waited_;
    std::function<void(QWidget*)> record_;
    const QWidget* seen_ = nullptr;
    Qt::WindowFlags flags_;
    bool active_ = false;
};

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What is wrong with the window's layout: a shown control that runs into another one or
// out of its parent, a label too narrow for its text, a pause label beside the board.
QStringList LayoutFaults(const TForm1& f) {
    QStringList faults;
    const QList<QWidget*> groups{f.Client(), f.Panel1, f.Panel2, f.Panel3};
    for (QWidget* parent : groups) {
        QList<QWidget*> shown;
        for (QObject* o : parent->children()) {
            auto* w = qobject_cast<QWidget*>(o);
            if (!w || w->isWindow() || w->isHidden() || w == f.DRLabel2 || w == f.DRLabel3)
                continue;
            auto* label = qobject_cast<QLabel*>(w);
            if (label && label->text().isEmpty()) continue;
            shown << w;
            const QString name = QString::fromLatin1(w->metaObject()->className()) +
                                 QLatin1Char(' ') + w->objectName();
            if (!parent->rect().contains(w->geometry())) faults << name + " leaves its parent";
            if (label && !label->wordWrap() && label->width() < label->sizeHint().width())
                faults << QStringLiteral("label \"%1\" cut").arg(label->text());
        }
        for (int i = 0; i < shown.size(); ++i)
            for (int j = i + 1; j < shown.size(); ++j)
                if (shown[i]->geometry().intersects(shown[j]->geometry()))
                    faults << QStringLiteral("%1 overlaps %2")
                                  .arg(shown[i]->metaObject()->className(),
                                       shown[j]->metaObject()->className());
    }
    for (const QWidget* label :
         {static_cast<QWidget*>(f.DRLabel2), static_cast<QWidget*>(f.DRLabel3)})
        if (!f.ChessBrd1->geometry().contains(label->geometry()))
            faults << QStringLiteral("a pause label shows beside the board");
    return faults;
}

// Every control's bounds, to compare layouts.
QList<QRect> Bounds(const TForm1& f) {
    QList<QRect> list;
    for (const QWidget* w : f.Client()->findChildren<QWidget*>()) list << w->geometry();
    return list;
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
    void resizingKeepsTextsWholeAndControlsApart();
    void adaptToAnotherScreenSize();
    void helpFilePresent();
    void helpFileMissingOrDamaged();
    void creditsWindow();
    void selectingAProblemEndsThePendingTurn();
    void commentaryOfALongRunArrivesInOnePiece();
    void boxesOpenAboveTheDiagramWindow();
    void diagramWindowPlacedBesideTheMainWindow();
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
                          "Colorcasillasnegras1=&Black square colour"}));
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

    // A file without index lines: an empty list, but the file is open, and the status
    // bar says why the list is empty.
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.qvn"));
    WriteFile(empty, "Just a title page.\r\n");
    Trainer t2({empty});
    QCOMPARE(t2.form1.ListBox1->count(), 0);
    QVERIFY(t2.g.ProblemFileOpen);
    QCOMPARE(t2.form1.StatusBar1->currentMessage(),
             QStringLiteral("No problems found in empty.qvn"));

    // Read from the menu after a problem was selected: Next goes off with the old list.
    ClickEntry(f.ListBox1, 0);
    QVERIFY(f.BitBtn2->isEnabled());
    dialogs.openAnswers << empty;
    f.LeerProblemas1->trigger();
    QCOMPARE(f.ListBox1->count(), 0);
    QVERIFY(!f.BitBtn2->isEnabled());
    QCOMPARE(f.StatusBar1->currentMessage(), QStringLiteral("No problems found in empty.qvn"));
    dialogs.openAnswers << kSample; // a file with problems clears the message
    f.LeerProblemas1->trigger();
    QCOMPARE(f.ListBox1->count(), 5);
    QVERIFY(f.StatusBar1->currentMessage().isEmpty());
}

void TForm1Test::missingCommandLineFileShowsErrorBox() {
    FakeDialogs dialogs;
    Trainer t({QStringLiteral("/no/such/folder/missing.qvn")});
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QVERIFY2(dialogs.errors[0].text.endsWith(QLatin1Char('.')), qPrintable(dialogs.errors[0].text));
    FakeDialogs missingFile;
    QTemporaryDir dir;
    Trainer t2({dir.filePath(QStringLiteral("missing-file.qvn"))});
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

    // Work a little on problem 1, then cancel a second Read problems: nothing changes,
    // the list stays and so do the open file and its position, so Next goes on.
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    QVERIFY(f.DRLabel1->isVisible());
    Drag(*f.ChessBrd1, C4, F7);
    QVERIFY(f.BitBtn2->isEnabled());
    f.LeerProblemas1->trigger(); // cancelled: no answer queued
    QCOMPARE(f.ListBox1->count(), 5);
    QCOMPARE(f.ListBox1->currentRow(), 0);
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

    // The auxiliary board would show the hidden position: it cannot be opened.
    QVERIFY(!f.Button1->isEnabled());

    // Restarting during the turn lets the clock go on from where it stood.
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY(f.Crono1.Running());
    QVERIFY(f.Crono1.Elapsed() >= atPause);
    QVERIFY(f.Button1->isEnabled());

    // Selecting a problem while paused keeps the board hidden; as no turn is under way
    // then, restarting does not start the clock.
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    ClickEntry(f.ListBox1, 1);
    QVERIFY(!f.ChessBrd1->isVisible());
    QCOMPARE(f.Button2->text(), QStringLiteral("Restart clock"));
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY(!t.g.ClockPaused);
    QCOMPARE(f.Button2->text(), QStringLiteral("Clock pause"));
    QVERIFY(f.ChessBrd1->isVisible());
    QVERIFY(!f.Crono1.Running());

    // A turn handed over during a pause is timed from the restart on.
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    f.BitBtn2Click();
    QVERIFY(f.DRLabel1->isVisible());
    QVERIFY(!f.Crono1.Running());
    QTest::mouseClick(f.Button2, Qt::LeftButton);
    QVERIFY(f.Crono1.Running());
}

void TForm1Test::clockDisplayEverySecond() {
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    // The window's own timer writes the clock, once a second.
    QTRY_COMPARE_WITH_TIMEOUT(f.Label3D1->Caption(), QStringLiteral("00:00:00"), 1500);
    QVERIFY(f.Label3D1->width() > 4); // widens with its text
    f.Crono1.Start();
    QTRY_COMPARE_WITH_TIMEOUT(f.Label3D1->Caption(), QStringLiteral("00:00:01"), 2500);
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

    QTemporaryDir dir;
    const QString results = dir.filePath(QStringLiteral("negative.txt"));
    dialogs.saveAnswers << results;
    f.Saveresults1->trigger();
    QCOMPARE(ReadAll(results), QByteArray("5 Mate, not stalemate\r\n-2points\r\n"));

    dialogs.infos.clear();
    ClickEntry(f.ListBox1, 4);
    ClickNext(f);
    Drag(*f.ChessBrd1, C5, C8);
    QCOMPARE(dialogs.infos, QStringList{"Check Mate"});
    ClickNext(f);
    QCOMPARE(Digits(f), QStringLiteral("002"));
    QVERIFY(!t.g.OutputToLabel); // problem 5 writes to the memo only

    // The sample problems set their own output mode: after problem 5, problem 1 shows
    // its comments in the label again.
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    Drag(*f.ChessBrd1, H5, F7);
    ClickNext(f);
    QCOMPARE(f.Label6->text(), QStringLiteral(" Mate: the bishop on c4 guards f7."));
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
    OnModal modal([&](QWidget* w) {
        if (auto* dialog = qobject_cast<TForm5*>(w)) {
            caption = dialog->Button1->text();
            question = dialog->Memo1->toPlainText();
            QTest::mouseClick(accept ? dialog->Button1 : dialog->Button2, Qt::LeftButton);
        }
    });
    ClickNext(f); // .rem, .addpoints (modal), .struct
    QCOMPARE(modal.Seen(), static_cast<const QWidget*>(&t.form5));
    // The diagram window is up: the dialog opens above it, as the active window.
    QVERIFY(t.form2.isVisible());
    QVERIFY(modal.StaysOnTop());
    QVERIFY(modal.WasActive());
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

    // An empty line that the script added last is a line of the remarks too.
    f.AddMemoLine("");
    dialogs.saveAnswers << remarks;
    f.SAveremarks1->trigger();
    QVERIFY(ReadAll(remarks).endsWith("end\r\n\r\n"));
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

    QVERIFY(f.Crono1.Running()); // the user's turn
    TChessBrd& aux = *t.form3.ChessBrd1;
    struct Seen {
        std::string opened, moved, back, forward, start, mainAfterMove;
        bool whiteOnTop = false, whiteToMove = true, whiteToMoveAtStart = true;
        QColor dark, light, border;
        QSize pieces;
        bool clockRunning = false;
    } seen;
    OnModal modal([&](QWidget*) {
        seen.opened = aux.Position();
        seen.whiteOnTop = aux.WhiteOnTop();
        seen.whiteToMove = aux.WhiteToMove();
        seen.dark = aux.SquareColorDark();
        seen.light = aux.SquareColorLight();
        seen.border = aux.BorderColor();
        seen.pieces = aux.CustomPieceSet().size();
        Drag(aux, D8, H4); // a move tried here
        seen.moved = aux.Position();
        seen.mainAfterMove = f.ChessBrd1->Position();
        seen.clockRunning = f.Crono1.Running();
        // "<" steps back, ">" forward again, "&Start" returns to the copied position.
        QTest::mouseClick(t.form3.Button3, Qt::LeftButton);
        seen.back = aux.Position();
        QTest::mouseClick(t.form3.Button4, Qt::LeftButton);
        seen.forward = aux.Position();
        QTest::mouseClick(t.form3.Button2, Qt::LeftButton);
        seen.start = aux.Position();
        seen.whiteToMoveAtStart = aux.WhiteToMove();
        QTest::mouseClick(t.form3.Button1, Qt::LeftButton);
    });
    QTest::mouseClick(f.Button1, Qt::LeftButton);
    QCOMPARE(modal.Seen(), static_cast<const QWidget*>(&t.form3));
    QCOMPARE(seen.opened, mainPosition);
    QVERIFY(seen.whiteOnTop);
    QVERIFY(!seen.whiteToMove);
    QCOMPARE(seen.dark, QColor(0, 128, 128));
    QCOMPARE(seen.light, QColor(255, 255, 255));
    QCOMPARE(seen.border, QColor(192, 192, 192));
    QCOMPARE(seen.pieces, QSize(192, 128));
    QCOMPARE(seen.moved.at(size_t(H4) - 1), 'q');
    // The move tried there changes neither the main board nor its clock and turn.
    QCOMPARE(seen.mainAfterMove, mainPosition);
    QVERIFY(seen.clockRunning);
    QVERIFY(f.Crono1.Running());
    QVERIFY(f.DRLabel1->isVisible());
    QCOMPARE(seen.back, mainPosition);
    QCOMPARE(seen.forward, seen.moved);
    QCOMPARE(seen.start, mainPosition);
    QVERIFY(!seen.whiteToMoveAtStart);
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
    {
        OnModal modal([&](QWidget*) { QTest::mouseClick(t.form3.Button1, Qt::LeftButton); });
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        QCOMPARE(modal.Seen(), static_cast<const QWidget*>(&t.form3));
    }
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

void TForm1Test::resizingKeepsTextsWholeAndControlsApart() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 0);
    ClickNext(f); // side to play, players, "Your turn!" and the clock all show text
    QTRY_VERIFY(!f.Label3D1->Caption().isEmpty());
    const QSize designed = f.size();
    const QList<QRect> layout = Bounds(f);
    QCOMPARE(LayoutFaults(f), QStringList());

    const QSize full = f.screen()->availableGeometry().size().expandedTo(QSize(1280, 1024));
    for (const QSize size : {QSize(1000, 700), QSize(1200, 950), full, QSize(designed.width(), 950),
                             QSize(1200, designed.height())}) {
        f.resize(size);
        QTRY_COMPARE(f.size(), size);
        const QStringList faults = LayoutFaults(f);
        QVERIFY2(faults.isEmpty(), qPrintable(QStringLiteral("%1x%2: %3")
                                                  .arg(size.width())
                                                  .arg(size.height())
                                                  .arg(faults.join(QStringLiteral("; ")))));
    }
    // Back at the designed size every control is where it was, its text whole; the
    // window does not shrink below that size.
    f.resize(designed);
    QTRY_COMPARE(f.size(), designed);
    QCOMPARE(Bounds(f), layout);
    f.resize(500, 380);
    QCOMPARE(f.size(), designed);
    QCOMPARE(Bounds(f), layout);
}

void TForm1Test::adaptToAnotherScreenSize() {
    FakeDialogs dialogs;
    Globales g;
    TForm1 f(g, QStringList{QCoreApplication::applicationFilePath()});
    const QSize screen = QGuiApplication::primaryScreen()->size();
    const QSize before = f.size();
    f.AdaptToScreen(screen.width(), screen.height()); // the screen it was designed for
    QCOMPARE(f.ListBox1->geometry(), QRect(400, 24, 337, 73));
    QCOMPARE(f.size(), before);

    // A screen twice as wide and four times as high as the reference.
    QVERIFY(screen.width() % 2 == 0 && screen.height() % 4 == 0);
    f.AdaptToScreen(screen.width() / 2, screen.height() / 4);
    QCOMPARE(f.ListBox1->geometry(), QRect(800, 96, 674, 292));
    QCOMPARE(f.Memo1->font().pixelSize(), 26);              // fonts follow the width
    QCOMPARE(f.ListBox1->font().pointSizeF(), 16.0);        // in points or pixels
    QCOMPARE(f.Button2->geometry(), QRect(248, 8, 81, 25)); // inside a panel: not visited
    QCOMPARE(f.size(), QSize(before.width() * 2, before.height() * 4));
}

void TForm1Test::helpFilePresent() {
    FakeDialogs dialogs;
    QTemporaryDir programDir;
    const QString helpFile = programDir.filePath(QStringLiteral("qrvne.chm"));
    QVERIFY(QFile::copy(QStringLiteral(QV_HELP_FILE), helpFile));
    Trainer t;
    TForm1& f = t.form1;
    t.g.ProgramDir = (programDir.path() + QLatin1Char('/')).toStdString();
    f.OnlineHelp1->trigger();
    QCOMPARE(f.Help().HelpFile(), helpFile);
    QVERIFY(dialogs.errors.isEmpty());
    QVERIFY(f.Help().Window());
    QVERIFY(f.Help().Window()->isVisible());
    f.Help().Window()->close();
}

void TForm1Test::helpFileMissingOrDamaged() {
    FakeDialogs dialogs;
    QTemporaryDir programDir;
    Trainer t;
    TForm1& f = t.form1;
    t.g.ProgramDir = (programDir.path() + QLatin1Char('/')).toStdString();
    f.OnlineHelp1->trigger();
    QCOMPARE(dialogs.errors.size(), 1);
    QCOMPARE(dialogs.errors[0].caption, QStringLiteral("QRVNE"));
    QVERIFY2(dialogs.errors[0].text.startsWith(QStringLiteral("File not found")),
             qPrintable(dialogs.errors[0].text));

    WriteFile(programDir.filePath(QStringLiteral("qrvne.chm")), QByteArray(4096, 'x'));
    f.OnlineHelp1->trigger();
    QCOMPARE(dialogs.errors.size(), 2);
    QVERIFY2(dialogs.errors[1].text.contains(QStringLiteral("qrvne.chm")),
             qPrintable(dialogs.errors[1].text));
    QVERIFY(f.isEnabled());
}

void TForm1Test::creditsWindow() {
    FakeDialogs dialogs;
    Trainer t;
    bool closedByButton = false;
    OnModal modal([&](QWidget*) {
        QTest::mouseClick(t.form4.Button1, Qt::LeftButton);
        closedByButton = !t.form4.isVisible();
    });
    t.form1.Credits1->trigger();
    QCOMPARE(modal.Seen(), static_cast<const QWidget*>(&t.form4));
    QVERIFY(closedByButton);
}

void TForm1Test::selectingAProblemEndsThePendingTurn() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    QVERIFY(f.DRLabel1->isVisible());
    QVERIFY(f.ChessBrd1->isEnabled());
    QVERIFY(f.Crono1.Running());

    ClickEntry(f.ListBox1, 1);
    QVERIFY(!f.DRLabel1->isVisible());
    QVERIFY(!f.ChessBrd1->isEnabled());
    QCOMPARE(f.ChessBrd1->BorderColor(), QColor(192, 192, 192));
    QVERIFY(!f.Crono1.Running());
    QVERIFY(f.BitBtn2->isEnabled());
    // The reset board takes no move.
    const std::string start = f.ChessBrd1->Position();
    Drag(*f.ChessBrd1, E2, E4);
    QCOMPARE(f.ChessBrd1->Position(), start);
}

void TForm1Test::commentaryOfALongRunArrivesInOnePiece() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.qvn"));
    QByteArray script = ".# 1 Many empty lines\r\n";
    for (int i = 0; i < 5000; ++i) script += "\r\n";
    script += ".rem The last line.\r\n.end\r\n";
    WriteFile(path, script);
    Trainer t({path});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 0);
    int changes = 0;
    QObject::connect(f.Memo1->document(), &QTextDocument::contentsChange, &f,
                     [&changes] { ++changes; });
    ClickNext(f);
    QCOMPARE(f.Memo1->document()->blockCount(), 5002);
    QCOMPARE(MemoLines(f).last(), QStringLiteral("The last line."));
    QCOMPARE(changes, 1); // one layout of the memo for the whole run
}

void TForm1Test::boxesOpenAboveTheDiagramWindow() {
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 3);
    {
        FakeDialogs quiet; // (the real boxes come below)
        ClickNext(f);      // up to ".board": the diagram window stays above all windows
        QVERIFY(quiet.errors.isEmpty());
    }
    QVERIFY(t.form2.isVisible());
    QVERIFY(t.form2.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QString text;
    OnModal modal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) text = box->text();
    });
    f.ShowInfo("Check Mate"); // as the board's mate event does
    QVERIFY(modal.Seen());
    QCOMPARE(text, QStringLiteral("Check Mate"));
    QVERIFY(modal.StaysOnTop());
    QVERIFY(modal.WasActive());

    // Without the diagram window the boxes stack as usual.
    t.form2.QuitBoard();
    OnModal plain([](QWidget*) {});
    f.ShowError("Disk full.");
    QVERIFY(plain.Seen());
    QVERIFY(!plain.StaysOnTop());
}

void TForm1Test::diagramWindowPlacedBesideTheMainWindow() {
    using Place = TForm1::DiagramPlacement;
    const QSize diagram(330, 400);
    const QRect screen(0, 0, 1280, 1024);
    const QPoint designed = TForm2::DesignedPlace;
    auto place = [&](const QRect& main) {
        return TForm1::DiagramPlace(main, diagram, screen, designed);
    };
    // Room on the right: beside the main window, tops aligned; room on the left only.
    QCOMPARE(place({100, 200, 760, 580}), (Place{{100, 200}, {860, 200}}));
    QCOMPARE(place({500, 200, 760, 580}), (Place{{500, 200}, {170, 200}}));
    // Low on the screen: raised so that it stays on it.
    QCOMPARE(place({100, 800, 760, 200}), (Place{{100, 800}, {860, 624}}));
    // Centred with no room on either side: the main window makes room.
    QCOMPARE(place({261, 200, 760, 580}), (Place{{190, 200}, {950, 200}}));
    // A screen too small for both: the designed place.
    QCOMPARE(TForm1::DiagramPlace({20, 10, 760, 580}, diagram, {0, 0, 1024, 768}, designed),
             (Place{{20, 10}, designed}));

    // The script's ".board" puts the trainer's diagram window there.
    FakeDialogs dialogs;
    Trainer t({kSample});
    const Place expected =
        TForm1::DiagramPlace(t.form1.frameGeometry(), t.form2.frameGeometry().size(),
                             t.form1.screen()->availableGeometry(), designed);
    ClickEntry(t.form1.ListBox1, 3);
    ClickNext(t.form1);
    QVERIFY(t.form2.isVisible());
    QCOMPARE(t.form2.pos(), expected.Diagram);
    t.form2.QuitBoard();
}

QTEST_MAIN(TForm1Test)
#include "TForm1Test.moc"
