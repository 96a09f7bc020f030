// The diagram window: the main board's position drawn square by square from the JPEG pictures
// beside the program, with the arrows, circles and square frames that scripts draw on it.
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QPoint>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QFrame;
class QLabel;

namespace qv {

// The diagram window of the trainer. It never reads the main board itself: the caller hands it
// the board's position string and orientation through SetSource, and the folder of the square
// pictures through SetProgramDir. The scripts' diagram commands map onto ShowBoard (".board",
// ".struct"), QuitBoard (".quitboard"), DrawArrow, DrawCircle and DrawSquare; DiagramCommand
// takes such a command with its raw argument words.
class TForm2 : public QWidget {
    Q_OBJECT
public:
    static constexpr int CellSize = 36;              // every square picture is scaled to this
    static constexpr int PictureSize = 8 * CellSize; // the picture Image1, 288 by 288
    static constexpr int FramePenWidth = 5;          // pen of ".square" and ".circle"
    static constexpr int ArrowPenWidth = 2;          // pen of ".arrow"
    static constexpr int ArrowHeadLength = 20;       // length of each stroke of the head
    static constexpr QPoint DesignedPlace{574, 188}; // on the screen, where no better place is

    explicit TForm2(QWidget* parent = nullptr);

    // Folder of the 26 square pictures (the program's folder); a trailing separator is optional.
    void SetProgramDir(const QString& dir);
    QString ProgramDir() const { return m_programDir; }

    // Where the diagram's content comes from: the main board's 64-character position string
    // and its orientation (true when White is at the top), both read at the moment of drawing.
    void SetSource(std::function<std::string()> position, std::function<bool()> whiteOnTop);

    // Receives the error of a redraw that the window's own activation started (the user
    // clicked on it); the caller shows it in its error box. Redraws started through the
    // operations below return their error to their caller instead.
    std::function<void(const QString&)> OnDrawError;

    // ".board" (structureOnly false: the pawns-only mode stays as it is) and ".struct"
    // (structureOnly true: switches the pawns-only mode on): keeps the window above all others,
    // shows it in front and draws the diagram. A missing or unreadable picture ends the drawing
    // at its square; the function then returns false with the file error in *error.
    bool ShowBoard(bool structureOnly, QString* error = nullptr);
    // ".quitboard": normal stacking again, window closed, pawns-only mode off.
    void QuitBoard();

    bool StructureOnly() const { return m_structureOnly; }
    void SetStructureOnly(bool on) { m_structureOnly = on; }

    // Redraws the whole diagram from the source (what every activation of the window does);
    // all annotations disappear. Returns false with the file error of a missing picture.
    bool DrawDiagram(QString* error = nullptr);

    // ".arrow", ".circle", ".square": draw on the picture whether the window is shown or not.
    // Squares are read from the first two characters of the word ("E4", "e4", "E4x" all name
    // e4); a word that names no square, and an arrow from a square to itself, draw nothing.
    // An unknown colour name keeps the pen colour of the previous drawing (black at first).
    // These drawings cannot fail; the error parameter is there for symmetry with ShowBoard.
    bool DrawArrow(const std::string& from, const std::string& to, const std::string& colour,
                   QString* error = nullptr);
    bool DrawCircle(const std::string& square, const std::string& colour, QString* error = nullptr);
    bool DrawSquare(const std::string& square, const std::string& colour, QString* error = nullptr);

    // A script's diagram command ("board", "struct", "quitboard", "arrow", "circle", "square")
    // with its raw argument words as far as present. Returns an empty text on success, else
    // the error message (a missing picture). Unknown commands do nothing.
    std::string DiagramCommand(const std::string& command, const std::vector<std::string>& args);

    // The picture as drawn so far and the present pen colour.
    const QImage& Picture() const { return m_picture; }
    QColor PenColour() const { return m_penColour; }

    // --- the rules of the diagram, usable without a window ---

    // The position string re-lettered to the problem files' piece code (king R, queen D,
    // rook T, bishop A, knight C, pawn P; an empty square "1"). Always 64 characters: a short
    // string is padded with empty squares; unknown characters become empty squares.
    static std::string DiagramPosition(std::string_view position);
    // File name of the picture for a square holding the diagram letter `letter` ("1" empty).
    // In pawns-only mode every piece but a pawn gets its empty-square picture.
    static QString ImageFileName(char letter, bool lightSquare, bool structureOnly);
    // The square named by the first two characters of a word, as file 1..8 and rank 1..8
    // (read as qvn reads it; a rank that does not convert names no square here).
    static std::optional<std::pair<int, int>> ParseSquare(std::string_view word);
    // Reads a square argument: false, with the conversion message, when its rank is not
    // a digit; otherwise sq is the square, or empty when the word names none.
    static bool ReadSquare(std::string_view word, std::optional<std::pair<int, int>>& sq,
                           QString* error);
    // Centre of a square's cell in the picture for the given orientation.
    static QPoint CellCentre(int file, int rank, bool whiteOnTop);
    // The two end points of an arrow's head at `to` (for the strokes at +10 and -10 degrees),
    // computed in single precision and rounded half to even.
    static std::array<QPoint, 2> ArrowHead(QPoint from, QPoint to);
    // One of the six pen colour names ("red", "yellow", "blue", "white", "green", "aqua",
    // in any case), or nothing.
    static std::optional<QColor> ColourByName(std::string_view name);

protected:
    bool event(QEvent* e) override;

private:
    void FormActivate();
    bool DrawCells(QString* error);
    void SelectPen(const std::string& colour);
    // Inverts (picture exclusive-or pen, then not) every pixel for which inside(x, y) holds.
    void InvertPixels(const std::function<bool(int, int)>& inside);
    void ShowPicture();

    QLabel* Label1 = nullptr;
    QFrame* Panel1 = nullptr;
    QLabel* Image1 = nullptr;

    QString m_programDir;
    std::function<std::string()> m_position;
    std::function<bool()> m_whiteOnTop;
    bool m_structureOnly = false;
    QImage m_picture;
    QColor m_penColour = Qt::black;

    bool m_drawing = false;        // a redraw is under way (it lets the window process events)
    bool m_redrawAgain = false;    // a redraw was asked for meanwhile: start over when done
    bool m_skipActivation = false; // ShowBoard drew already: the activation it causes is spent
    QElapsedTimer m_shownAt;
};

} // namespace qv
