// Tests of the diagram window: cells and orientation, pawns only, the inverting pen, arrows
// and their heads, colour names, the window's commands and a missing picture.
#include "script/ui/TForm2.h"

#include "board/core/Square.h"

#include <QEvent>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cstdlib>
#include <map>

using qv::TForm2;

namespace {

const std::string Initial = "rnbqkbnrpppppppp                                PPPPPPPPRNBQKBNR";

// The 26 picture names, each drawn in its own flat colour so that a cell tells which picture
// it was drawn from.
const char* const PictureNames[] = {
    "white", "black", "rbb", "rbn", "rnb", "rnn", "dbb", "dbn", "dnb", "dnn", "tbb", "tbn", "tnb",
    "tnn",   "abb",   "abn", "anb", "ann", "cbb", "cbn", "cnb", "cnn", "pbb", "pbn", "pnb", "pnn"};

QColor PictureColour(int index) {
    // Levels 30, 130 and 230 per channel: every two colours differ by 100 in some channel.
    const int levels[3] = {30, 130, 230};
    return QColor(levels[index % 3], levels[(index / 3) % 3], levels[(index / 9) % 3]);
}

bool Near(QRgb a, QRgb b, int tolerance = 24) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

// Which picture a cell (column, row from the top left) of the diagram shows.
QString CellPicture(const QImage& picture, int column, int row) {
    const QRgb sample = picture.pixel(column * 36 + 8, row * 36 + 8);
    for (int i = 0; i < 26; ++i)
        if (Near(sample, PictureColour(i).rgb())) return QString::fromLatin1(PictureNames[i]);
    return QStringLiteral("?");
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) ++count;
    return count;
}

QRgb Inverted(QRgb picture, QColor pen) {
    return 0xFF000000u | (~(picture ^ pen.rgb()) & 0xFFFFFFu);
}

} // namespace

class TForm2Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void diagramLettersAndFileNames();
    void cellsWithWhiteAtTheBottom();
    void cellsWithWhiteAtTheTop();
    void pawnsOnly();
    void missingPictureEndsTheDrawing();

    void cellCentresOfBothOrientations();
    void circleInvertsItsRingAndTwiceRestores();
    void squareFramesTheCellAndTwiceRestores();
    void colourNamesAndThePreviousColour();
    void annotationsFollowTheOrientation();
    void squareWordsThatNameNoSquareDrawNothing();
    void rankThatIsNotADigitIsAConversionError();

    void arrowHeadEndPoints_data();
    void arrowHeadEndPoints();
    void arrowDrawsShaftAndHead();

    void windowCommands();
    void activationRedrawsAndRemovesAnnotations();

private:
    QTemporaryDir m_pictures;
    std::string m_position = Initial;
    bool m_whiteOnTop = false;
    std::unique_ptr<TForm2> m_form;
};

void TForm2Test::initTestCase() {
    QVERIFY(m_pictures.isValid());
    for (int i = 0; i < 26; ++i) {
        // Larger than a cell, so that the picture is scaled down as the real ones may be.
        QImage image(48, 48, QImage::Format_RGB32);
        image.fill(PictureColour(i));
        QVERIFY(image.save(m_pictures.filePath(QString::fromLatin1(PictureNames[i]) + ".jpg"),
                           "JPG", 100));
    }
}

void TForm2Test::init() {
    m_position = Initial;
    m_whiteOnTop = false;
    m_form = std::make_unique<TForm2>();
    m_form->SetProgramDir(m_pictures.path() + "/");
    m_form->SetSource([this] { return m_position; }, [this] { return m_whiteOnTop; });
}

void TForm2Test::diagramLettersAndFileNames() {
    QCOMPARE(TForm2::DiagramPosition(Initial),
             std::string("tcadractpppppppp11111111111111111111111111111111PPPPPPPPTCADRACT"));
    // A short string is padded with empty squares; unknown characters are empty squares.
    QCOMPARE(TForm2::DiagramPosition("K?k"), std::string("R1r") + std::string(61, '1'));

    QCOMPARE(TForm2::ImageFileName('R', false, false), QStringLiteral("rbn.jpg"));
    QCOMPARE(TForm2::ImageFileName('p', true, false), QStringLiteral("pnb.jpg"));
    QCOMPARE(TForm2::ImageFileName('1', true, false), QStringLiteral("white.jpg"));
    QCOMPARE(TForm2::ImageFileName('1', false, false), QStringLiteral("black.jpg"));
    QCOMPARE(TForm2::ImageFileName('D', true, true), QStringLiteral("white.jpg"));
    QCOMPARE(TForm2::ImageFileName('t', false, true), QStringLiteral("black.jpg"));
    QCOMPARE(TForm2::ImageFileName('P', false, true), QStringLiteral("pbn.jpg"));
}

