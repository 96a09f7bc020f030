// The trainer and the progress store: attempts recorded at the end and on leaving a
// problem, the solved count, Continue, the review of due problems, the Statistics
// window and its export, and a store that cannot be written.
#include "tests/app/TrainerFixture.h"

#include "progress/store/SqliteProgressStore.h"
#include "windows/TStatisticsWindow.h"

#include <QBarSet>
#include <QLineSeries>
#include <QTableWidget>

using namespace qvtest;

namespace {

// One mate in one: h5f7 earns the best points, c4f7 fewer, any other move nothing.
QByteArray Problem(const char* label) {
    return QByteArray(".# ") + label +
           " Mate in one\r\n.position\r\nt1adra1t\r\npppp1ppp\r\n11c11c11\r\n1111p11D\r\n"
           "11A1P111\r\n11111111\r\nPPPP1PPP\r\nTCA1R1CT\r\n.plays white\r\n.*w\r\n"
           ".if h5f7 Qxf7 3 Mate.\r\n.if c4f7 Bxf7 1 Check only.\r\n.end\r\n";
}

std::vector<Attempt> StoredAttempts(const QString& path) {
    SqliteProgressStore store({path.toStdString(), 2000, true});
    return store.Attempts();
}

// Plays the selected problem: Next to the turn, the move, Next to its end.
void PlayTurn(TForm1& f, Square from, Square to, int thinkMs = 0) {
    ClickNext(f);
    QVERIFY(f.ChessBrd1->isEnabled());
    if (thinkMs) QTest::qWait(thinkMs);
    Drag(*f.ChessBrd1, from, to);
    ClickNext(f);
}

} // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }

private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }
    void init() { ProgressPath = Path(QStringLiteral("progress-%1.sqlite").arg(++run)); }
    void cleanup() { ProgressPath.clear(); }
    void attemptsRecordedAtEndAndOnLeaving();
    void reviewAcrossFilesSkipsVanishedOne();
    void statisticsShowAndExport();
    void unusableStoreDoesNotStopPlay_data();
    void unusableStoreDoesNotStopPlay();

private:
    int run = 0;
};

void ProgressWindowTest::attemptsRecordedAtEndAndOnLeaving() {
    FakeDialogs dialogs;
    const QString file = Path(QStringLiteral("two.qvn"));
    WriteFile(file, Problem("1") + Problem("2"));
    Trainer t({file});
    TForm1& f = t.form1;
    QVERIFY(f.SolvedText->isVisible());
    QCOMPARE(f.SolvedText->text(), QStringLiteral("0 of 2 solved"));

    // Continue starts the first problem not solved; solving it is recorded at .end with
    // the time the clock ran on the player's turn.
    f.Continue1->trigger();
    QCOMPARE(f.ListBox1->currentRow(), 0);
    PlayTurn(f, H5, F7, 250);
    QVERIFY(!f.BitBtn2->isEnabled());
    std::vector<Attempt> stored = StoredAttempts(ProgressPath);
    QCOMPARE(stored.size(), std::size_t(1));
    QCOMPARE(stored[0].Problem.Label, std::string("1"));
    QCOMPARE(stored[0].Problem.File, QFileInfo(file).canonicalFilePath().toStdString());
    QVERIFY(stored[0].Solved);
    QCOMPARE(stored[0].Points, 3);
    QCOMPARE(stored[0].BestScore, 3);
    QVERIFY2(stored[0].ThinkingSeconds >= 0.2,
             qPrintable(QString::number(stored[0].ThinkingSeconds)));
    QCOMPARE(f.SolvedText->text(), QStringLiteral("1 of 2 solved"));
    QCOMPARE(f.Marks(), (std::vector{ProblemMark::Solved, ProblemMark::Untried}));
    const QModelIndex first = f.ListBox1->model()->index(0, 0);
    QCOMPARE(first.data(ProblemIndexModel::MarkRole).toInt(), int(ProblemMark::Solved));
    QCOMPARE(first.data(Qt::AccessibleDescriptionRole).toString(), QStringLiteral("solved"));
    QCOMPARE(first.data(Qt::ToolTipRole).toString(), QStringLiteral("1 Mate in one (solved)"));
    QVERIFY(!first.data(Qt::DecorationRole).value<QIcon>().isNull());

    // A status message leaves the count in sight.
    f.statusBar()->showMessage(QStringLiteral("Something else"));
    QVERIFY(f.SolvedText->isVisible());

    // Continue goes on to problem 2, shown again when the filter hid it; a wrong move and
    // then another selection leave it: recorded as failed, with its own thinking time
    // taken before the clock was reset.
    QTest::keyClicks(f.FilterEdit1, QStringLiteral("1 M"));
    QCOMPARE(f.ListBox1->count(), 1);
    f.Continue1->trigger();
    QCOMPARE(f.ListBox1->count(), 2);
    QCOMPARE(f.ListBox1->currentRow(), 1);
    ClickNext(f);
    QTest::qWait(150);
    Drag(*f.ChessBrd1, G1, F3);
    ClickEntry(f.ListBox1, 0);
    stored = StoredAttempts(ProgressPath);
    QCOMPARE(stored.size(), std::size_t(2));
    QCOMPARE(stored[1].Problem.Label, std::string("2"));
    QVERIFY(!stored[1].Solved);
    QVERIFY(stored[1].ThinkingSeconds >= 0.1);
    QVERIFY(stored[1].ThinkingSeconds < stored[0].ThinkingSeconds + 10);
    QCOMPARE(f.SolvedText->text(), QStringLiteral("1 of 2 solved"));
    QCOMPARE(f.Marks(), (std::vector{ProblemMark::Solved, ProblemMark::Failed}));

    // Only looked at, then another file read: nothing to record.
    f.Continue1->trigger();
    QCOMPARE(f.ListBox1->currentRow(), 1);
    dialogs.openAnswers << kSample;
    f.LeerProblemas1->trigger();
    QCOMPARE(StoredAttempts(ProgressPath).size(), std::size_t(2));
    QCOMPARE(f.SolvedText->text(), QStringLiteral("0 of 5 solved"));

    // A move played, then another file read: recorded against the file it was made in.
    ClickEntry(f.ListBox1, 0);
    ClickNext(f);
    Drag(*f.ChessBrd1, C4, F7);
    dialogs.openAnswers << file;
    f.LeerProblemas1->trigger();
    stored = StoredAttempts(ProgressPath);
    QCOMPARE(stored.size(), std::size_t(3));
    QCOMPARE(QFileInfo(QString::fromStdString(stored[2].Problem.File)).fileName(),
             QStringLiteral("first-steps.qvn"));
    QCOMPARE(f.SolvedText->text(), QStringLiteral("1 of 2 solved"));

    // With two tries and hints: a hint and a second try are counted, and the problem is
    // not solved although its best move was found in the end.
    f.Tries1[1]->trigger();
    f.Hints1->trigger();
    ClickEntry(f.ListBox1, 1);
    ClickNext(f);
    QTest::mouseClick(f.HintButton1, Qt::LeftButton);
    Drag(*f.ChessBrd1, G1, F3);
    QTRY_VERIFY(f.ChessBrd1->isEnabled()); // taken back, the board handed over again
    Drag(*f.ChessBrd1, H5, F7);
    ClickNext(f);
    stored = StoredAttempts(ProgressPath);
    QCOMPARE(stored.size(), std::size_t(4));
    QCOMPARE(stored[3].Tries, 2);
    QCOMPARE(stored[3].Hints, 1);
    QVERIFY(!stored[3].Solved);
    QCOMPARE(f.Marks(), (std::vector{ProblemMark::Solved, ProblemMark::Failed}));
}

