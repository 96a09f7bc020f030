// Moves without dragging (click-click, keyboard), the promotion chooser, the last-move
// highlight, the owner's marks and the accessible squares, with real mouse and key events.
#include "board/ui/PromotionChooser.h"
#include "board/ui/TChessBrd.h"
#include "tests/board/ui/TestPieceSet.h"

#include <QAccessible>
#include <QPushButton>
#include <QtTest>

using namespace qv;
using qvtest::MakeTestPieceSet;
using qvtest::TestPieceColor;

namespace {

const QColor Light(0xC0, 0xC0, 0xC0), Dark(0x80, 0x80, 0x80);

QPoint CentreOf(const TChessBrd& b, Square sq) {
    return b.SquareToPixel(sq) + QPoint(b.SizeOfSquare() / 2, b.SizeOfSquare() / 2);
}
QColor PixelAt(TChessBrd& b, QPoint p) {
    return b.grab().toImage().pixelColor(p);
}
// A pixel near a square's corner, beside its piece.
QColor CornerOf(TChessBrd& b, Square sq) {
    return PixelAt(b, b.SquareToPixel(sq) + QPoint(4, 4));
}
void Click(TChessBrd& b, Square sq) {
    QTest::mouseClick(&b, Qt::LeftButton, Qt::NoModifier, CentreOf(b, sq));
}

struct Fixture {
    TChessBrd board;
    QList<std::pair<Square, Square>> legal;
    QList<Square> illegal;
    explicit Fixture(bool show = true) {
        board.SetCustomPieceSet(MakeTestPieceSet());
        board.SetAnimateMoves(false);
        board.OnLegalMove = [this](BoardModel*, Square a, Square b) { legal << std::pair(a, b); };
        board.OnIllegalMove = [this](BoardModel*, Square s) { illegal << s; };
        if (show) board.show();
    }
};

} // namespace

class TestChessBrdMoves : public QObject {
    Q_OBJECT
private slots:
    void clickClickSelectsPlaysAndCancels();
    void keyboardFocusSquareAndSpace();
    void promotionChooserPicksOrCancels();
    void lastMoveHighlightedUntilPositionChanges();
    void marksFollowOrientation();
    void squaresAreAccessible();
};

void TestChessBrdMoves::clickClickSelectsPlaysAndCancels() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    // Off (the default): clicks play nothing.
    Click(f.board, E2);
    Click(f.board, E4);
    QVERIFY(f.legal.isEmpty());
    QCOMPARE(f.board.Selected(), None);

    f.board.SetClickMoves(true);
    Click(f.board, E7); // not White's piece
    QCOMPARE(f.board.Selected(), None);
    Click(f.board, G1);
    QCOMPARE(f.board.Selected(), G1);
    QVERIFY(CornerOf(f.board, G1) != Dark);                    // tinted
    QVERIFY(PixelAt(f.board, CentreOf(f.board, F3)) != Light); // a target dot
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, E3)), Dark);   // no target
    Click(f.board, E2); // another White piece: selected instead
    QCOMPARE(f.board.Selected(), E2);
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, F3)), Light);
    Click(f.board, E5); // no target: cancels
    QCOMPARE(f.board.Selected(), None);
    QCOMPARE(CornerOf(f.board, E2), Light);
    QVERIFY(f.legal.isEmpty());

    Click(f.board, E2);
    Click(f.board, E4);
    QCOMPARE(f.legal, (QList<std::pair<Square, Square>>{{E2, E4}}));
    QCOMPARE(f.board.DragFrom, E2); // as a drop: the move is not animated
    QCOMPARE(f.board.DropTo, E4);
    QCOMPARE(f.board.Selected(), None);
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, E4)), TestPieceColor(0, 0));
    // A selection ends with any move, and dragging still works.
    Click(f.board, D7);
    QCOMPARE(f.board.Selected(), D7);
    QVERIFY(f.board.MakeMove(D7, D5));
    QCOMPARE(f.board.Selected(), None);
    const QPoint start = CentreOf(f.board, D2);
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&f.board, start + QPoint(0, -20));
    QTest::mouseMove(&f.board, CentreOf(f.board, D4));
    QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, D4));
    QCOMPARE(f.legal.size(), 3);
    QCOMPARE(f.board.Selected(), None);
    QVERIFY(f.illegal.isEmpty());
    // Disabling the board (the owner's turn is over) drops a selection.
    Click(f.board, G8);
    QCOMPARE(f.board.Selected(), G8);
    f.board.setEnabled(false);
    QCOMPARE(f.board.Selected(), None);
    QCOMPARE(CornerOf(f.board, G8), Light);
}