void TForm2Test::cellsWithWhiteAtTheBottom() {
    QString error;
    QVERIFY2(m_form->DrawDiagram(&error), qPrintable(error));
    const QImage& p = m_form->Picture();
    QCOMPARE(CellPicture(p, 0, 0), QStringLiteral("tnb"));   // a8: black rook, light square
    QCOMPARE(CellPicture(p, 4, 0), QStringLiteral("rnb"));   // e8: black king, light
    QCOMPARE(CellPicture(p, 3, 0), QStringLiteral("dnn"));   // d8: black queen, dark
    QCOMPARE(CellPicture(p, 1, 1), QStringLiteral("pnb"));   // b7: black pawn, light
    QCOMPARE(CellPicture(p, 4, 4), QStringLiteral("white")); // e4 empty light
    QCOMPARE(CellPicture(p, 3, 4), QStringLiteral("black")); // d4 empty dark
    QCOMPARE(CellPicture(p, 0, 7), QStringLiteral("tbn"));   // a1: white rook, dark
    QCOMPARE(CellPicture(p, 4, 7), QStringLiteral("rbn"));   // e1: white king, dark
    QCOMPARE(CellPicture(p, 6, 7), QStringLiteral("cbn"));   // g1: white knight, dark
    QCOMPARE(CellPicture(p, 5, 7), QStringLiteral("abb"));   // f1: white bishop, light
    QCOMPARE(CellPicture(p, 7, 7), QStringLiteral("tbb"));   // h1: white rook, light

    // Every cell is filled, in the alternating square colours.
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) {
            const QString name = CellPicture(p, column, row);
            QVERIFY2(name != "?", qPrintable(QString("cell %1,%2").arg(column).arg(row)));
            const bool light = (row + column) % 2 == 0;
            QCOMPARE(name.endsWith(light ? "b" : "n") || name == (light ? "white" : "black"), true);
        }
}

void TForm2Test::cellsWithWhiteAtTheTop() {
    m_whiteOnTop = true;
    m_position = std::string(64, ' ');
    m_position[qv::E4 - 1] = 'Q'; // white queen on e4, a light square
    m_position[qv::C7 - 1] = 'n'; // black knight on c7, a dark square
    QVERIFY(m_form->DrawDiagram());
    const QImage& p = m_form->Picture();
    // h1 lies at the top left, a8 at the bottom right.
    QCOMPARE(CellPicture(p, 0, 0), QStringLiteral("white")); // h1
    QCOMPARE(CellPicture(p, 7, 7), QStringLiteral("white")); // a8
    QCOMPARE(CellPicture(p, 3, 3), QStringLiteral("dbb"));   // e4 at (126, 126)
    QCOMPARE(CellPicture(p, 5, 6), QStringLiteral("cnn"));   // c7
    QCOMPARE(CellPicture(p, 4, 3), QStringLiteral("black")); // d4
}

void TForm2Test::pawnsOnly() {
    QVERIFY(m_form->ShowBoard(true));
    QVERIFY(m_form->StructureOnly());
    const QImage& p = m_form->Picture();
    for (int column = 0; column < 8; ++column) {
        const bool lightOnRank8 = column % 2 == 0;
        QCOMPARE(CellPicture(p, column, 0), QString(lightOnRank8 ? "white" : "black"));
        QCOMPARE(CellPicture(p, column, 1), QString(lightOnRank8 ? "pnn" : "pnb"));
        QCOMPARE(CellPicture(p, column, 6), QString(lightOnRank8 ? "pbb" : "pbn"));
        QCOMPARE(CellPicture(p, column, 7), QString(lightOnRank8 ? "black" : "white"));
    }
    // ".board" keeps the mode; ".quitboard" ends it.
    QVERIFY(m_form->ShowBoard(false));
    QVERIFY(m_form->StructureOnly());
    QCOMPARE(CellPicture(m_form->Picture(), 4, 7), QStringLiteral("black"));
    m_form->QuitBoard();
    QVERIFY(!m_form->StructureOnly());
    QVERIFY(m_form->DrawDiagram());
    QCOMPARE(CellPicture(m_form->Picture(), 4, 7), QStringLiteral("rbn"));
}

