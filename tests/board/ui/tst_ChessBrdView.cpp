// The board's properties, geometry and painting, checked on grabbed pictures.
#include "board/ui/TChessBrd.h"
#include "engine/thread/TChessThread.h"
#include "tests/board/ui/TestPieceSet.h"

#include <QPaintEvent>
#include <QtTest>

using namespace qv;
using qvtest::MakeTestPieceSet;
using qvtest::TestPieceColor;

namespace {

// Collects the rectangles of the paint events a widget receives.
class PaintSpy : public QObject {
public:
    explicit PaintSpy(QWidget* w) { w->installEventFilter(this); }
    QList<QRect> rects;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) rects << static_cast<QPaintEvent*>(e)->rect();
        return false;
    }
};

QColor At(const QImage& img, int x, int y) {
    return img.pixelColor(x, y);
}
QColor Centre(const QImage& img, const TChessBrd& b, Square sq) {
    return At(img, b.SquareToPixel(sq).x() + b.SizeOfSquare() / 2,
              b.SquareToPixel(sq).y() + b.SizeOfSquare() / 2);
}
QColor Corner(const QImage& img, const TChessBrd& b, Square sq) {
    return At(img, b.SquareToPixel(sq).x() + 2, b.SquareToPixel(sq).y() + 2);
}
// Pixels of a rectangle that are not the given colour.
int CountOther(const QImage& img, const QRect& r, const QColor& c) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) != c) ++n;
    return n;
}

} // namespace

class TestChessBrdView : public QObject {
    Q_OBJECT
private slots:
    void initialProperties();
    void clampingAndIgnoredWrites();
    void customPieceSetShapes();
    void sizeProperties();
    void settersRepaintAtOnce();
    void pixelToSquareEdges();
    void squareColoursBothOrientations();
    void borderFramesAndCoordinates();
    void pieceMaskAndOffset();
    void sizeNormalisation();
    void texturesRunAcrossSquares();
    void gridLines();
    void partialRepaintsTouchOnlyTheirSquares();
    void unknownLetterPaintsEmptySquare();
    void clippedBoardStillHasFirstPaint();
    void scalablePiecesFollowSquareSize();
};

void TestChessBrdView::initialProperties() {
    TChessBrd b;
    QCOMPARE(b.size(), QSize(368, 368));
    QVERIFY(b.AnimateMoves);
    QCOMPARE(b.AnimationDelay, 0);
    QVERIFY(!b.BoardLines());
    QVERIFY(b.BorderBitmap().isNull());
    QCOMPARE(b.BorderColor(), QColor(0, 0, 0));
    QCOMPARE(int(b.CastlingAllowed()), int(AllCastling));
    QVERIFY(!b.ComputerPlaysBlack());
    QVERIFY(!b.ComputerPlaysWhite());
    QVERIFY(!b.Thinking());
    QCOMPARE(b.CoordFont().family(), QStringLiteral("Arial"));
    QCOMPARE(b.CoordFont().pointSize(), 7);
    QCOMPARE(b.CoordFontColor(), QColor(255, 255, 255));
    QCOMPARE(b.CurrentMove(), 1);
    QVERIFY(b.CustomPieceSet().isNull());
    QCOMPARE(int(b.DisplayCoords()), 0);
    QVERIFY(!b.CustomEngine());
    QCOMPARE(b.EnPassant(), None);
    QCOMPARE(b.LineStyle(), QPen());
    QCOMPARE(b.Position(), std::string(InitialPosition));
    QVERIFY(!b.Resizable());
    QCOMPARE(b.ResizeMinSize(), 100);
    QCOMPARE(b.ResizeMaxSize(), 1000);
    QCOMPARE(b.SearchDepth(), 1);
    QCOMPARE(b.SizeOfBorder(), 24);
    QCOMPARE(b.SizeOfSquare(), 40);
    QCOMPARE(b.SquareColorDark(), QColor(0x80, 0x80, 0x80));
    QCOMPARE(b.SquareColorLight(), QColor(0xC0, 0xC0, 0xC0));
    QVERIFY(b.SquareDark().isNull() && b.SquareLight().isNull());
    QVERIFY(!b.WhiteOnTop());
    QVERIFY(b.WhiteToMove());
    QCOMPARE(b.ThinkingPriority(), tpNormal);
    QCOMPARE(b.Version(), std::string());
    QCOMPARE(b.PromotionPiece, 'q');
    QVERIFY(!b.EngineHold && !b.GameOver && !b.FirstPaintDone());
    QVERIFY(b.isEnabled());
    QVERIFY(b.Thread() != nullptr);
    QVERIFY(b.Thread()->IsParked());
    // The built-in set: 40-pixel cells, every piece present.
    QCOMPARE(b.CellSize(), 40);
    for (char c : std::string("PNBRQKpnbrqk")) QCOMPARE(b.PieceImage(c).size(), QSize(40, 40));
}

