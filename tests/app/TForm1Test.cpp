// The trainer's main window driven as a user drives it: start-up, problem files, the
// worked example with a real drag on the board, the clock and its pause, stale turns, the
// mate and draw boxes above the diagram window, the diagram's place and the add-points dialog.
#include "tests/app/TrainerFixture.h"
#include "windows/TEngineDialog.h"

#include <QtTest>

using namespace qv;
using namespace qvtest;

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
    QCOMPARE(f.Memo1->geometry(), QRect(16, 406, 721, 83)); // under the move box
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
    QCOMPARE(menus, (QStringList{"&File", "&Options", "&Review", "&Help"}));
    auto captions = [](QMenu* m) {
        QStringList list;
        for (QAction* a : m->actions()) list << a->objectName() + QLatin1Char('=') + a->text();
        return list;
    };
    QCOMPARE(
        captions(f.Archivo1),
        (QStringList{"LeerProblemas1=&Read problems", "=Recent &files", "Continue1=&Continue", "=",
                     "SAveremarks1=S&Ave remarks", "Saveresults1=&Save results", "Salir1=&Quit"}));
    QCOMPARE(captions(f.Opciones1),
             (QStringList{"Blancasarribaabajo1=&White UP/Down",
                          "Lneasentreescaques1=&Lines between squares", "Coordenadas1=&Coordinates",
                          "Colorcasillasblancas1=W&h&Ite square colour",
                          "Colorcasillasnegras1=&Black square colour", "Engine1=&Engine...", "=",
                          "=&Training"}));
    QCOMPARE(captions(f.Review1),
             (QStringList{"ReviewDue1=Review &due problems", "Statistics1=&Statistics..."}));
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
    QCOMPARE(f.ListBox1->ItemText(0), QStringLiteral("1 Mate in one"));
    QCOMPARE(f.ListBox1->ItemText(1), QStringLiteral("2 The Opera Game, Paris 1858"));
    QCOMPARE(f.ListBox1->ItemText(4), QStringLiteral("5 Mate, not stalemate"));
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
    QVERIFY(dialogs.openFilters.value(0).startsWith(
        QStringLiteral("Tactics Files|*.qvn|Text files|*.txt|All files|*.*|")));
    QVERIFY(dialogs.openFilters.value(0).contains(QStringLiteral("*.pgn *.epd *.csv")));
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
    QCOMPARE(dialogs.errors[0].text,
             QString::fromStdString(ProblemNotFoundMessage(f.ListBox1->ItemText(0).toStdString())));
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
    QVERIFY(t.form1.ClockPaused);
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
    QVERIFY(!t.form1.ClockPaused);
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
    // The next tick shows the running clock (a busy machine may skip a second).
    QTRY_VERIFY_WITH_TIMEOUT(f.Label3D1->Caption() != QStringLiteral("00:00:00"), 4000);
    const QString shown = f.Label3D1->Caption();
    QVERIFY2(QRegularExpression(QStringLiteral("^00:00:0[1-4]$")).match(shown).hasMatch(),
             qPrintable(shown));
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

    // A far longer run reaches the memo in pieces, one per turn of the event loop, so
    // that the window answers meanwhile; the lines arrive whole and in order.
    const int lines = 2 * TForm1::MemoLinesPerFlush + 10;
    script = ".# 1 Very many empty lines\r\n" + QByteArray("\r\n").repeated(lines) +
             ".rem The last line.\r\n.end\r\n";
    WriteFile(path, script);
    dialogs.openAnswers << path;
    f.LeerProblemas1->trigger();
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    QVERIFY(f.PendingMemoLines() > 0);
    QVERIFY(f.Memo1->document()->blockCount() < lines);
    QTRY_COMPARE(f.PendingMemoLines(), 0);
    QCOMPARE(f.Memo1->document()->blockCount(), lines + 2);
    QCOMPARE(MemoLines(f).first(), QStringLiteral("1 Very many empty lines"));
    QCOMPARE(MemoLines(f).last(), QStringLiteral("The last line."));
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

    // So does the engine chooser of the Options menu.
    bool chooser = false;
    OnModal engine([&](QWidget* w) { chooser = qobject_cast<TEngineDialog*>(w) != nullptr; });
    f.Engine1->trigger();
    QVERIFY(chooser);
    QVERIFY(engine.StaysOnTop());
    QVERIFY(engine.WasActive());

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
