// The main window's training aids driven as a user does: the Training menu, the verdict
// line, retries, hints, the banner, the move box, the keys, and what is remembered.
#include "app/TrainerSettings.h"
#include "tests/app/TrainerFixture.h"

#include <QActionGroup>
#include <QtTest>

using namespace qv;
using namespace qvtest;

class TrainingWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }

    void verdictLineAndRetries();
    void hintsAndBanner();
    void moveBoxAndKeys();
    void enterPlaysTheTypedMoveWithoutPressingNext();
    void everyControlReachableByTab();
    void settingsRememberedAndRecentFiles();
};

namespace {

// Selects problem `row` of the sample and presses Next up to the player's turn.
void StartTurn(TForm1& f, int row) {
    ClickEntry(f.ListBox1, row);
    ClickNext(f);
    QVERIFY(f.DRLabel1->isVisible());
}

QColor TextColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

} // namespace

void TrainingWindowTest::verdictLineAndRetries() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    TChessBrd& b = *f.ChessBrd1;
    f.InstantVerdict1->trigger();
    f.Tries1[1]->trigger(); // two tries
    QVERIFY(f.Flow().Training().InstantVerdict);
    QCOMPARE(f.Flow().Training().TriesPerMove, 2);

    StartTurn(f, 0);
    QVERIFY(!f.VerdictLabel1->isVisible());
    Drag(b, G1, F3);
    QCOMPARE(f.VerdictLabel1->text(), QStringLiteral("Not the move: try again"));
    QVERIFY(f.VerdictLabel1->isVisible());
    QCOMPARE(TextColour(f.VerdictLabel1), QColor(200, 0, 0));
    QCOMPARE(Digits(f), QStringLiteral("-01"));
    QVERIFY(!f.BitBtn2->isEnabled());
    QCOMPARE(PieceOn(b, F3), 'N'); // the try stays in sight a moment
    QTRY_COMPARE(PieceOn(b, G1), 'N');
    QCOMPARE(PieceOn(b, F3), ' ');
    QVERIFY(b.isEnabled());
    QVERIFY(f.DRLabel1->isVisible());
    QVERIFY(f.Crono1.Running());

    Drag(b, H5, F7);
    QCOMPARE(f.VerdictLabel1->text(), QStringLiteral("Correct"));
    QCOMPARE(TextColour(f.VerdictLabel1), QColor(0, 128, 0));
    QVERIFY(f.BitBtn2->isEnabled());
    QCOMPARE(dialogs.infos, QStringList{"Check Mate"}); // the boxes stay the default
    ClickNext(f);
    QCOMPARE(Digits(f), QStringLiteral("002"));
    QCOMPARE(f.Flow().CurrentPlay()->Tries(), 2);

    // The last try goes on with the move played, as a single try always did.
    StartTurn(f, 0);
    QVERIFY(!f.VerdictLabel1->isVisible());
    Drag(b, A2, A3);
    QTRY_VERIFY(b.isEnabled());
    Drag(b, B2, B3);
    QCOMPARE(f.VerdictLabel1->text(), QStringLiteral("Not the move"));
    QVERIFY(f.BitBtn2->isEnabled());
    QTest::qWait(TForm1::RetryDelayMs + 100);
    QCOMPARE(PieceOn(b, B3), 'P');
}

void TrainingWindowTest::hintsAndBanner() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    QVERIFY(!f.HintButton1->isVisible()); // as today until Hints is ticked
    f.Hints1->trigger();
    f.Announce1->trigger();
    QVERIFY(f.HintButton1->isVisible());
    QVERIFY(!f.HintButton1->isEnabled());
    ClickEntry(f.ListBox1, 0);
    QTest::keyClick(&f, Qt::Key_H); // not the player's turn yet: nothing
    QCOMPARE(Digits(f), QStringLiteral("000"));
    ClickNext(f);
    QVERIFY(f.HintButton1->isEnabled());
    QTest::keyClick(f.ListBox1, Qt::Key_H);
    QCOMPARE(Digits(f), QStringLiteral("-01"));
    QVERIFY(f.StatusBar1->currentMessage().contains(QStringLiteral("h5")));
    QTest::mouseClick(f.HintButton1, Qt::LeftButton);
    QCOMPARE(Digits(f), QStringLiteral("-02"));
    QVERIFY(f.StatusBar1->currentMessage().contains(QStringLiteral("f7")));
    QVERIFY(!f.HintButton1->isEnabled());
    QTest::mouseClick(f.HintButton1, Qt::LeftButton);
    QCOMPARE(Digits(f), QStringLiteral("-02"));

    Drag(*f.ChessBrd1, H5, F7);
    QVERIFY(f.Banner1->isVisible());
    QCOMPARE(f.Banner1->text(), QStringLiteral("Check Mate"));
    QVERIFY(dialogs.infos.isEmpty());
    // Over the board's squares, not over anything else.
    QVERIFY(f.ChessBrd1->geometry().contains(f.Banner1->geometry()));
    QVERIFY(!f.HintButton1->isEnabled());
    QTest::keyClick(f.ListBox1, Qt::Key_Space); // Next
    QCOMPARE(Digits(f), QStringLiteral("001"));
    // The script's own mate gets its banner, which goes by itself.
    QVERIFY(f.Banner1->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!f.Banner1->isVisible(), TForm1::BannerMs + 2000);
    QCOMPARE(f.Flow().CurrentPlay()->Hints(), 2);
}