void TestChessBrdView::clampingAndIgnoredWrites() {
    TChessBrd b;
    b.SetSearchDepth(0);
    QCOMPARE(b.SearchDepth(), 1);
    b.SetSearchDepth(8);
    QCOMPARE(b.SearchDepth(), 8);
    b.SetSearchDepth(20);
    QCOMPARE(b.SearchDepth(), 8);
    b.SetSearchDepth(5);
    QCOMPARE(b.SearchDepth(), 5);

    b.SetResizeMinSize(2000);
    QCOMPARE(b.ResizeMinSize(), 1000);
    b.SetResizeMinSize(100);
    b.SetResizeMaxSize(50);
    QCOMPARE(b.ResizeMaxSize(), 100);

    b.SetThinking(true);
    QVERIFY(!b.Thinking());
    b.SetCurrentMove(7);
    QCOMPARE(b.CurrentMove(), 1);
    b.SetVersion("9.9");
    QCOMPARE(b.Version(), std::string());

    b.SetThinkingPriority(tpIdle);
    QCOMPARE(b.ThinkingPriority(), tpIdle);
    QCOMPARE(TChessThread::ToQtPriority(tpIdle), QThread::IdlePriority);
    QCOMPARE(TChessThread::ToQtPriority(tpTimeCritical), QThread::TimeCriticalPriority);
    QCOMPARE(TChessThread::ToQtPriority(tpLower), QThread::LowPriority);

    // Writing the computer's sides halts and restarts the thread; nothing plays.
    b.SetComputerPlaysWhite(true);
    QVERIFY(b.ComputerPlaysWhite());
    b.SetComputerPlaysWhite(false);
    QVERIFY(!b.ComputerPlaysWhite());
    QCOMPARE(b.Position(), std::string(InitialPosition));
}

void TestChessBrdView::customPieceSetShapes() {
    TChessBrd b;
    b.SetCustomPieceSet(MakeTestPieceSet(40));
    QCOMPARE(b.CellSize(), 40);
    QImage square(300, 300, QImage::Format_RGB32);
    square.fill(Qt::red);
    b.SetCustomPieceSet(square); // wrong shape: ignored, the old set stays
    QCOMPARE(b.CustomPieceSet().size(), QSize(240, 160));
    QCOMPARE(b.CellSize(), 40);
    b.SetCustomPieceSet(MakeTestPieceSet(80)); // 480 x 320
    QCOMPARE(b.CustomPieceSet().size(), QSize(480, 320));
    QCOMPARE(b.CellSize(), 80);
    QCOMPARE(b.PieceImage('K').size(), QSize(80, 80));
    b.SetCustomPieceSet(QPixmap()); // back to the built-in set
    QVERIFY(b.CustomPieceSet().isNull());
    QVERIFY(!TChessBrd::IsValidPieceSet(QImage()));
    QVERIFY(TChessBrd::IsValidPieceSet(QImage(192, 128, QImage::Format_RGB32)));
    QCOMPARE(TChessBrd::PieceImageIndex('P'), 0);
    QCOMPARE(TChessBrd::PieceImageIndex('k'), 11);
    QCOMPARE(TChessBrd::PieceImageIndex('x'), -1);
    QCOMPARE(TChessBrd::PieceImageIndex(' '), -1);
}

