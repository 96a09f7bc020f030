// Mouse drags, move animation and corner resizing of the board, with real mouse events.
#include "board/ui/TChessBrd.h"
#include "tests/board/ui/TestPieceSet.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace qv;
using qvtest::MakeTestPieceSet;
using qvtest::TestPieceColor;

namespace {

// Records where the floating piece image is each time it is painted.
class FloatSpy : public QObject {
public:
    FloatSpy() { qApp->installEventFilter(this); }
    ~FloatSpy() override { qApp->removeEventFilter(this); }
    QList<QPoint> positions;
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->objectName() == QLatin1String("floatingPiece"))
            positions << static_cast<QWidget*>(o)->pos();
        return false;
    }
};

QPoint CentreOf(const TChessBrd& b, Square sq) {
    return b.SquareToPixel(sq) + QPoint(b.SizeOfSquare() / 2, b.SizeOfSquare() / 2);
}

QColor ShownAt(TChessBrd& b, Square sq) {
    return b.grab().toImage().pixelColor(CentreOf(b, sq));
}

// Presses on one square, drags through a few points and releases on another.
void Drag(TChessBrd& b, Square from, QPoint to, Qt::MouseButton button = Qt::LeftButton) {
    const QPoint start = CentreOf(b, from);
    QTest::mousePress(&b, button, Qt::NoModifier, start);
    QTest::mouseMove(&b, start + QPoint(2, 1));
    QVERIFY(!b.Dragging()); // still within the drag distance
    QTest::mouseMove(&b, start + QPoint(QApplication::startDragDistance() + 3, 0));
    QVERIFY(b.Dragging());
    QTest::mouseMove(&b, (start + to) / 2);
    QTest::mouseMove(&b, to);
    QTest::mouseRelease(&b, button, Qt::NoModifier, to);
}

struct Fixture {
    TChessBrd board;
    QList<std::pair<Square, Square>> legal;
    QList<Square> illegal;
    Fixture() {
        board.SetCustomPieceSet(MakeTestPieceSet());
        board.OnLegalMove = [this](BoardModel*, Square a, Square b) {
            legal << std::make_pair(a, b);
        };
        board.OnIllegalMove = [this](BoardModel* sender, Square s) {
            QCOMPARE(sender, static_cast<BoardModel*>(&board));
            illegal << s;
        };
        board.show();
    }
};

} // namespace

class TestChessBrdInput : public QObject {
    Q_OBJECT
private slots:
    void legalDragPlaysWithoutAnimation();
    void floatingImageFollowsPointerAndOriginIsEmpty();
    void refusedDragReportsOrigin();
    void dropOutsideBoardIsRefused();
    void dropOnOriginPutsPieceBack();
    void pressOnEmptySquareOrBorderStartsNoDrag();
    void forbiddenCursorOverRefusedSquare();
    void escapeCancelsDrag();
    void ownerMayAcceptIllegalSquareSafely();
    void animationStepsStraight();
    void animationStepsKnight();
    void animationDelayWaits();
    void noAnimationWhenOff();
    void resizingByCorner();
    void clickIsLeftButtonOnly();
    void paintsAnnouncedOnlyForMovesAndRepaints();
    void dropOutsideControlIsCancelled();
    void moveOfDraggedPieceEndsDrag();
};

void TestChessBrdInput::legalDragPlaysWithoutAnimation() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    FloatSpy spy;
    Drag(f.board, E2, CentreOf(f.board, E4));
    QCOMPARE(f.legal.size(), 1);
    QCOMPARE(f.legal.first(), std::make_pair(E2, E4));
    QCOMPARE(f.board.DragFrom, E2);
    QCOMPARE(f.board.DropTo, E4);
    QVERIFY(!f.board.WhiteToMove());
    QVERIFY(f.illegal.isEmpty());
    QVERIFY(!f.board.Dragging());
    // The floating image was only painted while dragging (no slide after the drop).
    for (const QPoint& p : spy.positions) QVERIFY(p != f.board.SquareToPixel(E2));
    QCOMPARE(ShownAt(f.board, E4), TestPieceColor(0, 0));
    QCOMPARE(ShownAt(f.board, E2), QColor(0xC0, 0xC0, 0xC0));
    // Any button drags: Black answers with the right button.
    Drag(f.board, E7, CentreOf(f.board, E5), Qt::RightButton);
    QCOMPARE(f.legal.size(), 2);
    QVERIFY(f.board.WhiteToMove());
}