void TestChessBrdMoves::keyboardFocusSquareAndSpace() {
    QWidget window;
    auto* before = new QPushButton(QStringLiteral("before"), &window);
    Fixture f(false);
    f.board.setParent(&window);
    f.board.move(0, 40);
    QCOMPARE(f.board.focusPolicy(), Qt::NoFocus); // off by default
    f.board.SetKeyboardMoves(true);
    window.resize(400, 420);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    QVERIFY(f.board.hasFocus());
    QCOMPARE(f.board.FocusSquare(), E2);
    QCOMPARE(PixelAt(f.board, f.board.SquareToPixel(E2) + QPoint(1, 1)), QColor(30, 110, 255));
    QTest::keyClick(&f.board, Qt::Key_Up);
    QCOMPARE(f.board.FocusSquare(), E3);
    QCOMPARE(PixelAt(f.board, f.board.SquareToPixel(E2) + QPoint(1, 1)), Light);
    QTest::keyClick(&f.board, Qt::Key_Down);
    QTest::keyClick(&f.board, Qt::Key_Space); // pick up
    QCOMPARE(f.board.Selected(), E2);
    QTest::keyClick(&f.board, Qt::Key_Escape);
    QCOMPARE(f.board.Selected(), None);
    QTest::keyClick(&f.board, Qt::Key_Space);
    QTest::keyClick(&f.board, Qt::Key_Up);
    QTest::keyClick(&f.board, Qt::Key_Up);
    QTest::keyClick(&f.board, Qt::Key_Space); // drop on e4
    QCOMPARE(f.legal, (QList<std::pair<Square, Square>>{{E2, E4}}));
    // From Black's side the keys follow the screen; the edge stops the square.
    f.board.SetWhiteOnTop(true);
    QTest::keyClick(&f.board, Qt::Key_Up);
    QCOMPARE(f.board.FocusSquare(), E3);
    for (int i = 0; i < 5; ++i) QTest::keyClick(&f.board, Qt::Key_Left);
    QCOMPARE(f.board.FocusSquare(), H3);
    QCOMPARE(PixelAt(f.board, f.board.SquareToPixel(H3) + QPoint(1, 1)), QColor(30, 110, 255));
    f.board.clearFocus();
    QCOMPARE(PixelAt(f.board, f.board.SquareToPixel(H3) + QPoint(1, 1)), Light);
}

void TestChessBrdMoves::promotionChooserPicksOrCancels() {
    Fixture f;
    QVERIFY(f.board.SetFen("8/P6k/8/8/8/8/8/K7 w - - 0 1"));
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    f.board.SetClickMoves(true);
    f.board.SetChoosePromotion(true);
    // Picked with the mouse: a knight, for this move only.
    Click(f.board, A7);
    Click(f.board, A8);
    QVERIFY(f.legal.isEmpty());
    auto* chooser = qobject_cast<PromotionChooser*>(f.board.PromotionChooserWidget());
    QVERIFY(chooser);
    QTest::mouseClick(chooser, Qt::LeftButton, Qt::NoModifier, chooser->CellRect(3).center());
    QCOMPARE(f.legal, (QList<std::pair<Square, Square>>{{A7, A8}}));
    QCOMPARE(f.board.State().At(A8), 'N');
    QCOMPARE(f.board.PromotionPiece, 'q');
    QTRY_VERIFY(!f.board.PromotionChooserWidget());

    // Cancelled by Escape, then by a click outside: the pawn stays.
    for (int way = 0; way < 2; ++way) {
        QVERIFY(f.board.SetFen("8/P6k/8/8/8/8/8/K7 w - - 0 1"));
        Click(f.board, A7);
        Click(f.board, A8);
        chooser = qobject_cast<PromotionChooser*>(f.board.PromotionChooserWidget());
        QVERIFY(chooser);
        if (way == 0)
            QTest::keyClick(chooser, Qt::Key_Escape);
        else
            QTest::mouseClick(chooser, Qt::LeftButton, Qt::NoModifier, QPoint(-30, 10));
        QTRY_VERIFY(!f.board.PromotionChooserWidget());
        QCOMPARE(f.legal.size(), 1);
        QCOMPARE(f.board.State().At(A7), 'P');
        QCOMPARE(f.illegal.size(), way + 1);
    }
    // A drop opens it too, and the keyboard picks: the rook is one step down.
    const QPoint start = CentreOf(f.board, A7);
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&f.board, start + QPoint(0, -20));
    QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, A8));
    chooser = qobject_cast<PromotionChooser*>(f.board.PromotionChooserWidget());
    QVERIFY(chooser);
    QTest::keyClick(chooser, Qt::Key_Down);
    QTest::keyClick(chooser, Qt::Key_Return);
    QCOMPARE(f.board.State().At(A8), 'R');
    // Moves played by code never ask.
    QVERIFY(f.board.SetFen("8/P6k/8/8/8/8/8/K7 w - - 0 1"));
    QVERIFY(f.board.MakeMove(A7, A8));
    QVERIFY(!f.board.PromotionChooserWidget());
    QCOMPARE(f.board.State().At(A8), 'Q');
}

