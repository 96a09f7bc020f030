// Add-points dialog: what it shows on activation, and the answer each way of closing
// it leaves in the shared state, driven by real clicks on a modal dialog.
#include "windows/TForm5.h"

#include "script/core/Globales.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <functional>

using qv::Globales;
using qv::TForm5;

class TForm5Test : public QObject {
    Q_OBJECT

    // Runs the dialog modally, as ".addpoints" does, and lets `act` answer it once it
    // is up. Returns the dialog's result code. Nothing is checked while the dialog runs:
    // a dialog that `act` leaves open is closed, and the test fails once exec returns.
    int RunModal(TForm5& dialog, std::function<void()> act) {
        bool shown = false, leftOpen = false;
        QTimer::singleShot(0, &dialog, [&] {
            shown = dialog.isVisible();
            act();
            leftOpen = dialog.isVisible();
            if (leftOpen) dialog.reject();
        });
        const int result = dialog.exec();
        [&] {
            QVERIFY(shown);
            QVERIFY2(!leftOpen, "the dialog stayed open");
        }();
        return result;
    }

private slots:
    void layoutAsDesigned() {
        Globales g;
        TForm5 dialog(g);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add points?"));
        QCOMPARE(dialog.font().pixelSize(), 11);
        QCOMPARE(dialog.Memo1->geometry(), QRect(16, 24, 401, 137));
        QVERIFY(dialog.Memo1->font().bold());
        QCOMPARE(dialog.Memo1->font().pixelSize(), 13);
        QCOMPARE(dialog.Memo1->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(dialog.Button1->geometry(), QRect(16, 184, 129, 33));
        QCOMPARE(dialog.Button1->text(), QStringLiteral("Add points"));
        QCOMPARE(dialog.Button2->geometry(), QRect(288, 184, 129, 33));
        QCOMPARE(dialog.Button2->text(), QStringLiteral("Close"));
    }

    void acceptingSetsTheFlag() {
        Globales g;
        g.AddPointsText = "Did you see the knight fork?";
        g.AddPointsValue = 10;
        TForm5 dialog(g);
        QString memo, caption;
        const int result = RunModal(dialog, [&] {
            memo = dialog.Memo1->toPlainText();
            caption = dialog.Button1->text();
            QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        });
        QCOMPARE(memo, QStringLiteral("Did you see the knight fork?"));
        QCOMPARE(caption, QStringLiteral("Add 10 points."));
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(g.AddPointsAccepted);
        QVERIFY(!dialog.isVisible());
    }

    void closeButtonClearsTheFlag() {
        Globales g;
        g.AddPointsValue = -2;
        g.AddPointsAccepted = true; // left over: "Close" must clear it
        TForm5 dialog(g);
        QString caption;
        RunModal(dialog, [&] {
            caption = dialog.Button1->text();
            QTest::mouseClick(dialog.Button2, Qt::LeftButton);
        });
        QCOMPARE(caption, QStringLiteral("Add -2 points."));
        QVERIFY(!g.AddPointsAccepted);
    }

    void closeBoxLeavesTheFlagAlone() {
        Globales g;
        g.AddPointsValue = 5;
        TForm5 dialog(g);
        const int result = RunModal(dialog, [&] { dialog.close(); });
        QCOMPARE(result, int(QDialog::Rejected));
        QVERIFY(!g.AddPointsAccepted); // false before, so no points
        // Escape counts as the close box too.
        RunModal(dialog, [&] { QTest::keyClick(&dialog, Qt::Key_Escape); });
        QVERIFY(!g.AddPointsAccepted);
    }

    void secondShowingShowsOnlyTheLatestQuestion() {
        Globales g;
        TForm5 dialog(g);
        g.AddPointsText = "First question?";
        g.AddPointsValue = 3;
        RunModal(dialog, [&] { QTest::mouseClick(dialog.Button2, Qt::LeftButton); });
        g.AddPointsText = "Second question, a much longer one that the memo has to wrap over "
                          "more than one line of its width to show it all.";
        g.AddPointsValue = 7;
        QString memo, caption;
        RunModal(dialog, [&] {
            memo = dialog.Memo1->toPlainText();
            caption = dialog.Button1->text();
            QTest::mouseClick(dialog.Button1, Qt::LeftButton);
        });
        QCOMPARE(memo, QString::fromStdString(g.AddPointsText));
        QCOMPARE(caption, QStringLiteral("Add 7 points."));
        QVERIFY(g.AddPointsAccepted);
    }

    void textIsShownUnchanged() {
        Globales g;
        g.AddPointsText = "Gewinnt Weiß den Läufer?  <b>not markup</b>";
        TForm5 dialog(g);
        dialog.FormActivate();
        QCOMPARE(dialog.Memo1->toPlainText(), QString::fromUtf8(g.AddPointsText.c_str()));
    }
};

QTEST_MAIN(TForm5Test)
#include "TForm5Test.moc"