void TrainingWindowTest::moveBoxAndKeys() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    TChessBrd& b = *f.ChessBrd1;
    ClickEntry(f.ListBox1, 1); // the Opera Game
    QTest::keyClick(f.ListBox1, Qt::Key_Right);
    QVERIFY(f.DRLabel1->isVisible());
    const std::string before = b.Position();

    QTest::keyClick(f.ListBox1, Qt::Key_M);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.MoveEdit1));
    QTest::keyClicks(f.MoveEdit1, QStringLiteral("Qb9"));
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return);
    QCOMPARE(b.Position(), before); // a bad text changes nothing
    QCOMPARE(f.MoveEdit1->palette().color(QPalette::Text), QColor(200, 0, 0));
    QVERIFY(!f.StatusBar1->currentMessage().isEmpty());
    f.MoveEdit1->selectAll();
    QTest::keyClicks(f.MoveEdit1, QStringLiteral("Qb8+"));
    QVERIFY(f.MoveEdit1->palette().color(QPalette::Text) != QColor(200, 0, 0));
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return);
    QCOMPARE(PieceOn(b, B8), 'Q');
    QVERIFY(f.MoveEdit1->text().isEmpty());
    QVERIFY(f.BitBtn2->isEnabled());
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return); // an empty box: Next
    QCOMPARE(Digits(f), QStringLiteral("005"));
    // Not the player's turn: refused.
    QTest::keyClicks(f.MoveEdit1, QStringLiteral("e4e5"));
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return);
    QCOMPARE(f.MoveEdit1->text(), QStringLiteral("e4e5"));
    f.MoveEdit1->clear();

    // Keys typed into the commentary stay there.
    QTest::mouseClick(f.Memo1->viewport(), Qt::LeftButton);
    f.Memo1->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.Memo1, QStringLiteral("hm/ "));
    QTest::keyClick(f.Memo1, Qt::Key_Right);
    QVERIFY(f.Memo1->toPlainText().endsWith(QStringLiteral("hm/ ")));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(f.Memo1));
    QCOMPARE(Digits(f), QStringLiteral("005"));

    // Enter on the Next button, and "/" for the move box with coordinates.
    f.BitBtn2->setFocus();
    QTest::keyClick(f.BitBtn2, Qt::Key_Return); // Nxb8, then ".rem", ".*w"
    QTest::keyClick(f.BitBtn2, Qt::Key_Enter);
    QVERIFY(f.DRLabel1->isVisible());
    QTest::keyClick(f.BitBtn2, Qt::Key_Slash);
    QTest::keyClicks(f.MoveEdit1, QStringLiteral("d1d8"));
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return);
    QCOMPARE(PieceOn(b, D8), 'R');
    QVERIFY(dialogs.errors.isEmpty());
}

void TrainingWindowTest::enterPlaysTheTypedMoveWithoutPressingNext() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    f.InstantVerdict1->trigger();
    StartTurn(f, 0);
    const QString memo = f.Memo1->toPlainText();
    QTest::keyClick(f.ListBox1, Qt::Key_M);
    QTest::keyClick(f.MoveEdit1, Qt::Key_Slash); // already there: the key adds nothing
    QTest::keyClicks(f.MoveEdit1, QStringLiteral("Qxf7"));
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return);
    QCOMPARE(PieceOn(*f.ChessBrd1, F7), 'Q');
    // The Enter that played the move is not also a press on Next: the explanation waits.
    QVERIFY(f.BitBtn2->isEnabled());
    QCOMPARE(f.Memo1->toPlainText(), memo);
    QCOMPARE(Digits(f), QStringLiteral("000"));
    // Enter in the empty box presses Next once.
    QTest::keyClick(f.MoveEdit1, Qt::Key_Return);
    QCOMPARE(Digits(f), QStringLiteral("003"));
    QCOMPARE(f.Memo1->toPlainText().count(QStringLiteral("point(s)")), 1);
}