void TForm2Test::missingPictureEndsTheDrawing() {
    // First a diagram with an empty first rank, so that cells left undrawn can be told.
    m_position = Initial;
    for (int sq = qv::A1; sq <= qv::H1; ++sq) m_position[static_cast<std::size_t>(sq - 1)] = ' ';
    QVERIFY(m_form->DrawDiagram());
    QCOMPARE(CellPicture(m_form->Picture(), 7, 7), QStringLiteral("white"));

    QTemporaryDir partial;
    for (const char* name : PictureNames)
        if (std::string(name) != "rbn")
            QVERIFY(QFile::copy(m_pictures.filePath(QString(name) + ".jpg"),
                                partial.filePath(QString(name) + ".jpg")));
    m_form->SetProgramDir(partial.path());
    m_position = Initial;
    QString error;
    QVERIFY(!m_form->DrawDiagram(&error));
    QVERIFY2(error.contains("rbn.jpg"), qPrintable(error));
    QVERIFY2(error.contains("not found", Qt::CaseInsensitive), qPrintable(error));
    // The squares before e1 are drawn, those after it are not.
    QCOMPARE(CellPicture(m_form->Picture(), 3, 7), QStringLiteral("dbb"));   // d1
    QCOMPARE(CellPicture(m_form->Picture(), 5, 7), QStringLiteral("white")); // f1 as before
    QCOMPARE(CellPicture(m_form->Picture(), 7, 7), QStringLiteral("white")); // h1 as before

    // The window's command reports the same error to its caller.
    QCOMPARE(QString::fromStdString(m_form->DiagramCommand("board", {})), error);
}

void TForm2Test::cellCentresOfBothOrientations() {
    QCOMPARE(TForm2::CellCentre(5, 4, false), QPoint(162, 162));
    QCOMPARE(TForm2::CellCentre(1, 1, false), QPoint(18, 270));
    QCOMPARE(TForm2::CellCentre(8, 8, false), QPoint(270, 18));
    QCOMPARE(TForm2::CellCentre(5, 4, true), QPoint(126, 126));
    QCOMPARE(TForm2::CellCentre(8, 1, true), QPoint(18, 18));

    QCOMPARE(TForm2::ParseSquare("E4"), std::make_optional(std::make_pair(5, 4)));
    QCOMPARE(TForm2::ParseSquare("e4"), std::make_optional(std::make_pair(5, 4)));
    QCOMPARE(TForm2::ParseSquare("h8xyz"), std::make_optional(std::make_pair(8, 8)));
    QVERIFY(!TForm2::ParseSquare(""));
    QVERIFY(!TForm2::ParseSquare("E"));
    QVERIFY(!TForm2::ParseSquare("I4"));
    QVERIFY(!TForm2::ParseSquare("E9"));
    QVERIFY(!TForm2::ParseSquare("E0"));
    QVERIFY(!TForm2::ParseSquare("Ex"));
    QVERIFY(!TForm2::ParseSquare("4E"));
}