void ProgressWindowTest::reviewAcrossFilesSkipsVanishedOne() {
    FakeDialogs dialogs;
    QStringList files;
    for (const char* name : {"a.qvn", "b.qvn", "c.qvn"}) {
        files << Path(QString::fromLatin1(name));
        WriteFile(files.last(), Problem("1") + Problem("2"));
    }
    Trainer t;
    TForm1& f = t.form1;
    f.ReviewDue1->trigger();
    QVERIFY(!f.Reviewing());
    QCOMPARE(f.statusBar()->currentMessage(), QStringLiteral("Nothing is due for review today."));

    // Problem 2 of each file failed: due again today.
    for (const QString& file : files) {
        dialogs.openAnswers << file;
        f.LeerProblemas1->trigger();
        ClickEntry(f.ListBox1, 1);
        PlayTurn(f, G1, F3);
    }
    QVERIFY(QFile::remove(files[2]));

    // The review opens each file in turn and selects the problem; after its end Next
    // goes on to the next one, and the vanished file is skipped and named.
    f.ReviewDue1->trigger();
    QSet<QString> reviewed;
    for (int i = 0; i < 3 && f.Reviewing(); ++i) {
        QCOMPARE(f.ListBox1->currentRow(), 1);
        QCOMPARE(MemoLines(f).first(), QStringLiteral("2 Mate in one"));
        reviewed << QFileInfo(QString::fromStdString(t.g.ProblemFile.Name())).fileName();
        PlayTurn(f, H5, F7);
        if (f.Reviewing()) {
            QVERIFY(f.statusBar()->currentMessage().startsWith("Press Next for the next due"));
            ClickNext(f);
        }
    }
    QVERIFY(!f.Reviewing());
    QCOMPARE(reviewed, (QSet<QString>{"a.qvn", "b.qvn"}));
    const QString done = f.statusBar()->currentMessage();
    QVERIFY2(done.startsWith("Review done: 2 of 3") && done.contains("c.qvn"), qPrintable(done));
    QVERIFY(!f.BitBtn2->isEnabled());
    QCOMPARE(f.SolvedText->text(), QStringLiteral("1 of 2 solved"));
}