void TrainingWindowTest::everyControlReachableByTab() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    f.Hints1->trigger();
    StartTurn(f, 0);
    f.ListBox1->setFocus();
    QSet<QWidget*> reached;
    for (int i = 0; i < 30; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{f.ListBox1, f.Memo1, f.MoveEdit1, f.ComboBox1, f.CheckBox1,
                                         f.Button1, f.Button2, f.HintButton1})
        QVERIFY2(reached.contains(w) || reached.contains(w->focusProxy()),
                 qPrintable(w->objectName() + w->metaObject()->className()));
}

void TrainingWindowTest::settingsRememberedAndRecentFiles() {
    QTemporaryDir dir;
    const QString problems = dir.filePath(QStringLiteral("mine.qvn"));
    const QString other = dir.filePath(QStringLiteral("other.qvn"));
    QVERIFY(QFile::copy(kSample, problems));
    QVERIFY(QFile::copy(kSample, other));
    TrainerSettings settings(dir.filePath(QStringLiteral("config/quorvane.conf")));
    {
        FakeDialogs dialogs;
        Trainer t;
        TForm1& f = t.form1;
        f.UseSettings(&settings);
        // The first start looks as it always did.
        QCOMPARE(f.CurrentPreferences().Training, TrainingOptions{});
        QCOMPARE(f.ChessBrd1->SquareColorDark(), QColor(0, 128, 128));
        QCOMPARE(f.ComboBox1->currentText(), QStringLiteral("Set40"));
        QVERIFY(!f.CheckBox1->isChecked());
        QVERIFY(!f.RecentFiles1->isEnabled());

        f.Blancasarribaabajo1->trigger();
        f.Lneasentreescaques1->trigger();
        f.Coordenadas1->trigger();
        dialogs.colourAnswers << QColor(90, 60, 30);
        f.Colorcasillasnegras1->trigger();
        f.ComboBox1->setCurrentIndex(3);
        QTest::mouseClick(f.CheckBox1, Qt::LeftButton);
        f.Tries1[3]->trigger();
        f.Hints1->trigger();
        dialogs.openAnswers << other << problems;
        f.LeerProblemas1->trigger();
        f.LeerProblemas1->trigger();
        ClickEntry(f.ListBox1, 2);
        ClickNext(f); // the script turns the board: the user's choice is what is kept
        t.form3.SetEngineProgram(QStringLiteral("/opt/engines/uci-engine"));
        f.resize(900, 650);
        f.close();
    }
    FakeDialogs dialogs;
    Trainer t;
    TForm1& f = t.form1;
    f.UseSettings(&settings);
    TChessBrd& b = *f.ChessBrd1;
    QVERIFY(b.WhiteOnTop());
    QVERIFY(b.BoardLines());
    QCOMPARE(int(b.DisplayCoords()), int(AllCoords));
    QCOMPARE(b.SquareColorDark(), QColor(90, 60, 30));
    QCOMPARE(b.CustomPieceSet().size(), QSize(384, 256));
    QVERIFY(f.CheckBox1->isChecked());
    QCOMPARE(t.form3.EngineProgram(), QStringLiteral("/opt/engines/uci-engine"));
    QVERIFY(f.Tries1[3]->isChecked());
    QCOMPARE(f.Flow().Training().TriesPerMove, TrainingOptions::UnlimitedTries);
    QVERIFY(f.HintButton1->isVisible());
    QCOMPARE(f.size(), QSize(900, 650));
    // The last file is listed and its problem selected again.
    QCOMPARE(f.ListBox1->count(), 5);
    QCOMPARE(f.ListBox1->currentRow(), 2);
    QCOMPARE(MemoLines(f).value(0), QStringLiteral("3 Fool's mate"));
    QVERIFY(f.BitBtn2->isEnabled());
    QCOMPARE(f.RecentFiles(), (QStringList{problems, other}));

    // A recent file that has gone is taken off the list with a word, not an error box.
    QVERIFY(QFile::remove(other));
    QAction* second = f.RecentFiles1->actions().value(1);
    QVERIFY(second && second->text().endsWith(QStringLiteral("other.qvn")));
    second->trigger();
    QCOMPARE(f.RecentFiles(), QStringList{problems});
    QVERIFY(f.StatusBar1->currentMessage().contains(QStringLiteral("other.qvn")));
    QVERIFY(dialogs.errors.isEmpty());
    QCOMPARE(f.ListBox1->count(), 5); // the open file stays
    QCOMPARE(TrainerSettings(settings.Path()).Load().RecentFiles, QStringList{problems});
}

QTEST_MAIN(TrainingWindowTest)
#include "TrainingWindowTest.moc"