void TestChessBrdMoves::lastMoveHighlightedUntilPositionChanges() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    QVERIFY(f.board.MakeMove(E2, E4));
    QCOMPARE(CornerOf(f.board, E2), Light); // off by default
    f.board.SetHighlightLastMove(true);
    QVERIFY(CornerOf(f.board, E2) != Light);
    QVERIFY(CornerOf(f.board, E4) != Light);
    QVERIFY(f.board.PlayMove(G8, F6)); // a script's move moves it
    QCOMPARE(CornerOf(f.board, E2), Light);
    QCOMPARE(CornerOf(f.board, E4), Light);
    QVERIFY(CornerOf(f.board, G8) != Light);
    QVERIFY(CornerOf(f.board, F6) != Dark);
    QVERIFY(f.board.MoveBack()); // another position: no last move to show
    QCOMPARE(CornerOf(f.board, G8), Light);
    QCOMPARE(CornerOf(f.board, F6), Dark);
    // A handler that only changes the look (the trainer's border after a turn) keeps it.
    f.board.OnLegalMove = [](BoardModel* b, Square, Square) {
        static_cast<TChessBrd*>(b)->SetBorderColor(Qt::gray);
    };
    QVERIFY(f.board.PlayMove(G8, F6));
    QVERIFY(CornerOf(f.board, G8) != Light);
    QVERIFY(CornerOf(f.board, F6) != Dark);
}

void TestChessBrdMoves::marksFollowOrientation() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    f.board.MarkSquare(E4, Qt::red);
    f.board.MarkArrow(B1, B5, Qt::blue); // over b2, b3, b4
    const QPoint ring = f.board.SquareToPixel(E4) + QPoint(20, 4);
    QCOMPARE(PixelAt(f.board, ring), QColor(Qt::red));
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, B3)), QColor(Qt::blue));
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, C3)), Dark);
    f.board.SetWhiteOnTop(true);
    QCOMPARE(PixelAt(f.board, f.board.SquareToPixel(E4) + QPoint(20, 4)), QColor(Qt::red));
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, B3)), QColor(Qt::blue));
    f.board.ClearMarks();
    QVERIFY(f.board.Marks().empty());
    QCOMPARE(PixelAt(f.board, CentreOf(f.board, B3)), Light);
    QCOMPARE(PixelAt(f.board, f.board.SquareToPixel(E4) + QPoint(20, 4)), Light);
}

void TestChessBrdMoves::squaresAreAccessible() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    QAccessibleInterface* board = QAccessible::queryAccessibleInterface(&f.board);
    QVERIFY(board);
    QCOMPARE(board->role(), QAccessible::Table);
    QCOMPARE(board->childCount(), 64);
    QCOMPARE(board->child(0)->text(QAccessible::Name), QStringLiteral("a8: black rook"));
    QCOMPARE(board->child(E2 - 1)->text(QAccessible::Name), QStringLiteral("e2: white pawn"));
    QCOMPARE(board->indexOfChild(board->child(E2 - 1)), E2 - 1);
    QCOMPARE(board->child(E2 - 1)->parent(), board);
    QVERIFY(f.board.MakeMove(E2, E4));
    QCOMPARE(board->child(E4 - 1)->text(QAccessible::Name), QStringLiteral("e4: white pawn"));
    QCOMPARE(board->child(E2 - 1)->text(QAccessible::Name), QStringLiteral("e2: empty"));
    QCOMPARE(board->text(QAccessible::Description), QStringLiteral("Black to move"));
    const QPoint g1 = f.board.mapToGlobal(CentreOf(f.board, G1));
    QCOMPARE(board->childAt(g1.x(), g1.y()), board->child(G1 - 1));
    QCOMPARE(board->child(G1 - 1)->rect().center(), g1 - QPoint(1, 1));
    // The keyboard's focus square is the focused child.
    QCOMPARE(board->focusChild(), nullptr);
    f.board.SetKeyboardMoves(true);
    f.board.activateWindow();
    f.board.setFocus();
    QTRY_VERIFY(f.board.hasFocus());
    QTest::keyClick(&f.board, Qt::Key_Right);
    QCOMPARE(f.board.FocusSquare(), F2);
    QCOMPARE(board->focusChild(), board->child(F2 - 1));
    QVERIFY(board->child(F2 - 1)->state().focused);
    QVERIFY(!board->child(E2 - 1)->state().focused);
}

QTEST_MAIN(TestChessBrdMoves)
#include "tst_ChessBrdMoves.moc"