void TestChessBrdView::sizeProperties() {
    TChessBrd b;
    b.SetSizeOfSquare(50);
    QCOMPARE(b.size(), QSize(448, 448));
    b.Paint();
    QCOMPARE(b.SizeOfSquare(), 50);
    b.SetSizeOfBorder(10);
    QCOMPARE(b.size(), QSize(420, 420));
    b.Paint();
    QCOMPARE(b.SizeOfSquare(), 50);
    QCOMPARE(b.SquareToPixel(A8), QPoint(10, 10));
}

void TestChessBrdView::settersRepaintAtOnce() {
    TChessBrd b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    int painted = 0;
    b.OnPaint = [&](BoardModel* sender) {
        QCOMPARE(sender, static_cast<BoardModel*>(&b));
        ++painted;
    };
    PaintSpy spy(&b);
    b.SetBorderColor(Qt::white); // no event loop in between: the paint is synchronous
    QCOMPARE(painted, 1);
    QCOMPARE(spy.rects.size(), 1);
    QCOMPARE(spy.rects.first(), b.rect());
    b.SetWhiteOnTop(true);
    b.SetBoardLines(true);
    b.SetSquareColorDark(Qt::darkGreen);
    b.SetDisplayCoords(AllCoords);
    QCOMPARE(painted, 5);
    b.SetAnimateMoves(false); // stored only
    b.SetResizable(true);
    QCOMPARE(painted, 5);
    // A repaint from the window system is announced too; the board's own square
    // repaints are not.
    painted = 0;
    b.update();
    QTRY_COMPARE(painted, 1);
    b.PaintSquare(E4);
    b.DrawPiece(E4, 'Q');
    QCOMPARE(painted, 1);
}

void TestChessBrdView::pixelToSquareEdges() {
    TChessBrd b;
    QCOMPARE(b.PixelToSquare(24, 24), A8);
    QCOMPARE(b.PixelToSquare(23, 24), None);
    QCOMPARE(b.PixelToSquare(24, 23), None);
    QCOMPARE(b.PixelToSquare(24 + 319, 24 + 319), H1);
    QCOMPARE(b.PixelToSquare(24 + 320, 30), None); // 8 squares to the right: outside
    QCOMPARE(b.PixelToSquare(30, 24 + 320), None);
    QCOMPARE(b.PixelToSquare(24 + 40, 24 + 39), B8);
    QCOMPARE(b.PixelToSquare(-5, -5), None);
    b.SetWhiteOnTop(true);
    QCOMPARE(b.PixelToSquare(24, 24), H1);
    QCOMPARE(b.PixelToSquare(24 + 319, 24 + 319), A8);
    QCOMPARE(b.SquareToPixel(H1), QPoint(24, 24));
    QCOMPARE(b.SquareToPixel(A8), QPoint(24 + 280, 24 + 280));
    for (int sq = 1; sq <= 64; ++sq) {
        const QPoint p = b.SquareToPixel(static_cast<Square>(sq));
        QCOMPARE(int(b.PixelToSquare(p.x(), p.y())), sq);
    }
}