void TestChessBrdInput::floatingImageFollowsPointerAndOriginIsEmpty() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    const QPoint start = CentreOf(f.board, G1);
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
    const QPoint at(200, 150);
    QTest::mouseMove(&f.board, start + QPoint(10, 0));
    QTest::mouseMove(&f.board, at);
    auto* floating = f.board.findChild<QWidget*>(QStringLiteral("floatingPiece"));
    QVERIFY(floating && floating->isVisible());
    QCOMPARE(floating->geometry().center() + QPoint(1, 1), at); // centred on the pointer
    const QImage img = f.board.grab().toImage();
    QCOMPARE(img.pixelColor(CentreOf(f.board, G1)), QColor(0x80, 0x80, 0x80)); // g1 dark, empty
    QCOMPARE(img.pixelColor(at), TestPieceColor(0, 1)); // the knight under the pointer
    QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, at);
    QVERIFY(!floating->isVisible());
    QCOMPARE(f.illegal, QList<Square>{G1});
    QCOMPARE(ShownAt(f.board, G1), TestPieceColor(0, 1));
}

void TestChessBrdInput::refusedDragReportsOrigin() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    f.board.SetWhiteToMove(false);
    Drag(f.board, E2, CentreOf(f.board, E4));
    QVERIFY(f.legal.isEmpty());
    QCOMPARE(f.illegal, QList<Square>{E2});
    QCOMPARE(f.board.Position(), std::string(InitialPosition));
    QCOMPARE(ShownAt(f.board, E2), TestPieceColor(0, 0));
    QCOMPARE(ShownAt(f.board, E4), QColor(0xC0, 0xC0, 0xC0));
}

void TestChessBrdInput::dropOutsideBoardIsRefused() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    Drag(f.board, B1, QPoint(5, 200)); // on the border
    QCOMPARE(f.illegal, QList<Square>{B1});
    QCOMPARE(ShownAt(f.board, B1), TestPieceColor(0, 1));
}

void TestChessBrdInput::dropOnOriginPutsPieceBack() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    Drag(f.board, D2, CentreOf(f.board, D2) + QPoint(5, 5));
    QVERIFY(f.legal.isEmpty());
    QVERIFY(f.illegal.isEmpty());
    QCOMPARE(f.board.DropTo, D2);
    QCOMPARE(ShownAt(f.board, D2), TestPieceColor(0, 0));
    QVERIFY(f.board.WhiteToMove());
}

void TestChessBrdInput::pressOnEmptySquareOrBorderStartsNoDrag() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    for (const QPoint start : {CentreOf(f.board, E4), QPoint(10, 10)}) {
        QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(&f.board, start + QPoint(30, 30));
        QVERIFY(!f.board.Dragging());
        QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, start + QPoint(30, 30));
    }
    QVERIFY(f.illegal.isEmpty() && f.legal.isEmpty());
}

void TestChessBrdInput::escapeCancelsDrag() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    const QPoint start = CentreOf(f.board, C2);
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&f.board, CentreOf(f.board, C4));
    QVERIFY(f.board.Dragging());
    QTest::keyClick(&f.board, Qt::Key_Escape);
    QVERIFY(!f.board.Dragging());
    QCOMPARE(f.illegal, QList<Square>{C2});
    QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, C4));
    QVERIFY(f.legal.isEmpty());
    QCOMPARE(ShownAt(f.board, C2), TestPieceColor(0, 0));
    // Disabling the board mid-drag cancels the drag as well.
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, D2));
    QTest::mouseMove(&f.board, CentreOf(f.board, D4));
    QVERIFY(f.board.Dragging());
    f.board.setEnabled(false);
    QVERIFY(!f.board.Dragging());
    QCOMPARE(f.illegal, (QList<Square>{C2, D2}));
    QCOMPARE(ShownAt(f.board, D2), TestPieceColor(0, 0));
}