void TForm2Test::circleInvertsItsRingAndTwiceRestores() {
    QVERIFY(m_form->DrawDiagram());
    const QImage before = m_form->Picture().copy();

    QVERIFY(m_form->DrawCircle("E4", "red"));
    const QImage& after = m_form->Picture();
    const QColor red(255, 0, 0);
    // On the ring (the top of the circle round e4's centre at 162,162): inverted exactly.
    QCOMPARE(after.pixel(161, 144), Inverted(before.pixel(161, 144), red));
    QCOMPARE(after.pixel(144, 161), Inverted(before.pixel(144, 161), red));
    // The centre and the cell's corners (outside the circle) keep their picture.
    QCOMPARE(after.pixel(162, 162), before.pixel(162, 162));
    QCOMPARE(after.pixel(145, 145), before.pixel(145, 145));
    // The ring is five pixels wide: from 15 to 20 pixels from the centre.
    QCOMPARE(after.pixel(161, 162 - 21), before.pixel(161, 162 - 21));
    QCOMPARE(after.pixel(161, 162 - 20), Inverted(before.pixel(161, 162 - 20), red));
    QCOMPARE(after.pixel(161, 162 - 16), Inverted(before.pixel(161, 162 - 16), red));
    QCOMPARE(after.pixel(161, 162 - 15), before.pixel(161, 162 - 15));
    QVERIFY(DifferingPixels(before, after) > 300);

    QVERIFY(m_form->DrawCircle("E4", "RED"));
    QCOMPARE(DifferingPixels(before, m_form->Picture()), 0);
}

void TForm2Test::squareFramesTheCellAndTwiceRestores() {
    QVERIFY(m_form->DrawDiagram());
    const QImage before = m_form->Picture().copy();
    const QColor green(0, 128, 0);

    QVERIFY(m_form->DrawSquare("A1", "green"));
    const QImage& after = m_form->Picture();
    // a1's cell spans x 0..35, y 252..287; the frame runs on its outermost pixels.
    QCOMPARE(after.pixel(0, 270), Inverted(before.pixel(0, 270), green));
    QCOMPARE(after.pixel(2, 270), Inverted(before.pixel(2, 270), green));
    QCOMPARE(after.pixel(3, 270), before.pixel(3, 270));
    QCOMPARE(after.pixel(35, 270), Inverted(before.pixel(35, 270), green));
    QCOMPARE(after.pixel(37, 270), Inverted(before.pixel(37, 270), green));
    QCOMPARE(after.pixel(38, 270), before.pixel(38, 270));
    QCOMPARE(after.pixel(18, 250), Inverted(before.pixel(18, 250), green));
    QCOMPARE(after.pixel(18, 249), before.pixel(18, 249));
    QCOMPARE(after.pixel(18, 270), before.pixel(18, 270)); // inside keeps its picture
    QCOMPARE(after.pixel(0, 252), Inverted(before.pixel(0, 252), green)); // corner, once

    // Mixed drawings undo in any order.
    QVERIFY(m_form->DrawCircle("B2", "aqua"));
    QVERIFY(m_form->DrawSquare("B2", "yellow"));
    QVERIFY(m_form->DrawSquare("A1", "green"));
    QVERIFY(m_form->DrawCircle("B2", "aqua"));
    QVERIFY(m_form->DrawSquare("B2", "yellow"));
    QCOMPARE(DifferingPixels(before, m_form->Picture()), 0);
}

void TForm2Test::colourNamesAndThePreviousColour() {
    QCOMPARE(TForm2::ColourByName("red"), std::make_optional(QColor(255, 0, 0)));
    QCOMPARE(TForm2::ColourByName("Yellow"), std::make_optional(QColor(255, 255, 0)));
    QCOMPARE(TForm2::ColourByName("BLUE"), std::make_optional(QColor(0, 0, 255)));
    QCOMPARE(TForm2::ColourByName("white"), std::make_optional(QColor(255, 255, 255)));
    QCOMPARE(TForm2::ColourByName("green"), std::make_optional(QColor(0, 128, 0)));
    QCOMPARE(TForm2::ColourByName("aqua"), std::make_optional(QColor(0, 255, 255)));
    QVERIFY(!TForm2::ColourByName("pink"));
    QVERIFY(!TForm2::ColourByName(""));

    QVERIFY(m_form->DrawDiagram());
    QCOMPARE(m_form->PenColour(), QColor(Qt::black)); // before the first drawing
    const QImage before = m_form->Picture().copy();
    QVERIFY(m_form->DrawCircle("E4", "pink"));
    QCOMPARE(m_form->Picture().pixel(161, 144), Inverted(before.pixel(161, 144), Qt::black));
    QVERIFY(m_form->DrawCircle("E4", "blue"));
    QVERIFY(m_form->DrawCircle("D4", "pink")); // keeps blue
    QCOMPARE(m_form->PenColour(), QColor(0, 0, 255));
    QCOMPARE(m_form->Picture().pixel(125, 144),
             Inverted(before.pixel(125, 144), QColor(0, 0, 255)));
    QVERIFY(m_form->DrawCircle("E4", "")); // a missing colour keeps it too
    QCOMPARE(m_form->PenColour(), QColor(0, 0, 255));
}