void TestChessBrdView::squareColoursBothOrientations() {
    TChessBrd b;
    b.SetCustomPieceSet(MakeTestPieceSet());
    b.SetPosition(std::string(64, ' '));
    QImage img = b.grab().toImage();
    const QColor light(0xC0, 0xC0, 0xC0), dark(0x80, 0x80, 0x80);
    QCOMPARE(Centre(img, b, A8), light);
    QCOMPARE(Centre(img, b, B8), dark);
    QCOMPARE(Centre(img, b, A1), dark);
    QCOMPARE(Centre(img, b, H1), light);
    QCOMPARE(At(img, 24 + 20, 24 + 20), light); // top-left square on screen
    QCOMPARE(At(img, 24 + 60, 24 + 20), dark);
    b.SetPosition(std::string(InitialPosition));
    b.SetWhiteOnTop(true);
    img = b.grab().toImage();
    // h1 is top left now and still light; the white king sits on the top row.
    QCOMPARE(b.SquareToPixel(H1), QPoint(24, 24));
    QCOMPARE(Corner(img, b, H1), light);
    QCOMPARE(Corner(img, b, G1), dark);
    QCOMPARE(Centre(img, b, E1), TestPieceColor(0, 5));
    QCOMPARE(b.SquareToPixel(E1), QPoint(24 + 3 * 40, 24));
    QCOMPARE(Centre(img, b, E8), TestPieceColor(1, 5));
    QCOMPARE(b.SquareToPixel(E8).y(), 24 + 7 * 40);
}

void TestChessBrdView::borderFramesAndCoordinates() {
    TChessBrd b;
    b.SetBorderColor(QColor(10, 20, 30));
    QImage img = b.grab().toImage();
    const QColor border(10, 20, 30), black(0, 0, 0);
    QCOMPARE(At(img, 0, 0), black); // outer frame
    QCOMPARE(At(img, 367, 367), black);
    QCOMPARE(At(img, 23, 100), black);  // inner frame, left
    QCOMPARE(At(img, 344, 100), black); // inner frame, right
    QCOMPARE(At(img, 5, 100), border);
    const QRect west(1, 25, 21, 318), north(25, 1, 318, 21), east(346, 25, 21, 318),
        south(25, 346, 318, 21);
    for (const QRect& r : {west, north, east, south}) QCOMPARE(CountOther(img, r, border), 0);

    b.SetDisplayCoords(West | North);
    img = b.grab().toImage();
    QVERIFY(CountOther(img, west, border) > 20);
    QVERIFY(CountOther(img, north, border) > 20);
    QCOMPARE(CountOther(img, east, border), 0);
    QCOMPARE(CountOther(img, south, border), 0);
    // Every rank label sits beside its own square row.
    for (int i = 0; i < 8; ++i)
        QVERIFY(CountOther(img, QRect(1, 24 + i * 40 + 8, 21, 24), border) > 3);

    b.SetDisplayCoords(East | South);
    img = b.grab().toImage();
    QCOMPARE(CountOther(img, west, border), 0);
    QVERIFY(CountOther(img, east, border) > 20);
    QVERIFY(CountOther(img, south, border) > 20);

    // The two orientations label the files in opposite orders.
    b.SetDisplayCoords(North);
    const QRect letters(24, 1, 320, 21);
    const QImage normal = b.grab().toImage().copy(letters);
    b.SetWhiteOnTop(true);
    const QImage flipped = b.grab().toImage().copy(letters);
    QVERIFY(normal != flipped);
    QCOMPARE(normal.copy(0, 0, 40, 21), flipped.copy(280, 0, 40, 21)); // "A" at both ends

    QPixmap tile(7, 5);
    tile.fill(QColor(1, 200, 3));
    b.SetDisplayCoords(0);
    b.SetBorderBitmap(tile);
    img = b.grab().toImage();
    QCOMPARE(At(img, 5, 100), QColor(1, 200, 3));
    QCOMPARE(At(img, 0, 0), black);
}

