// The trainer's main window, continued: the options, the piece sets, saving, the sound,
// the auxiliary board, errors inside handlers, resizing, help and credits.
#include "tests/app/TrainerFixture.h"

#include <QtTest>

using namespace qv;
using namespace qvtest;

class TForm1OptionsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }

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
};

void TForm1OptionsTest::optionsToggleTwice() {
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
    QVERIFY(t.form1.CoordsShown);
    QCOMPARE(int(b.DisplayCoords()), int(West | North | East | South));
    f.Coordenadas1->trigger();
    QVERIFY(!t.form1.CoordsShown);
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

void TForm1OptionsTest::squareColoursAndCancel() {
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

void TForm1OptionsTest::pieceSetComboIgnoresOtherText() {
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
    // "Scalable" draws its pieces for the board's squares, and follows a resized board.
    f.ComboBox1->setCurrentIndex(f.ComboBox1->findText(QStringLiteral("Scalable")));
    QVERIFY(b.ScalablePieceSet());
    QCOMPARE(b.CellSize(), 40);
    b.SetSizeOfSquare(50);
    b.Paint();
    QCOMPARE(b.CellSize(), 50);
    b.SetSizeOfSquare(40);
    f.ComboBox1->setCurrentIndex(1);
    QVERIFY(!b.ScalablePieceSet());

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

void TForm1OptionsTest::resultsFileBytes() {
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

void TForm1OptionsTest::remarksFileWithTypedAndWrappedLines() {
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

void TForm1OptionsTest::unwritablePathsGiveMessages() {
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

void TForm1OptionsTest::missingSoundEndsTheRun() {
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

void TForm1OptionsTest::auxBoardOpensOnMainPosition() {
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
    QCOMPARE(QString::fromStdString(t.form3.AuxPosition), QString::fromStdString(mainPosition));
    QCOMPARE(f.ChessBrd1->Position(), mainPosition);
    QCOMPARE(t.g.TotalPoints, 0);
}

void TForm1OptionsTest::scriptMoveMirroredOrDropped() {
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

void TForm1OptionsTest::errorEndingAHandlerIsShownAndProgramGoesOn() {
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

void TForm1OptionsTest::resizingScalesControlsAndComesBack() {
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

void TForm1OptionsTest::resizingKeepsTextsWholeAndControlsApart() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    // The training controls show too: the Hint button and the verdict line.
    f.Hints1->trigger();
    f.InstantVerdict1->trigger();
    f.Tries1[1]->trigger();
    ClickEntry(f.ListBox1, 0);
    ClickNext(f); // side to play, players, "Your turn!" and the clock all show text
    QTRY_VERIFY(!f.Label3D1->Caption().isEmpty());
    Drag(*f.ChessBrd1, G1, F3);
    QCOMPARE(f.VerdictLabel1->text(), QStringLiteral("Not the move: try again"));
    QTRY_COMPARE(PieceOn(*f.ChessBrd1, G1), 'N'); // the try is taken back
    QVERIFY(f.HintButton1->isVisible() && f.VerdictLabel1->isVisible());
    f.ComboBox1->setCurrentIndex(f.ComboBox1->findText(QStringLiteral("Scalable")));
    QVERIFY(f.ChessBrd1->ScalablePieceSet());
    const QSize designed = f.size();
    const QList<QRect> layout = Bounds(f);
    QCOMPARE(LayoutFaults(f), QStringList());

    const QSize full = f.screen()->availableGeometry().size().expandedTo(QSize(1280, 1024));
    for (const QSize size : {QSize(1000, 700), QSize(1200, 950), full, QSize(designed.width(), 950),
                             QSize(1200, designed.height())}) {
        f.resize(size);
        QTRY_COMPARE(f.size(), size);
        const QStringList faults = LayoutFaults(f);
        // The scalable pieces are drawn for the grown squares.
        QTRY_COMPARE(f.ChessBrd1->CellSize(), f.ChessBrd1->SizeOfSquare());
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

void TForm1OptionsTest::adaptToAnotherScreenSize() {
    FakeDialogs dialogs;
    ProgressSandbox sandbox;
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

void TForm1OptionsTest::helpFilePresent() {
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

void TForm1OptionsTest::helpFileMissingOrDamaged() {
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

void TForm1OptionsTest::creditsWindow() {
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

QTEST_MAIN(TForm1OptionsTest)
#include "TForm1OptionsTest.moc"