void TForm2Test::annotationsFollowTheOrientation() {
    m_whiteOnTop = true;
    QVERIFY(m_form->DrawDiagram());
    const QImage before = m_form->Picture().copy();
    QVERIFY(m_form->DrawCircle("e4", "red"));
    // With White at the top, e4's centre is (126, 126).
    QCOMPARE(m_form->Picture().pixel(125, 108),
             Inverted(before.pixel(125, 108), QColor(255, 0, 0)));
    QCOMPARE(m_form->Picture().pixel(161, 144), before.pixel(161, 144));
}

void TForm2Test::squareWordsThatNameNoSquareDrawNothing() {
    QVERIFY(m_form->DrawDiagram());
    const QImage before = m_form->Picture().copy();
    QVERIFY(m_form->DrawCircle("", "red"));
    QVERIFY(m_form->DrawCircle("Z4", "red"));
    QVERIFY(m_form->DrawSquare("E", "red"));
    QVERIFY(m_form->DrawSquare("E9", "red"));
    QVERIFY(m_form->DrawArrow("E2", "", "red"));
    QVERIFY(m_form->DrawArrow("E2", "E2", "red")); // from a square to itself
    QVERIFY(m_form->DrawArrow("E2", "e2", "red"));
    QCOMPARE(DifferingPixels(before, m_form->Picture()), 0);
    // Nothing drawn, so the pen keeps its colour too.
    QCOMPARE(m_form->PenColour(), QColor(Qt::black));
}

void TForm2Test::rankThatIsNotADigitIsAConversionError() {
    QVERIFY(m_form->DrawDiagram());
    const QImage before = m_form->Picture().copy();
    QString error;
    QVERIFY(!m_form->DrawCircle("Ex", "red", &error));
    QCOMPARE(error, QStringLiteral("'x' is not a valid integer value"));
    QVERIFY(!m_form->DrawArrow("E2", "Fz", "red", &error));
    QCOMPARE(error, QStringLiteral("'z' is not a valid integer value"));
    QCOMPARE(m_form->DiagramCommand("square", {"A-", "red"}),
             std::string("'-' is not a valid integer value"));
    // A rank outside ASCII is named whole, not as a broken byte.
    QVERIFY(!m_form->DrawCircle("E\xC3\xA9", "red", &error));
    QCOMPARE(error, QString::fromUtf8("'\xC3\xA9' is not a valid integer value"));
    QCOMPARE(DifferingPixels(before, m_form->Picture()), 0);
}

void TForm2Test::arrowHeadEndPoints_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QPoint>("plus10");
    QTest::addColumn<QPoint>("minus10");
    // .arrow E2 E4: straight up, the head opens downwards.
    QTest::newRow("e2-e4 up") << QPoint(162, 234) << QPoint(162, 162) << QPoint(165, 182)
                              << QPoint(159, 182);
    QTest::newRow("e4-e2 down") << QPoint(162, 162) << QPoint(162, 234) << QPoint(159, 214)
                                << QPoint(165, 214);
    QTest::newRow("a1-h1 right") << QPoint(18, 270) << QPoint(270, 270) << QPoint(250, 273)
                                 << QPoint(250, 267);
    QTest::newRow("h1-a1 left") << QPoint(270, 270) << QPoint(18, 270) << QPoint(38, 267)
                                << QPoint(38, 273);
    QTest::newRow("a1-h8 diagonal")
        << QPoint(18, 270) << QPoint(270, 18) << QPoint(259, 34) << QPoint(254, 29);
    QTest::newRow("h8-a1 diagonal")
        << QPoint(270, 18) << QPoint(18, 270) << QPoint(29, 254) << QPoint(34, 259);
    // A knight's move up and left (g1-f3): dx = -36, dy = 72.
    QTest::newRow("g1-f3") << QPoint(234, 270) << QPoint(198, 198) << QPoint(210, 214)
                           << QPoint(204, 217);
}