void TestChessBrdView::pieceMaskAndOffset() {
    TChessBrd b;
    b.SetCustomPieceSet(MakeTestPieceSet());
    QImage img = b.grab().toImage();
    const QColor light(0xC0, 0xC0, 0xC0), dark(0x80, 0x80, 0x80);
    // e2 (light) holds a White pawn: the masked part shows the picture, the rest the square.
    QCOMPARE(Centre(img, b, E2), TestPieceColor(0, 0));
    QCOMPARE(Corner(img, b, E2), light);
    QCOMPARE(Centre(img, b, D8), TestPieceColor(1, 4));
    QCOMPARE(Corner(img, b, D8), dark);
    QCOMPARE(Centre(img, b, E4), light);
    // The magenta picture background never shows.
    QCOMPARE(img.copy(24, 24, 320, 320).pixelColor(0, 0) == qvtest::TestBackground(), false);
    for (int y = 24; y < 344; y += 3)
        for (int x = 24; x < 344; x += 3) QVERIFY(img.pixelColor(x, y) != qvtest::TestBackground());

    // Square 31 with 40-pixel cells: d = (31 - 40) / 2 = -4 (truncated towards zero).
    b.SetSizeOfSquare(31);
    b.Paint();
    QCOMPARE(b.SizeOfSquare(), 31);
    img = b.grab().toImage();
    const QPoint e2 = b.SquareToPixel(E2);
    // The mask covers cell pixels 10..29, so the piece spans e2 + (6..25).
    QCOMPARE(At(img, e2.x() + 6, e2.y() + 6), TestPieceColor(0, 0));
    QCOMPARE(At(img, e2.x() + 25, e2.y() + 25), TestPieceColor(0, 0));
    QVERIFY(At(img, e2.x() + 5, e2.y() + 15) != TestPieceColor(0, 0));
    QVERIFY(At(img, e2.x() + 26, e2.y() + 15) != TestPieceColor(0, 0));
}

void TestChessBrdView::sizeNormalisation() {
    TChessBrd b;
    b.resize(400, 300);
    b.Paint();
    QCOMPARE(b.size(), QSize(344, 344));
    QCOMPARE(b.SizeOfSquare(), 37);
    // A framework paint normalises too.
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.resize(500, 368);
    QTRY_COMPARE(b.size(), QSize(432, 432));
    QCOMPARE(b.SizeOfSquare(), 48);
}

void TestChessBrdView::texturesRunAcrossSquares() {
    TChessBrd b;
    b.SetPosition(std::string(64, ' '));
    // A 16 x 16 texture with one marked pixel at (0, 0) of every tile.
    QImage t(16, 16, QImage::Format_RGB32);
    t.fill(QColor(50, 60, 70));
    t.setPixelColor(0, 0, QColor(250, 1, 1));
    b.SetSquareDark(QPixmap::fromImage(t));
    QImage l(16, 16, QImage::Format_RGB32);
    l.fill(QColor(200, 210, 220));
    l.setPixelColor(0, 0, QColor(1, 250, 1));
    b.SetSquareLight(QPixmap::fromImage(l));
    const QImage img = b.grab().toImage();
    // Marks sit where x and y are multiples of 16 from the control's origin.
    QCOMPARE(At(img, 64, 32), QColor(250, 1, 1)); // b8 (dark): 64..103 x 24..63
    QCOMPARE(At(img, 65, 32), QColor(50, 60, 70));
    QCOMPARE(At(img, 32, 32), QColor(1, 250, 1));  // a8 (light)
    QCOMPARE(At(img, 112, 32), QColor(1, 250, 1)); // c8 (light), same tiling
    // Repainting one square keeps the alignment.
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    b.PaintSquare(B8);
    QCOMPARE(b.grab(b.SquareRect(B8)).toImage().pixelColor(64 - 64, 32 - 24), QColor(250, 1, 1));
}

void TestChessBrdView::gridLines() {
    TChessBrd b;
    b.SetPosition(std::string(64, ' '));
    QImage img = b.grab().toImage();
    QCOMPARE(At(img, 64, 30), QColor(0x80, 0x80, 0x80)); // b8's first column: no line
    b.SetLineStyle(QPen(QColor(0, 0, 255)));
    b.SetBoardLines(true);
    img = b.grab().toImage();
    for (int i = 1; i <= 7; ++i) {
        QCOMPARE(At(img, 24 + 40 * i, 30), QColor(0, 0, 255));
        QCOMPARE(At(img, 30, 24 + 40 * i), QColor(0, 0, 255));
    }
    QCOMPARE(At(img, 24 + 40 + 1, 30), QColor(0x80, 0x80, 0x80));
    QCOMPARE(At(img, 0, 0), QColor(0, 0, 255)); // the frames use the same pen
}

