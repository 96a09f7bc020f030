// The auxiliary board window on its own: layout, activation from the shared position,
// stepping through its own record, "&Start", and script moves mirrored or dropped.
#include "windows/TForm3.h"
#include "board/ui/TChessBrd.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

using namespace qv;

namespace {

const std::string kStart = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";
// After 1.e4 e5 2.Nf3: Black to move.
const std::string kOpening = "rnbqkbnrpppp ppp            p       P        N  PPPP PPPRNBQKB R";

char PieceOn(const TChessBrd& b, Square sq) {
    return b.Position().at(size_t(sq) - 1);
}

struct Fixture {
    TChessBrd main;
    TForm3 form3{&main};
    Fixture() {
        main.SetPosition(kOpening);
        main.SetWhiteToMove(false);
        main.SetWhiteOnTop(true);
        form3.AuxPosition = main.Position();
    }
};

} // namespace

class TForm3Test : public QObject {
    Q_OBJECT
private slots:
    void layout() {
        Fixture f;
        QCOMPARE(f.form3.windowTitle(), QStringLiteral("Form3"));
        QCOMPARE(f.form3.ChessBrd1->geometry(), QRect(8, 32, 296, 296));
        QCOMPARE(f.form3.ChessBrd1->SizeOfSquare(), 31);
        QCOMPARE(f.form3.ChessBrd1->SizeOfBorder(), 24);
        QCOMPARE(f.form3.Button3->text(), QStringLiteral("<"));
        QCOMPARE(f.form3.Button3->geometry(), QRect(112, 344, 33, 17));
        QCOMPARE(f.form3.Button4->text(), QStringLiteral(">"));
        QCOMPARE(f.form3.Button2->text(), QStringLiteral("&Start"));
        QCOMPARE(f.form3.Button1->text(), QStringLiteral("&Close"));
        QCOMPARE(f.form3.Button1->geometry(), QRect(232, 376, 75, 25));
        QVERIFY(!f.form3.Image1->isVisible());
        // As loaded, before the first activation: grey squares, black border.
        QCOMPARE(f.form3.ChessBrd1->BorderColor(), QColor(0, 0, 0));
        QCOMPARE(f.form3.ChessBrd1->Position(), kStart);
    }

    void activationCopiesPositionOrientationAndSide() {
        Fixture f;
        f.form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form3));
        TChessBrd& aux = *f.form3.ChessBrd1;
        QCOMPARE(aux.Position(), kOpening);
        QVERIFY(aux.WhiteOnTop());
        QVERIFY(!aux.WhiteToMove());
        QCOMPARE(aux.SquareColorDark(), QColor(0, 128, 128));
        QCOMPARE(aux.SquareColorLight(), QColor(255, 255, 255));
        QCOMPARE(aux.BorderColor(), QColor(192, 192, 192));
        QCOMPARE(aux.CustomPieceSet().size(), QSize(192, 128));
        QCOMPARE(aux.CellSize(), 32);

        // Moves tried here, then a return to the window: the copied position again.
        QVERIFY(aux.MakeMove(B8, C6));
        QCOMPARE(PieceOn(aux, C6), 'n');
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&f.form3, &activate);
        QCOMPARE(aux.Position(), kOpening);
        QCOMPARE(f.main.Position(), kOpening); // the main board never changed
        f.form3.close();
    }

    void stepBackForwardAndStart() {
        Fixture f;
        f.form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form3));
        TChessBrd& aux = *f.form3.ChessBrd1;
        // Outside the recorded range the buttons change nothing.
        QTest::mouseClick(f.form3.Button3, Qt::LeftButton);
        QTest::mouseClick(f.form3.Button4, Qt::LeftButton);
        QCOMPARE(aux.Position(), kOpening);

        QVERIFY(aux.MakeMove(B8, C6));
        QVERIFY(aux.MakeMove(F1, B5));
        QTest::mouseClick(f.form3.Button3, Qt::LeftButton);
        QCOMPARE(PieceOn(aux, F1), 'B');
        QTest::mouseClick(f.form3.Button3, Qt::LeftButton);
        QCOMPARE(aux.Position(), kOpening);
        QTest::mouseClick(f.form3.Button4, Qt::LeftButton);
        QTest::mouseClick(f.form3.Button4, Qt::LeftButton);
        QCOMPARE(PieceOn(aux, B5), 'B');

        f.main.SetWhiteOnTop(false);
        QTest::mouseClick(f.form3.Button2, Qt::LeftButton); // "&Start"
        QCOMPARE(aux.Position(), kOpening);
        QVERIFY(!aux.WhiteToMove());
        QVERIFY(!aux.WhiteOnTop());

        QTest::mouseClick(f.form3.Button1, Qt::LeftButton); // "&Close"
        QVERIFY(!f.form3.isVisible());
    }

    void scriptMovesMirroredWhenLegalOnly() {
        Fixture f;
        f.form3.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.form3));
        f.form3.close();
        TChessBrd& aux = *f.form3.ChessBrd1;
        f.form3.MirrorMove(E2, E4); // White's move, but Black is to move here: dropped
        QCOMPARE(aux.Position(), kOpening);
        f.form3.MirrorMove(B8, C6);
        QCOMPARE(PieceOn(aux, C6), 'n');
        QVERIFY(aux.WhiteToMove());
        f.form3.MirrorMove(A1, A8); // no such move: dropped silently
        QCOMPARE(PieceOn(aux, A1), 'R');
    }
};

QTEST_MAIN(TForm3Test)
#include "TForm3Test.moc"