void TestChessBrdInput::forbiddenCursorOverRefusedSquare() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    const QPoint start = CentreOf(f.board, E2);
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(&f.board, start + QPoint(0, -10));
    QCOMPARE(f.board.cursor().shape(), Qt::ArrowCursor); // still over e2
    QTest::mouseMove(&f.board, CentreOf(f.board, E5));
    QCOMPARE(f.board.cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseMove(&f.board, CentreOf(f.board, E4));
    QCOMPARE(f.board.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, E4));
    QCOMPARE(f.board.cursor().shape(), Qt::ArrowCursor);

    // The owner's drag cursor shows over accepting squares; the board's own cursor returns.
    f.board.SetDragCursor(QCursor(Qt::ClosedHandCursor));
    f.board.setCursor(Qt::PointingHandCursor);
    const QPoint d7 = CentreOf(f.board, D7);
    QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, d7);
    QTest::mouseMove(&f.board, d7 + QPoint(0, 10));
    QCOMPARE(f.board.cursor().shape(), Qt::ClosedHandCursor);
    QTest::mouseMove(&f.board, CentreOf(f.board, D4));
    QCOMPARE(f.board.cursor().shape(), Qt::ForbiddenCursor);
    QTest::mouseMove(&f.board, CentreOf(f.board, D5));
    QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, D5));
    QCOMPARE(f.board.cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(f.board.State().At(D5), 'p');
}

void TestChessBrdInput::ownerMayAcceptIllegalSquareSafely() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    int overs = 0;
    f.board.OnDragOver = [&](TChessBrd* sender, QObject* source, int, int, bool& accept) {
        QCOMPARE(sender, &f.board);
        QCOMPARE(source, static_cast<QObject*>(&f.board));
        QVERIFY(accept); // offered as accepted
        ++overs;
    };
    Drag(f.board, E2, CentreOf(f.board, E5)); // accepted by the handler, refused by the rules
    QVERIFY(overs > 0);
    QVERIFY(f.legal.isEmpty());
    QCOMPARE(f.illegal, QList<Square>{E2});
    QCOMPARE(ShownAt(f.board, E2), TestPieceColor(0, 0));
}

void TestChessBrdInput::animationStepsStraight() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    FloatSpy spy;
    QVERIFY(f.board.MakeMove(E2, E4));
    QCOMPARE(spy.positions.size(), 81); // 80 pixels up, both ends included
    QCOMPARE(spy.positions.first(), f.board.SquareToPixel(E2));
    QCOMPARE(spy.positions.last(), f.board.SquareToPixel(E4));
    for (int i = 0; i < spy.positions.size(); ++i)
        QCOMPARE(spy.positions[i], f.board.SquareToPixel(E2) - QPoint(0, i));
    // A diagonal steps x: f8-b4 (after e7-e6) is 160 pixels wide.
    spy.positions.clear();
    QVERIFY(f.board.MakeMove(E7, E6));
    spy.positions.clear();
    QVERIFY(f.board.MakeMove(G1, F3));
    spy.positions.clear();
    QVERIFY(f.board.MakeMove(F8, B4));
    QCOMPARE(spy.positions.size(), 161);
    QCOMPARE(spy.positions[40], f.board.SquareToPixel(F8) + QPoint(-40, 40));
    QCOMPARE(ShownAt(f.board, B4), TestPieceColor(1, 2));
    QCOMPARE(ShownAt(f.board, F8), QColor(0x80, 0x80, 0x80));
}

