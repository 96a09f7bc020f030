// The analysis on the auxiliary board (built-in engine, a fake UCI engine, failures, the
// window's room for the lines) and the engine chooser of Options > Engine.
#include "board/ui/TChessBrd.h"
#include "windows/TEngineDialog.h"
#include "windows/TForm3.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace qv;

namespace {

// Mate in two for White: Rd8+ Rxd8 Rxd8#.
const std::string kMateInTwo = "  r   k1     ppp                                   R PPP   R  K ";

struct Fixture {
    TChessBrd main;
    TForm3 form3{&main};
    Fixture(const std::string& position = kMateInTwo) {
        main.SetPosition(position);
        main.SetWhiteToMove(true);
        form3.AuxPosition = main.Position();
        form3.show();
    }
    QString Depth() const { return form3.Label1->text(); }
    QString Line() const { return form3.Label2->text(); }
};

} // namespace

class AnalysisViewTest : public QObject {
    Q_OBJECT
private slots:
    void analyseShowsDepthScoreAndLineInRoomOfTheirOwn() {
        Fixture f;
        QVERIFY(QTest::qWaitForWindowExposed(&f.form3));
        QVERIFY(!f.form3.Label1->isVisible());
        const int closedHeight = f.form3.height();
        QTest::mouseClick(f.form3.Button5, Qt::LeftButton);
        QVERIFY(f.form3.Button5->isChecked());
        QTRY_COMPARE(f.Line(), QStringLiteral("1. Rd8+ Rxd8 2. Rxd8#"));
        QVERIFY2(f.Depth().contains(QStringLiteral("mate in 2")), qPrintable(f.Depth()));
        QVERIFY(f.Depth().contains(QStringLiteral("built-in engine")));

        // The lines sit below every other control, inside the grown window.
        QVERIFY(f.form3.height() > closedHeight);
        for (QWidget* w :
             {static_cast<QWidget*>(f.form3.Label1), static_cast<QWidget*>(f.form3.Label2)}) {
            QVERIFY(w->isVisible());
            QVERIFY(f.form3.rect().contains(w->geometry()));
            for (QWidget* other :
                 {static_cast<QWidget*>(f.form3.ChessBrd1), static_cast<QWidget*>(f.form3.Button1),
                  static_cast<QWidget*>(f.form3.Button2), static_cast<QWidget*>(f.form3.Button5)})
                QVERIFY(!w->geometry().intersects(other->geometry()));
        }

        // A move on the board: the new position is analysed at once (Black is mated next).
        QVERIFY(f.form3.ChessBrd1->MakeMove(D2, D8));
        QTRY_COMPARE(f.Line(), QStringLiteral("1... Rxd8 2. Rxd8#"));
        QTRY_VERIFY(f.Depth().contains(QStringLiteral("mate in 1")));
        // "<" goes back, and so does the analysis.
        QTest::mouseClick(f.form3.Button3, Qt::LeftButton);
        QTRY_COMPARE(f.Line(), QStringLiteral("1. Rd8+ Rxd8 2. Rxd8#"));

        // Closing stops the engine; the toggle stays for the next opening.
        QTest::mouseClick(f.form3.Button1, Qt::LeftButton);
        QVERIFY(!f.form3.Engine()->Running());
        QVERIFY(f.form3.Button5->isChecked());
        f.form3.show();
        QVERIFY(f.form3.Engine()->Running());

        // Off again: the engine stops and the window returns to its size.
        QTest::mouseClick(f.form3.Button5, Qt::LeftButton);
        QVERIFY(!f.form3.Engine()->Running());
        QCOMPARE(f.form3.height(), closedHeight);
        QVERIFY(!f.form3.Label1->isVisible());
    }

    void positionsNoEngineTakesAreExplained() {
        Fixture f("    k                                                           ");
        QVERIFY(QTest::qWaitForWindowExposed(&f.form3));
        QTest::mouseClick(f.form3.Button5, Qt::LeftButton);
        QCOMPARE(f.Line(), QStringLiteral("White has no king."));
        QVERIFY(!f.form3.Engine() || !f.form3.Engine()->Running());
    }

    void uciEngineAndItsFailure() {
        QTemporaryDir dir;
        qputenv("FAKE_UCI_LOG", dir.filePath(QStringLiteral("log")).toUtf8());
        qputenv("FAKE_UCI_MODE", "normal");
        Fixture f{std::string(InitialPosition)};
        f.form3.SetEngineProgram(QStringLiteral(FAKE_UCI_ENGINE));
        QTest::mouseClick(f.form3.Button5, Qt::LeftButton);
        QTRY_VERIFY(f.Depth().contains(QStringLiteral("Fake Engine 1.0")));
        QTRY_VERIFY(f.Depth().contains(QStringLiteral("mate in 2")));
        QCOMPARE(f.Line(), QStringLiteral("1. e4"));

        // An engine that crashes at "go": a message in the lines, the toggle off.
        qputenv("FAKE_UCI_MODE", "crash");
        f.form3.SetEngineProgram(QStringLiteral(FAKE_UCI_ENGINE) + QStringLiteral("?"));
        f.form3.SetEngineProgram(QStringLiteral(FAKE_UCI_ENGINE));
        QTRY_VERIFY(!f.form3.Button5->isChecked());
        QCOMPARE(f.Depth(), QStringLiteral("The analysis stopped."));
        QVERIFY(f.Line().contains(QStringLiteral("crashed")));
        QVERIFY(f.form3.Label2->isVisible());
        qputenv("FAKE_UCI_MODE", "normal");
    }

    void engineChooser() {
        QTemporaryDir dir;
        const QString notProgram = dir.filePath(QStringLiteral("engine.txt"));
        QFile text(notProgram);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.close();

        TEngineDialog builtin(QString{});
        QVERIFY(builtin.RadioButton1->isChecked());
        QVERIFY(!builtin.ComboBox1->isEnabled());
        builtin.ButtonBox1->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(builtin.result(), int(QDialog::Accepted));
        QVERIFY(builtin.Program().isEmpty());

        TEngineDialog dialog(QStringLiteral(FAKE_UCI_ENGINE));
        QVERIFY(dialog.RadioButton2->isChecked());
        QCOMPARE(dialog.ComboBox1->currentText(), QStringLiteral(FAKE_UCI_ENGINE));
        // Refused with a reason: a missing file, a file that is no program, nothing at all.
        for (const QString& bad : {dir.filePath(QStringLiteral("missing")), notProgram,
                                   QStringLiteral("no-such-engine-anywhere"), QString()}) {
            dialog.ComboBox1->setCurrentText(bad);
            dialog.ButtonBox1->button(QDialogButtonBox::Ok)->click();
            QVERIFY(dialog.result() != QDialog::Accepted);
            QVERIFY2(!dialog.Label1->text().isEmpty(), qPrintable(bad));
        }
        // "Browse..." fills in the chosen file.
        dialog.BrowseForFile = [](QWidget*) { return QStringLiteral(FAKE_UCI_ENGINE); };
        QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        QCOMPARE(dialog.ComboBox1->currentText(), QStringLiteral(FAKE_UCI_ENGINE));
        dialog.ButtonBox1->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Program(), QFileInfo(QStringLiteral(FAKE_UCI_ENGINE)).absoluteFilePath());
    }
};

QTEST_MAIN(AnalysisViewTest)
#include "AnalysisViewTest.moc"