void ProgressWindowTest::statisticsShowAndExport() {
    FakeDialogs dialogs;
    const QString file = Path(QStringLiteral("one, \"quoted\".qvn"));
    WriteFile(file, Problem("7"));
    Trainer t({file});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 0);
    PlayTurn(f, H5, F7);

    f.Statistics1->trigger();
    TStatisticsWindow* s = f.Statistics;
    QVERIFY(s && s->isVisible());
    QCOMPARE(s->FileTable->rowCount(), 1);
    QCOMPARE(s->FileTable->item(0, 2)->text(), QStringLiteral("1"));
    QCOMPARE(s->AttemptedSet->count(), TStatisticsWindow::DaysShown);
    QCOMPARE(s->AttemptedSet->at(TStatisticsWindow::DaysShown - 1), 1.0);
    QCOMPARE(s->SolvedSet->at(TStatisticsWindow::DaysShown - 1), 1.0);
    QCOMPARE(s->AccuracySeries->count(), 1); // the weeks before have no attempts
    QCOMPARE(s->AccuracySeries->at(0), QPointF(TStatisticsWindow::WeeksShown - 1, 100.0));

    // A second attempt while the window is open shows at once.
    ClickEntry(f.ListBox1, 0);
    PlayTurn(f, C4, F7);
    QCOMPARE(s->AttemptedSet->at(TStatisticsWindow::DaysShown - 1), 2.0);
    QCOMPARE(s->AccuracySeries->at(0).y(), 50.0);

    const QString csv = Path(QStringLiteral("attempts.csv"));
    dialogs.saveAnswers << csv;
    QTest::mouseClick(s->ExportButton, Qt::LeftButton);
    const QList<QByteArray> lines = ReadAll(csv).split('\n');
    QCOMPARE(lines.size(), 4); // header, two attempts, and the end of the last line
    QVERIFY(lines[0].startsWith("file,label,title,"));
    const QByteArray quoted =
        "\"" + QFileInfo(file).canonicalFilePath().toUtf8().replace("\"", "\"\"") + "\"";
    QVERIFY2(lines[1].startsWith(quoted + ",7,Mate in one,"), lines[1].constData());
    QVERIFY(lines[1].endsWith(",3,3,1,0,1") || lines[1].endsWith(",3,3,1,0,1\r"));
    QVERIFY(lines[2].contains(",1,3,1,0,0"));
    QVERIFY(s->ExportStatus->text().startsWith("Exported to"));

    // A name that cannot be written says so and leaves nothing behind.
    dialogs.saveAnswers << Path(QStringLiteral("missing-folder/attempts.csv"));
    QTest::mouseClick(s->ExportButton, Qt::LeftButton);
    QVERIFY(s->ExportStatus->text().startsWith("Could not write"));
}

void ProgressWindowTest::unusableStoreDoesNotStopPlay_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("notice");
    QTest::newRow("corrupt") << false << "damaged";
    QTest::newRow("read-only") << true << "read-only";
}

void ProgressWindowTest::unusableStoreDoesNotStopPlay() {
    QFETCH(bool, readOnly);
    QFETCH(QString, notice);
    if (readOnly) {
        SqliteProgressStore({ProgressPath.toStdString(), 2000, false}); // a good, empty file
        QVERIFY(QFile::setPermissions(ProgressPath, QFile::ReadOwner | QFile::ReadGroup));
    } else {
        WriteFile(ProgressPath, QByteArray(4096, 'x'));
    }
    FakeDialogs dialogs;
    const QString file = Path(QStringLiteral("store-fault.qvn"));
    WriteFile(file, Problem("1") + Problem("2"));
    Trainer t;
    TForm1& f = t.form1;
    QSignalSpy messages(f.statusBar(), &QStatusBar::messageChanged);
    dialogs.openAnswers << file;
    f.LeerProblemas1->trigger();
    for (int row : {0, 1}) {
        ClickEntry(f.ListBox1, row);
        PlayTurn(f, H5, F7);
        QCOMPARE(Digits(f), QStringLiteral("003"));
    }
    QVERIFY(dialogs.errors.isEmpty());
    // Said once in the status bar, however many attempts follow.
    int told = 0;
    for (const QList<QVariant>& m : messages) told += m.at(0).toString().contains(notice);
    QCOMPARE(told, 1);
    if (!readOnly) {
        // The damaged file was set aside and a new one started that keeps the attempts.
        QCOMPARE(StoredAttempts(ProgressPath).size(), std::size_t(2));
        QCOMPARE(QDir(dir.path()).entryList({"*.damaged-*"}).size(), 1);
    }
    if (readOnly) {
        // Told while the window is created, before it is shown: the message still takes
        // the place of the program's notice instead of being drawn over it.
        Trainer again({file});
        QVERIFY(again.form1.statusBar()->currentMessage().contains(notice));
        QVERIFY(!again.form1.StatusText->isVisible());
    }
    QFile::setPermissions(ProgressPath, QFile::ReadOwner | QFile::WriteOwner);
}

QTEST_MAIN(ProgressWindowTest)
#include "ProgressWindowTest.moc"