void TestChessBrdView::partialRepaintsTouchOnlyTheirSquares() {
    TChessBrd b;
    b.SetCustomPieceSet(MakeTestPieceSet());
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    PaintSpy spy(&b);
    b.PaintSquare(E2);
    QCOMPARE(spy.rects, QList<QRect>{b.SquareRect(E2)});
    QCOMPARE(Centre(b.grab().toImage(), b, E2), QColor(0xC0, 0xC0, 0xC0)); // shown empty
    spy.rects.clear();
    b.DrawPiece(E2, 'P');
    QCOMPARE(spy.rects, QList<QRect>{b.SquareRect(E2)});
    QCOMPARE(Centre(b.grab().toImage(), b, E2), TestPieceColor(0, 0));
    spy.rects.clear();
    const std::string before = b.Position();
    QVERIFY(b.MakeMove(E2, E4) || true);
    spy.rects.clear();
    QVERIFY(b.MoveBack());
    QCOMPARE(spy.rects.size(), 1);
    QCOMPARE(spy.rects.first(), b.SquareRect(E2).united(b.SquareRect(E4)));
    QCOMPARE(b.Position(), before);
}

void TestChessBrdView::unknownLetterPaintsEmptySquare() {
    TChessBrd b;
    b.SetCustomPieceSet(MakeTestPieceSet());
    std::string pos(64, ' ');
    pos[E4 - 1] = 'x';
    b.SetPosition(pos);
    const QImage img = b.grab().toImage();
    QCOMPARE(Centre(img, b, E4), QColor(0xC0, 0xC0, 0xC0));
}

void TestChessBrdView::clippedBoardStillHasFirstPaint() {
    // The parent shows only part of the board: its first paint never covers the whole
    // control, yet it is the first complete paint of what can be seen.
    QWidget parent;
    parent.resize(200, 150);
    TChessBrd b(&parent);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    QTRY_VERIFY(b.FirstPaintDone());
    QTRY_VERIFY(b.Thread()->Passes() >= 1);
}

void TestChessBrdView::scalablePiecesFollowSquareSize() {
    TChessBrd b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    const QImage builtIn = b.PieceImage('N').toImage();
    b.SetScalablePieceSet(true);
    QVERIFY(b.ScalablePieceSet());
    QCOMPARE(b.CellSize(), 40);
    QVERIFY(b.PieceImage('N').toImage() != builtIn); // drawn, not the built-in bitmap
    // A larger board: after the next paint the pieces are drawn for 70-pixel squares.
    b.resize(8 * 70 + 48, 8 * 70 + 48);
    QTRY_COMPARE(b.SizeOfSquare(), 70);
    QTRY_COMPARE(b.CellSize(), 70);
    // Each piece fills its square: opaque in the middle, transparent at the corners,
    // and the square shows around it.
    for (char piece : std::string("PNBRQKpnbrqk")) {
        const QImage img = b.PieceImage(piece).toImage();
        QCOMPARE(img.size(), QSize(70, 70));
        QCOMPARE(qAlpha(img.pixel(35, 45)), 255);
        QCOMPARE(qAlpha(img.pixel(1, 1)), 0);
    }
    const QImage shown = b.grab().toImage();
    QCOMPARE(Corner(shown, b, E1), QColor(0x80, 0x80, 0x80));
    QVERIFY(Centre(shown, b, E1) != QColor(0x80, 0x80, 0x80));
    // An accepted custom set takes over.
    b.SetCustomPieceSet(MakeTestPieceSet());
    QVERIFY(!b.ScalablePieceSet());
    QCOMPARE(b.CellSize(), 40);
}

QTEST_MAIN(TestChessBrdView)
#include "tst_ChessBrdView.moc"
