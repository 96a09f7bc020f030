// The index list as a filtered model: typing in the filter box narrows the list, clicks
// and keys on the narrowed list run the right problem, and marks stay with their entries.
#include "tests/app/TrainerFixture.h"

#include <QSignalSpy>
#include <QtTest>

using namespace qv;
using namespace qvtest;

class IndexListTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { TApplication::InstallFontSubstitutions(); }
    void filterNarrowsInFileOrder();
    void selectionThroughTheFilterRunsThatProblem();
    void identicalEntriesRunTheFirstProblem();
    void filterKeysAndSelectionKept();
    void marksFollowTheirEntries();
};

namespace {

QStringList Shown(const TListBox* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i) rows << list->ItemText(i);
    return rows;
}

void TypeFilter(TForm1& f, const QString& text) {
    f.FilterEdit1->setFocus();
    f.FilterEdit1->selectAll();
    if (text.isEmpty())
        QTest::keyClick(f.FilterEdit1, Qt::Key_Backspace);
    else
        QTest::keyClicks(f.FilterEdit1, text);
}

} // namespace

void IndexListTest::filterNarrowsInFileOrder() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    QVERIFY(f.FilterEdit1->isVisible());
    QVERIFY(f.FilterEdit1->text().isEmpty());

    // By title, ignoring case, in file order ("Fool's mate" between the two "Mate"s).
    TypeFilter(f, QStringLiteral("MATE"));
    QCOMPARE(Shown(f.ListBox1),
             (QStringList{"1 Mate in one", "3 Fool's mate", "5 Mate, not stalemate"}));
    // By label.
    TypeFilter(f, QStringLiteral("4"));
    QCOMPARE(Shown(f.ListBox1), QStringList{"4 Back rank"});
    TypeFilter(f, QStringLiteral("no such problem"));
    QCOMPARE(f.ListBox1->count(), 0);
    TypeFilter(f, QString());
    QCOMPARE(f.ListBox1->count(), 5);
    QVERIFY(dialogs.errors.isEmpty());

    // Opening a file shows it whole again.
    TypeFilter(f, QStringLiteral("back"));
    dialogs.openAnswers << kSample;
    f.LeerProblemas1->trigger();
    QVERIFY(f.FilterEdit1->text().isEmpty());
    QCOMPARE(f.ListBox1->count(), 5);
}

void IndexListTest::selectionThroughTheFilterRunsThatProblem() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    TypeFilter(f, QStringLiteral("mate"));
    ClickEntry(f.ListBox1, 1); // the second row shown is the file's third problem
    QCOMPARE(QString::fromStdString(t.g.ProblemTitle), QStringLiteral("3 Fool's mate"));
    QCOMPARE(MemoLines(f).value(0), QStringLiteral("3 Fool's mate"));
    QVERIFY(f.BitBtn2->isEnabled());

    // The keyboard walks the narrowed list.
    QTest::keyClick(f.ListBox1, Qt::Key_Down);
    QCOMPARE(QString::fromStdString(t.g.ProblemTitle), QStringLiteral("5 Mate, not stalemate"));
    ClickNext(f);
    QVERIFY(f.ChessBrd1->Position() !=
            std::string("rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR"));
}

void IndexListTest::identicalEntriesRunTheFirstProblem() {
    FakeDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("twins.qvn"));
    WriteFile(path, ".# 1 Twin\r\n.rem first\r\n.end\r\n.# 2 Other\r\n.rem other\r\n.end\r\n"
                    ".# 1 Twin\r\n.rem second\r\n.end\r\n");
    Trainer t({path});
    TForm1& f = t.form1;
    TypeFilter(f, QStringLiteral("twin"));
    QCOMPARE(Shown(f.ListBox1), (QStringList{"1 Twin", "1 Twin"}));
    for (int row : {1, 0}) {
        ClickEntry(f.ListBox1, row);
        ClickNext(f);
        QCOMPARE(MemoLines(f).value(1), QStringLiteral("first"));
    }
}

void IndexListTest::filterKeysAndSelectionKept() {
    FakeDialogs dialogs;
    Trainer t({kSample});
    TForm1& f = t.form1;
    ClickEntry(f.ListBox1, 2);
    ClickNext(f);
    const QStringList memo = MemoLines(f);

    // Narrowing and widening keep the selected problem selected and do not restart it.
    TypeFilter(f, QStringLiteral("fool"));
    QCOMPARE(f.ListBox1->currentRow(), 0);
    QTest::keyClick(f.FilterEdit1, Qt::Key_Escape);
    QVERIFY(f.FilterEdit1->text().isEmpty());
    QCOMPARE(f.ListBox1->currentRow(), 2);
    QCOMPARE(MemoLines(f), memo);

    // Enter in the filter box goes into the list: with the selected problem still shown
    // it stays as it is (Next is not pressed) ...
    TypeFilter(f, QStringLiteral("o"));
    QTest::keyClick(f.FilterEdit1, Qt::Key_Return);
    QVERIFY(f.ListBox1->hasFocus());
    QCOMPARE(MemoLines(f), memo);
    // ... else the first problem shown is selected.
    TypeFilter(f, QStringLiteral("back"));
    QCOMPARE(f.ListBox1->currentRow(), -1);
    QTest::keyClick(f.FilterEdit1, Qt::Key_Down);
    QVERIFY(f.ListBox1->hasFocus());
    QCOMPARE(QString::fromStdString(t.g.ProblemTitle), QStringLiteral("4 Back rank"));
}

void IndexListTest::marksFollowTheirEntries() {
    ProblemIndexModel model;
    model.SetEntries({"1 a", "2 b", "3 ab"});
    model.SetMark(2, 1);
    model.SetFilter(QStringLiteral("b"));
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.data(model.index(1), ProblemIndexModel::MarkRole).toInt(), 1);
    QCOMPARE(model.data(model.index(1), ProblemIndexModel::FileRowRole).toInt(), 2);
    QCOMPARE(model.RowOf(0), -1);

    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.SetMark(1, 2); // shown as row 0
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toModelIndex().row(), 0);
    model.SetMark(0, 2); // filtered out: nothing shown changes
    QCOMPARE(changed.size(), 1);
    model.SetFilter(QString());
    QCOMPARE(model.data(model.index(0), ProblemIndexModel::MarkRole).toInt(), 2);
}

QTEST_MAIN(IndexListTest)
#include "IndexListTest.moc"