void TForm2Test::arrowHeadEndPoints() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QPoint, plus10);
    QFETCH(QPoint, minus10);
    const auto head = TForm2::ArrowHead(from, to);
    QCOMPARE(head[0], plus10);
    QCOMPARE(head[1], minus10);
}

void TForm2Test::arrowDrawsShaftAndHead() {
    QVERIFY(m_form->DrawDiagram());
    const QImage before = m_form->Picture().copy();
    QVERIFY(m_form->DrawArrow("E2", "E4", "blue"));
    const QImage& p = m_form->Picture();
    const QRgb blue = qRgb(0, 0, 255);
    // The shaft is solid pen colour (copied, not mixed), on light and dark squares alike.
    QCOMPARE(p.pixel(162, 200) | 0xFF000000u, blue);
    QCOMPARE(p.pixel(162, 225) | 0xFF000000u, blue);
    // Both strokes of the head, near their ends.
    QCOMPARE(p.pixel(165, 181) | 0xFF000000u, blue);
    QCOMPARE(p.pixel(159, 181) | 0xFF000000u, blue);
    // Away from the arrow nothing changed.
    QCOMPARE(p.pixel(150, 200), before.pixel(150, 200));
    QCOMPARE(m_form->PenColour(), QColor(0, 0, 255));
}

void TForm2Test::windowCommands() {
    QCOMPARE(m_form->DiagramCommand("struct", {}), std::string());
    QVERIFY(m_form->isVisible());
    QVERIFY(m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(m_form->StructureOnly());
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Form2"));

    const QImage clean = m_form->Picture().copy();
    QCOMPARE(m_form->DiagramCommand("circle", {"E4", "red"}), std::string());
    QCOMPARE(m_form->DiagramCommand("square", {"E4"}), std::string());
    QCOMPARE(m_form->DiagramCommand("arrow", {"E2"}), std::string()); // too few words
    QVERIFY(DifferingPixels(clean, m_form->Picture()) > 0);
    QCOMPARE(m_form->DiagramCommand("circle", {"E4", "red"}), std::string());
    QCOMPARE(m_form->DiagramCommand("square", {"E4", "red"}), std::string());
    QCOMPARE(DifferingPixels(clean, m_form->Picture()), 0);

    QCOMPARE(m_form->DiagramCommand("quitboard", {}), std::string());
    QVERIFY(!m_form->isVisible());
    QVERIFY(!m_form->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(!m_form->StructureOnly());

    // Drawing while the window is hidden still draws on the picture.
    QCOMPARE(m_form->DiagramCommand("arrow", {"E2", "E4", "red"}), std::string());
    QVERIFY(DifferingPixels(clean, m_form->Picture()) > 0);
}

void TForm2Test::activationRedrawsAndRemovesAnnotations() {
    QVERIFY(m_form->DrawDiagram());
    const QImage clean = m_form->Picture().copy();
    QVERIFY(m_form->DrawArrow("A1", "H8", "yellow"));
    QVERIFY(DifferingPixels(clean, m_form->Picture()) > 0);
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(m_form.get(), &activate);
    QCOMPARE(DifferingPixels(clean, m_form->Picture()), 0);

    // The activation reads the board at that moment: a move there shows up.
    m_position[qv::E2 - 1] = ' ';
    m_position[qv::E4 - 1] = 'P';
    QCoreApplication::sendEvent(m_form.get(), &activate);
    QCOMPARE(CellPicture(m_form->Picture(), 4, 4), QStringLiteral("pbb"));
    QCOMPARE(CellPicture(m_form->Picture(), 4, 6), QStringLiteral("white"));

    // An activation whose redraw fails reports through OnDrawError, after the event.
    QStringList reported;
    m_form->OnDrawError = [&reported](const QString& message) { reported << message; };
    m_form->SetProgramDir(m_pictures.path() + "/missing/");
    QCoreApplication::sendEvent(m_form.get(), &activate);
    QVERIFY(reported.isEmpty());
    QTRY_COMPARE(reported.size(), 1);
    QVERIFY(reported.front().contains("white.jpg") || reported.front().contains("tnb.jpg"));
}

QTEST_MAIN(TForm2Test)
#include "TForm2Test.moc"
