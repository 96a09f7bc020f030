// The diagram window: builds the picture of the position from the square pictures and draws
// the scripts' annotations on it.
#include "script/ui/TForm2.h"

#include "resources/JpegImage.h"
#include "resources/ResourcePaths.h"
#include "script/core/ScriptInterpreter.h"
#include "script/core/ScriptWords.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPointer>

#include <cctype>
#include <cmath>
#include <numbers>

namespace qv {

namespace {

constexpr int HalfCell = TForm2::CellSize / 2;

// An activation that arrives this soon after ShowBoard drew the diagram is the one ShowBoard
// itself caused, and is not drawn a second time.
constexpr qint64 ActivationAfterShowMs = 1000;

} // namespace

TForm2::TForm2(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Form2"));
    // The designed outer size is 326 by 378 pixels; this is its client area.
    resize(318, 351);
    move(DesignedPlace);

    Label1 = new QLabel(QStringLiteral("Auxiliar Board:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(8, 8);
    Label1->adjustSize();

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(8, 32, 305, 305);

    Image1 = new QLabel(Panel1);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(8, 8, PictureSize, PictureSize);
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_picture = QImage(PictureSize, PictureSize, QImage::Format_RGB32);
    m_picture.fill(Qt::white);
    ShowPicture();
}

void TForm2::SetProgramDir(const QString& dir) {
    m_programDir = dir;
}

void TForm2::SetSource(std::function<std::string()> position, std::function<bool()> whiteOnTop) {
    m_position = std::move(position);
    m_whiteOnTop = std::move(whiteOnTop);
}

bool TForm2::ShowBoard(bool structureOnly, QString* error) {
    if (structureOnly) m_structureOnly = true;
    // Changing the flags of a shown window hides it, so only change them when needed.
    if (!windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_skipActivation = true;
    m_shownAt.start();
    show();
    raise();
    activateWindow();
    return DrawDiagram(error);
}

void TForm2::QuitBoard() {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint, false);
    hide();
    m_structureOnly = false;
    m_skipActivation = false;
}

bool TForm2::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QWidget::event(e);
}

void TForm2::FormActivate() {
    if (m_skipActivation) {
        m_skipActivation = false;
        if (m_shownAt.isValid() && m_shownAt.elapsed() < ActivationAfterShowMs) return;
    }
    QString error;
    if (DrawDiagram(&error) || !OnDrawError) return;
    // Reported after the activation has been handled, so that the error box does not open
    // inside the window system's activation.
    QMetaObject::invokeMethod(
        this,
        [this, error] {
            if (OnDrawError) OnDrawError(error);
        },
        Qt::QueuedConnection);
}

bool TForm2::DrawDiagram(QString* error) {
    if (m_drawing) {
        // Asked again while drawing (the loop lets events through): finish, then start over.
        m_redrawAgain = true;
        return true;
    }
    QPointer<TForm2> self(this);
    m_drawing = true;
    bool ok = false;
    do {
        m_redrawAgain = false;
        ok = DrawCells(error);
    } while (self && ok && m_redrawAgain);
    if (self) m_drawing = false;
    return ok;
}

bool TForm2::DrawCells(QString* error) {
    const std::string diagram = DiagramPosition(m_position ? m_position() : std::string());
    const bool whiteOnTop = m_whiteOnTop && m_whiteOnTop();
    const bool structureOnly = m_structureOnly;
    const QDir folder(m_programDir);
    QPointer<TForm2> self(this);

    bool light = true; // a8 (or h1 with White at the top) is a light square
    int x = 0;
    int y = 0;
    for (int i = 0; i < 64; ++i) {
        const char letter = diagram[static_cast<std::size_t>(whiteOnTop ? 63 - i : i)];
        const QString path = folder.filePath(ImageFileName(letter, light, structureOnly));
        QString loadError;
        const QImage image = LoadJpegFile(path, &loadError);
        if (image.isNull()) {
            if (error) *error = loadError;
            return false;
        }
        const QImage cell =
            image.size() == QSize(CellSize, CellSize)
                ? image
                : image.scaled(CellSize, CellSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        {
            QPainter painter(&m_picture);
            painter.drawImage(x, y, cell);
        }
        ShowPicture();
        // The picture builds up square by square while the rest of the program stays usable.
        QCoreApplication::processEvents();
        if (!self) return false;

        x += CellSize;
        if ((i + 1) % 8 == 0) {
            x = 0;
            y += CellSize;
        } else {
            light = !light;
        }
    }
    return true;
}

void TForm2::SelectPen(const std::string& colour) {
    if (const auto named = ColourByName(colour)) m_penColour = *named;
}

void TForm2::InvertPixels(const std::function<bool(int, int)>& inside) {
    const QRgb pen = m_penColour.rgb() & 0xFFFFFFu;
    for (int py = 0; py < m_picture.height(); ++py) {
        auto* line = reinterpret_cast<QRgb*>(m_picture.scanLine(py));
        for (int px = 0; px < m_picture.width(); ++px) {
            if (!inside(px, py)) continue;
            // not (picture xor pen): applying it twice gives the picture back.
            line[px] = 0xFF000000u | (~(line[px] ^ pen) & 0xFFFFFFu);
        }
    }
}

bool TForm2::DrawSquare(const std::string& square, const std::string& colour, QString* error) {
    std::optional<std::pair<int, int>> sq;
    if (!ReadSquare(square, sq, error)) return false;
    if (!sq) return true;
    SelectPen(colour);
    const QPoint c = CellCentre(sq->first, sq->second, m_whiteOnTop && m_whiteOnTop());
    // The frame runs along the outermost pixels of the cell (x - 18 .. x + 17), the pen
    // centred on them: two pixels outside the cell and three inside.
    const int left = c.x() - HalfCell;
    const int top = c.y() - HalfCell;
    const int right = c.x() + HalfCell - 1;
    const int bottom = c.y() + HalfCell - 1;
    const int half = FramePenWidth / 2;
    InvertPixels([=](int px, int py) {
        const bool outer =
            px >= left - half && px <= right + half && py >= top - half && py <= bottom + half;
        const bool inner =
            px > left + half && px < right - half && py > top + half && py < bottom - half;
        return outer && !inner;
    });
    ShowPicture();
    return true;
}

bool TForm2::DrawCircle(const std::string& square, const std::string& colour, QString* error) {
    std::optional<std::pair<int, int>> sq;
    if (!ReadSquare(square, sq, error)) return false;
    if (!sq) return true;
    SelectPen(colour);
    const QPoint c = CellCentre(sq->first, sq->second, m_whiteOnTop && m_whiteOnTop());
    // The circle inscribed in the cell: its centre lies between the cell's two middle pixels.
    const double cx = c.x() - 0.5;
    const double cy = c.y() - 0.5;
    const double radius = HalfCell - 0.5;
    const double half = FramePenWidth / 2.0;
    InvertPixels([=](int px, int py) {
        const double d = std::hypot(px - cx, py - cy);
        return std::abs(d - radius) < half;
    });
    ShowPicture();
    return true;
}

bool TForm2::DrawArrow(const std::string& from, const std::string& to, const std::string& colour,
                       QString* error) {
    std::optional<std::pair<int, int>> a, b;
    if (!ReadSquare(from, a, error) || !ReadSquare(to, b, error)) return false;
    if (!a || !b || *a == *b) return true;
    SelectPen(colour);
    const bool whiteOnTop = m_whiteOnTop && m_whiteOnTop();
    const QPoint p1 = CellCentre(a->first, a->second, whiteOnTop);
    const QPoint p2 = CellCentre(b->first, b->second, whiteOnTop);
    const auto head = ArrowHead(p1, p2);
    {
        QPainter painter(&m_picture);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(
            QPen(m_penColour, ArrowPenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(p1, p2);
        painter.drawLine(p2, head[0]);
        painter.drawLine(p2, head[1]);
    }
    ShowPicture();
    return true;
}

std::string TForm2::DiagramCommand(const std::string& command,
                                   const std::vector<std::string>& args) {
    const auto arg = [&args](std::size_t i) { return i < args.size() ? args[i] : std::string(); };
    QString error;
    bool ok = true;
    if (command == "board")
        ok = ShowBoard(false, &error);
    else if (command == "struct")
        ok = ShowBoard(true, &error);
    else if (command == "quitboard")
        QuitBoard();
    else if (command == "arrow")
        ok = DrawArrow(arg(0), arg(1), arg(2), &error);
    else if (command == "circle")
        ok = DrawCircle(arg(0), arg(1), &error);
    else if (command == "square")
        ok = DrawSquare(arg(0), arg(1), &error);
    return ok ? std::string() : error.toStdString();
}

void TForm2::ShowPicture() {
    Image1->setPixmap(QPixmap::fromImage(m_picture));
}

std::string TForm2::DiagramPosition(std::string_view position) {
    std::string diagram(64, '1');
    for (std::size_t i = 0; i < 64 && i < position.size(); ++i) {
        switch (position[i]) {
        case 'K':
            diagram[i] = 'R';
            break;
        case 'k':
            diagram[i] = 'r';
            break;
        case 'Q':
            diagram[i] = 'D';
            break;
        case 'q':
            diagram[i] = 'd';
            break;
        case 'R':
            diagram[i] = 'T';
            break;
        case 'r':
            diagram[i] = 't';
            break;
        case 'B':
            diagram[i] = 'A';
            break;
        case 'b':
            diagram[i] = 'a';
            break;
        case 'N':
            diagram[i] = 'C';
            break;
        case 'n':
            diagram[i] = 'c';
            break;
        case 'P':
            diagram[i] = 'P';
            break;
        case 'p':
            diagram[i] = 'p';
            break;
        default:
            diagram[i] = '1';
            break; // empty, or a character no picture stands for
        }
    }
    return diagram;
}

QString TForm2::ImageFileName(char letter, bool lightSquare, bool structureOnly) {
    return resources::DiagramPictureName(letter, lightSquare, structureOnly);
}

bool TForm2::ReadSquare(std::string_view word, std::optional<std::pair<int, int>>& sq,
                        QString* error) {
    // The rank is converted as a decimal number: a character that is not a digit is a
    // conversion error that ends the run, like a bad number anywhere else in a script.
    try {
        const DiagramSquare d = ParseDiagramSquare(word);
        sq = d.Valid ? std::make_optional(std::make_pair(d.File, d.Rank)) : std::nullopt;
        return true;
    } catch (const ConvertError& e) {
        if (error) *error = QString::fromStdString(e.what());
        return false;
    }
}

std::optional<std::pair<int, int>> TForm2::ParseSquare(std::string_view word) {
    std::optional<std::pair<int, int>> sq;
    return ReadSquare(word, sq, nullptr) ? sq : std::nullopt;
}

QPoint TForm2::CellCentre(int file, int rank, bool whiteOnTop) {
    if (whiteOnTop) return {PictureSize + HalfCell - CellSize * file, CellSize * rank - HalfCell};
    return {CellSize * file - HalfCell, PictureSize + HalfCell - CellSize * rank};
}

std::array<QPoint, 2> TForm2::ArrowHead(QPoint from, QPoint to) {
    // The shaft's direction, anticlockwise from the right with y pointing up, held in single
    // precision like the lengths it comes from.
    const float dx = static_cast<float>(to.x() - from.x());
    const float dy = static_cast<float>(from.y() - to.y());
    const float length = std::sqrt(dx * dx + dy * dy);
    float theta = static_cast<float>(std::asin(std::fabs(double(dy)) / double(length)));
    if (dx < 0) theta = static_cast<float>(std::numbers::pi - double(theta));
    if (dy < 0) theta = static_cast<float>(2 * std::numbers::pi - double(theta));

    constexpr double spread = std::numbers::pi / 18; // 10 degrees each side of the shaft
    std::array<QPoint, 2> head;
    const double angles[2] = {double(theta) + spread, double(theta) - spread};
    for (int i = 0; i < 2; ++i) {
        // std::nearbyint rounds to nearest with halves to the even neighbour.
        const double x = std::nearbyint(to.x() - ArrowHeadLength * std::cos(angles[i]));
        const double y = std::nearbyint(to.y() + ArrowHeadLength * std::sin(angles[i]));
        head[static_cast<std::size_t>(i)] = QPoint(static_cast<int>(x), static_cast<int>(y));
    }
    return head;
}

std::optional<QColor> TForm2::ColourByName(std::string_view name) {
    std::string lower(name);
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    if (lower == "red") return QColor(255, 0, 0);
    if (lower == "yellow") return QColor(255, 255, 0);
    if (lower == "blue") return QColor(0, 0, 255);
    if (lower == "white") return QColor(255, 255, 255);
    if (lower == "green") return QColor(0, 128, 0);
    if (lower == "aqua") return QColor(0, 255, 255);
    return std::nullopt;
}

} // namespace qv