void TestChessBrdInput::animationStepsKnight() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    FloatSpy spy;
    QVERIFY(f.board.MakeMove(G1, F3));
    const QPoint g1 = f.board.SquareToPixel(G1), f3 = f.board.SquareToPixel(F3);
    // First 40 pixels left along the first rank, then 80 up.
    QCOMPARE(spy.positions.size(), 41 + 81);
    for (int i = 0; i <= 40; ++i) QCOMPARE(spy.positions[i], g1 - QPoint(i, 0));
    for (int i = 0; i <= 80; ++i) QCOMPARE(spy.positions[41 + i], QPoint(f3.x(), g1.y() - i));
    QCOMPARE(ShownAt(f.board, F3), TestPieceColor(0, 1));
    // The other orientation slides the other way.
    f.board.SetWhiteOnTop(true);
    spy.positions.clear();
    QVERIFY(f.board.MakeMove(B8, C6));
    QCOMPARE(spy.positions.size(), 41 + 81);
    QCOMPARE(spy.positions.last(), f.board.SquareToPixel(C6));
    QCOMPARE(spy.positions[40].y(), f.board.SquareToPixel(B8).y());
}

void TestChessBrdInput::animationDelayWaits() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    f.board.SetAnimationDelay(1);
    QElapsedTimer t;
    t.start();
    QVERIFY(f.board.MakeMove(E2, E3)); // 41 steps of more than 1 ms each
    QVERIFY(t.elapsed() >= 41);
}

void TestChessBrdInput::noAnimationWhenOff() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    f.board.SetAnimateMoves(false);
    FloatSpy spy;
    QVERIFY(f.board.MakeMove(E2, E4));
    QVERIFY(spy.positions.isEmpty());
    QCOMPARE(ShownAt(f.board, E4), TestPieceColor(0, 0));
    QCOMPARE(ShownAt(f.board, E2), QColor(0xC0, 0xC0, 0xC0));
}

void TestChessBrdInput::resizingByCorner() {
    QWidget window;
    window.resize(1100, 1100);
    TChessBrd board(&window);
    board.move(10, 10);
    board.SetResizable(true);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QList<int> widths;
    struct Spy : QObject {
        QList<int>* w;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Resize) *w << static_cast<QResizeEvent*>(e)->size().width();
            return false;
        }
    } spy;
    spy.w = &widths;
    board.installEventFilter(&spy);

    QTest::mouseMove(&board, QPoint(100, 100));
    QCOMPARE(board.cursor().shape(), Qt::ArrowCursor);
    QTest::mouseMove(&board, QPoint(363, 363));
    QCOMPARE(board.cursor().shape(), Qt::SizeFDiagCursor);
    QTest::mouseMove(&board, QPoint(100, 100));
    QCOMPARE(board.cursor().shape(), Qt::ArrowCursor);
    QTest::mousePress(&board, Qt::LeftButton, Qt::NoModifier, QPoint(363, 363));
    QTest::mouseMove(&board, QPoint(365, 364));
    QTest::mouseMove(&board, QPoint(250, 300));
    QVERIFY(widths.contains(300));
    QTest::mouseMove(&board, QPoint(50, 60));
    QVERIFY(widths.contains(100));
    QTest::mouseRelease(&board, Qt::LeftButton, Qt::NoModifier, QPoint(50, 60));
    QTRY_COMPARE(board.width(), board.height()); // the next paint squares it
    QVERIFY(!board.Dragging());
    // Once released, moving no longer resizes.
    const QSize settled = board.size();
    QTest::mouseMove(&board, QPoint(30, 40));
    QCOMPARE(board.size(), settled);
}

void TestChessBrdInput::clickIsLeftButtonOnly() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    int clicks = 0;
    f.board.OnClick = [&](TChessBrd*) { ++clicks; };
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton})
        QTest::mouseClick(&f.board, button, Qt::NoModifier, CentreOf(f.board, E4));
    QCOMPARE(clicks, 0);
    QTest::mouseClick(&f.board, Qt::LeftButton, Qt::NoModifier, CentreOf(f.board, E4));
    QCOMPARE(clicks, 1);
}

void TestChessBrdInput::paintsAnnouncedOnlyForMovesAndRepaints() {
    // On a window of its own and as a child of another window (where the floating
    // image lives in the window, over the board).
    for (bool child : {false, true}) {
        QWidget window;
        window.resize(420, 420);
        TChessBrd board(child ? &window : nullptr);
        board.SetCustomPieceSet(MakeTestPieceSet());
        QWidget* shown = child ? &window : static_cast<QWidget*>(&board);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QTest::qWait(20);
        int paints = 0;
        board.OnPaint = [&](BoardModel*) { ++paints; };
        Drag(board, E2, CentreOf(board, E4));
        QTest::qWait(50);
        QCOMPARE(paints, 1); // the move's own announcement, none for the floating image
        paints = 0;
        Drag(board, E7, CentreOf(board, E7) + QPoint(4, 4)); // put back
        QTest::qWait(50);
        QCOMPARE(paints, 0);
        QVERIFY(board.MakeMove(E7, E5)); // animated
        QTest::qWait(50);
        QCOMPARE(paints, 1);
    }
}

void TestChessBrdInput::dropOutsideControlIsCancelled() {
    QWidget window;
    window.resize(640, 420);
    TChessBrd board(&window);
    board.move(10, 10);
    board.SetCustomPieceSet(MakeTestPieceSet());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QList<QPoint> overs, drops;
    QList<Square> illegal;
    QObject* endTarget = &board;
    board.OnDragOver = [&](TChessBrd*, QObject*, int x, int y, bool&) { overs << QPoint(x, y); };
    board.OnDragDrop = [&](TChessBrd*, QObject*, int x, int y) { drops << QPoint(x, y); };
    board.OnIllegalMove = [&](BoardModel*, Square s) { illegal << s; };
    board.OnEndDrag = [&](TChessBrd*, QObject* target, int, int) { endTarget = target; };
    const QPoint outside(500, 200); // beside the board, inside the window
    Drag(board, B1, outside);
    QVERIFY(!overs.isEmpty());
    QVERIFY(!overs.contains(outside));
    QVERIFY(drops.isEmpty());
    QCOMPARE(illegal, QList<Square>{B1});
    QCOMPARE(endTarget, nullptr);
    QCOMPARE(ShownAt(board, B1), TestPieceColor(0, 1));
}

void TestChessBrdInput::moveOfDraggedPieceEndsDrag() {
    Fixture f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.board));
    // Once with the slide, once without: the piece leaves its origin either way.
    for (const auto& [from, to, animate] : {std::tuple{E2, E4, true}, std::tuple{E7, E5, false}}) {
        f.board.SetAnimateMoves(animate);
        const QPoint start = CentreOf(f.board, from);
        QTest::mousePress(&f.board, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(&f.board, start + QPoint(0, 20));
        QVERIFY(f.board.Dragging());
        QVERIFY(f.board.MakeMove(from, to)); // a script's move of the same piece
        QVERIFY(!f.board.Dragging());
        const QColor fromSquare =
            IsLightSquare(from) ? QColor(0xC0, 0xC0, 0xC0) : QColor(0x80, 0x80, 0x80);
        QCOMPARE(ShownAt(f.board, from), fromSquare);
        QCOMPARE(ShownAt(f.board, to), TestPieceColor(animate ? 0 : 1, 0));
        QTest::mouseRelease(&f.board, Qt::LeftButton, Qt::NoModifier, start + QPoint(0, 20));
    }
    QCOMPARE(f.legal.size(), 2);
    QVERIFY(f.illegal.isEmpty());
}

QTEST_MAIN(TestChessBrdInput)
#include "tst_ChessBrdInput.moc"
