// The chessboard component: a widget that shows a BoardModel, takes moves by
// dragging pieces, animates moves, and drives the board's computer player.
#pragma once

#include "board/core/BoardModel.h"
#include "board/core/Square.h"
#include "resources/Colours.h"

#include <QColor>
#include <QCursor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;
class QRegion;
class QTimer;

namespace qv {

class TChessThread;
class FloatingPiece;
enum TThreadPriority : int;

// The border sides that show coordinates.
enum DisplayCoords : std::uint8_t { West = 1 << 0, North = 1 << 1, East = 1 << 2, South = 1 << 3 };
using CoordSet = std::uint8_t;
constexpr CoordSet AllCoords = West | North | East | South;

// TChessBrd is the reusable board component. It is the BoardModel (position, rules,
// game record, events: every event's Sender is the component itself) and its own
// BoardView. It paints border, coordinates, squares and pieces from a piece-set
// bitmap; takes moves by mouse drag; slides pieces for moves that were not dragged;
// can be resized by its bottom-right corner; and owns one search thread (TChessThread)
// or asks a custom engine (OnCalculateMove) when the computer is to move.
//
// Property setters act at once: they store the value, halt the search thread where
// the position is concerned, and repaint synchronously where the look changes.
// Call PlayMove and MakeMove through a TChessBrd (not through a BoardModel pointer)
// so that the engine check never runs inside a move.
class TChessBrd : public QWidget, public BoardModel, public BoardView {
    Q_OBJECT
public:
    // Widget events, empty by default; X and Y are client pixels of the board.
    using TWidgetNotifyEvent = std::function<void(TChessBrd* Sender)>;
    using TMouseEvent = std::function<void(TChessBrd* Sender, Qt::MouseButton Button,
                                           Qt::KeyboardModifiers Shift, int X, int Y)>;
    using TMouseMoveEvent =
        std::function<void(TChessBrd* Sender, Qt::KeyboardModifiers Shift, int X, int Y)>;
    // Source is the object the drag came from (this board); Accept may be changed.
    using TDragOverEvent =
        std::function<void(TChessBrd* Sender, QObject* Source, int X, int Y, bool& Accept)>;
    using TDragDropEvent = std::function<void(TChessBrd* Sender, QObject* Source, int X, int Y)>;
    // Target is the board when the drop was accepted, nullptr when the drag was cancelled.
    using TEndDragEvent = std::function<void(TChessBrd* Sender, QObject* Target, int X, int Y)>;

    explicit TChessBrd(QWidget* parent = nullptr);
    ~TChessBrd() override;

    // ---------------- published properties ----------------
    // AnimateMoves and AnimationDelay are the BoardModel fields of the same names.
    void SetAnimateMoves(bool on) { AnimateMoves = on; }
    void SetAnimationDelay(int ms) { AnimationDelay = ms; }

    bool BoardLines() const { return boardLines_; }
    void SetBoardLines(bool on);
    QPixmap BorderBitmap() const { return borderBitmap_; }
    void SetBorderBitmap(const QPixmap& bitmap); // a null pixmap clears it
    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(const QColor& colour);
    // CastlingAllowed / SetCastlingAllowed, Position / SetPosition, WhiteToMove /
    // SetWhiteToMove, EnPassant / SetEnPassant, CurrentMove: from BoardModel.
    bool ComputerPlaysBlack() const { return computerPlaysBlack_.load(); }
    void SetComputerPlaysBlack(bool on);
    bool ComputerPlaysWhite() const { return computerPlaysWhite_.load(); }
    void SetComputerPlaysWhite(bool on);
    // The search thread's thinking flag (false without a thread); writing is ignored.
    bool Thinking() const;
    void SetThinking(bool) {}
    // Font of the coordinates; its colour is CoordFontColor (initially white).
    QFont CoordFont() const { return coordFont_; }
    void SetCoordFont(const QFont& font);
    QColor CoordFontColor() const { return coordColor_; }
    void SetCoordFontColor(const QColor& colour);
    // A valid piece set (non-empty, width * 2 == height * 3) is copied and used; a
    // null image returns to the built-in set; any other image is ignored.
    QPixmap CustomPieceSet() const { return customPieceSet_; }
    void SetCustomPieceSet(const QPixmap& bitmap);
    void SetCustomPieceSet(const QImage& bitmap);
    // Pieces drawn from the chess glyphs of a free font at the current square size (off by
    // default), drawn again whenever the square size changes, so that the pieces of a
    // resized board fit their squares. An accepted CustomPieceSet switches it off. Without
    // the font the built-in set is scaled to the squares instead.
    bool ScalablePieceSet() const { return scalable_; }
    void SetScalablePieceSet(bool on);
    CoordSet DisplayCoords() const { return displayCoords_; }
    void SetDisplayCoords(CoordSet sides);
    bool CustomEngine() const { return customEngine_; }
    void SetCustomEngine(bool on);
    QPen LineStyle() const { return lineStyle_; }
    void SetLineStyle(const QPen& pen);
    bool Resizable() const { return resizable_; }
    void SetResizable(bool on) { resizable_ = on; }
    int ResizeMinSize() const { return resizeMinSize_; }
    void SetResizeMinSize(int pixels); // at most ResizeMaxSize
    int ResizeMaxSize() const { return resizeMaxSize_; }
    void SetResizeMaxSize(int pixels); // at least ResizeMinSize
    int SearchDepth() const { return searchDepth_.load(); }
    void SetSearchDepth(int depth); // clamped to 1..8
    int SizeOfBorder() const { return sizeOfBorder_; }
    void SetSizeOfBorder(int pixels);
    int SizeOfSquare() const { return sizeOfSquare_; }
    void SetSizeOfSquare(int pixels);
    QColor SquareColorDark() const { return squareColorDark_; }
    void SetSquareColorDark(const QColor& colour);
    QColor SquareColorLight() const { return squareColorLight_; }
    void SetSquareColorLight(const QColor& colour);
    QPixmap SquareDark() const { return squareDark_; }
    void SetSquareDark(const QPixmap& bitmap);
    QPixmap SquareLight() const { return squareLight_; }
    void SetSquareLight(const QPixmap& bitmap);
    bool WhiteOnTop() const { return whiteOnTop_; }
    void SetWhiteOnTop(bool on);
    TThreadPriority ThinkingPriority() const;
    void SetThinkingPriority(TThreadPriority priority);
    std::string Version() const { return {}; }
    void SetVersion(const std::string&) {}
    // The cursor shown during a drag while the pointer is over a square that would
    // take the piece (over any other square the cursor is the "forbidden" one).
    QCursor DragCursor() const { return dragCursor_; }
    void SetDragCursor(const QCursor& c) { dragCursor_ = c; }
    // Kept for owners that set it; the board always starts its drags itself on a
    // press over a piece, which is what automatic drag mode means.
    enum TDragMode { dmManual, dmAutomatic };
    TDragMode DragMode() const { return dragMode_; }
    void SetDragMode(TDragMode mode) { dragMode_ = mode; }
    // Enabled, Visible and the cursor are the widget's own (setEnabled, setVisible, setCursor).

    // ---------------- moves (guarded versions of the model's) ----------------
    bool PlayMove(Square origin, Square target);
    bool MakeMove(Square origin, Square target);
    // The model's ResetBoard; the board shows the new game at its next paint.
    void ResetBoard();

    // ---------------- computer player ----------------
    void StopThinking() override;
    void StartThinking() override;
    // The search thread's pass-end notification (runs on the user-interface thread).
    void ThreadFinished();
    // The board's search thread (never null). It searches with its own Searcher,
    // created at its first search, unless a SearchStep is installed on it.
    TChessThread* Thread() const { return thread_.get(); }
    bool FirstPaintDone() const { return firstPaintDone_; }

    // ---------------- view (BoardView) ----------------
    // Complete repaint at once (normalises the size first).
    void Paint() override;
    void PaintSquare(Square sq) override;
    void DrawPiece(Square sq, char piece) override;
    void DrawGridLines() override;
    void RepaintChanges(std::string_view oldPosition) override;
    void AnimateMove(Square from, Square to, int delayMs) override;
    void LoadPieceImages();

    // ---------------- geometry ----------------
    // Top-left client pixel of a square as placed on screen.
    QPoint SquareToPixel(Square sq) const;
    // The square under a client pixel, None outside the board area.
    Square PixelToSquare(int x, int y) const;
    QRect SquareRect(Square sq) const;
    // Size of one piece image (a quarter of the piece set's height).
    int CellSize() const { return cell_; }
    // The piece image of a letter (null for a letter that is no piece).
    QPixmap PieceImage(char piece) const;
    static int PieceImageIndex(char piece);
    static bool IsValidPieceSet(const QImage& image);

    // Is a piece being dragged right now?
    bool Dragging() const { return dragging_; }

    // ---------------- moves without dragging (all off by default) ----------------
    // Click-click: a click on a piece of the side to move selects it and marks the squares
    // it may go to; a click on one of them plays the move as a drop would (MakeMove, not
    // animated); a click on another piece of that side selects that one; any other click
    // cancels the selection. Dragging works as before.
    bool ClickMoves() const { return clickMoves_; }
    void SetClickMoves(bool on);
    // Keyboard: the board takes the focus (Tab, a click) and shows a focus square, which
    // the arrow keys move on the screen; Space at the focus square acts as a click there
    // (pick up, drop); Escape cancels a selection.
    bool KeyboardMoves() const { return keyboardMoves_; }
    void SetKeyboardMoves(bool on);
    Square FocusSquare() const { return focusSquare_; }
    void SetFocusSquare(Square sq);
    // The selected square of click-click or the keyboard (None without a selection, and
    // once the position has changed).
    Square Selected() const;
    void ClearSelection();
    // A promotion by the user (drop, click or keyboard) opens a small chooser of queen,
    // rook, bishop and knight in the current piece set; the chosen piece is promoted to
    // for that move only (an OnPromotion handler still has the last word). Escape or a
    // click outside the chooser cancels the move: the pawn stays and OnIllegalMove
    // reports its square. Moves played by code are not affected.
    bool ChoosePromotion() const { return choosePromotion_; }
    void SetChoosePromotion(bool on);
    // The chooser while it is open (nullptr otherwise).
    QWidget* PromotionChooserWidget() const;

    // ---------------- marks drawn over the board ----------------
    // The last move (any move: the user's, a script's, the computer's) tinted on both of
    // its squares until the position changes.
    bool HighlightLastMove() const { return highlightLastMove_; }
    void SetHighlightLastMove(bool on);
    // Marks the owner sets for hints: a ring on a square, an arrow from one square's centre
    // to another's. They stay until cleared, and follow the board's orientation.
    void MarkSquare(Square sq, const QColor& colour = QColor(20, 150, 60, 220));
    void MarkArrow(Square from, Square to, const QColor& colour = QColor(20, 150, 60, 170));
    void ClearMarks();
    struct Mark {
        Square From = None; // the marked square, or the arrow's tail
        Square To = None;   // the arrow's head (None for a marked square)
        QColor Colour;
    };
    const std::vector<Mark>& Marks() const { return marks_; }

    // ---------------- widget events ----------------
    TWidgetNotifyEvent OnClick, OnDblClick, OnStartDrag;
    TMouseEvent OnMouseDown, OnMouseUp;
    TMouseMoveEvent OnMouseMove;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // The drag, in the order of a drag's life.
    bool DragAccepts(int x, int y);
    void DragOver(int x, int y);
    void DragDrop(int x, int y);
    void DragCanceled(int x, int y);
    void AbandonDrag(Square leaving);

    // Moves without dragging, the promotion chooser and the marks (TChessBrdMoves.cpp).
    void SquareClicked(Square sq);
    void Select(Square sq);
    bool UserMove(Square from, Square to);
    bool IsPromotion(Square from, Square to) const;
    void OpenPromotionChooser(Square from, Square to);
    void PromotionChosen(char piece);
    void PromotionCancelled();
    void ClosePromotionChooser();
    void RememberLastMove(Square from, Square to);
    QRegion DropStaleMarks();
    bool SamePosition(const BoardState& key) const;
    void RepaintRegion(const QRegion& r);
    QRegion SquaresRegion(std::initializer_list<Square> squares) const;
    void AnnounceFocus();
    void DrawUnderlays(QPainter& p, const QRect& area);
    void DrawOverlays(QPainter& p, const QRect& area);
    void EndFloating();
    void ShowFloatingAt(char piece, QPoint boardPixel);
    void MoveFloatingTo(QPoint boardPixel);
    void ResizeMove(Qt::MouseButtons buttons, int x, int y);

    void EngineCheck();
    // Is the search thread parked, or blocked in one of its calls, so that the board may
    // write its position? Debug builds check it before moves and outside changes.
    bool PositionWritable() const;
    void HaltThread();
    bool ComputerToMove() const;
    void NormaliseSize();
    QRect PieceRect(Square sq) const;
    int PieceOffset() const;
    void RepaintRect(const QRect& r);
    void SyncShown();
    void FirstPaint();

    // Drawing parts, all clipped by the painter to the region being painted.
    void DrawBorder(QPainter& p);
    void DrawSquares(QPainter& p, const QRect& area);
    void DrawLines(QPainter& p);
    void DrawPieces(QPainter& p, const QRect& area);

    // Look.
    bool boardLines_ = false;
    QPixmap borderBitmap_;
    QColor borderColor_ = colours::Black;
    QFont coordFont_;
    QColor coordColor_ = colours::White;
    QPixmap customPieceSet_;
    CoordSet displayCoords_ = 0;
    QPen lineStyle_;
    int sizeOfBorder_ = 24;
    int sizeOfSquare_ = 40;
    QColor squareColorDark_ = colours::Gray;
    QColor squareColorLight_ = colours::Silver;
    QPixmap squareDark_, squareLight_;
    bool whiteOnTop_ = false;

    // Piece images: [colour][piece] in "PNBRQK" order, with the mask as alpha.
    QImage builtInSet_;
    std::array<std::array<QPixmap, 6>, 2> pieces_{};
    int cell_ = 40;
    bool imagesLoaded_ = false;
    bool scalable_ = false;

    // What is shown on each square (index 1..64); partial repaints update it.
    std::array<char, 66> shown_{};
    bool syncOnPaint_ = true; // the next paint shows the position as it is

    // Input.
    bool resizable_ = false;
    int resizeMinSize_ = 100;
    int resizeMaxSize_ = 1000;
    bool resizing_ = false;
    QCursor normalCursor_;
    bool dragPending_ = false; // pressed on a piece, threshold not yet passed
    bool dragging_ = false;    // the floating image is active
    bool pressEnded_ = false;  // a move ended the press's drag: its release is no click
    QPoint pressPos_;
    QCursor dragSavedCursor_;
    QCursor dragCursor_{Qt::ArrowCursor};
    TDragMode dragMode_ = dmManual;
    QPointer<FloatingPiece> floating_;

    // Moves without dragging and marks.
    bool clickMoves_ = false;
    bool keyboardMoves_ = false;
    bool choosePromotion_ = false;
    bool highlightLastMove_ = false;
    Square selected_ = None;
    BoardState selectedIn_;       // the position in which the selection was made
    std::vector<Square> targets_; // where the selected piece may go
    Square focusSquare_ = E2;
    Square lastFrom_ = None, lastTo_ = None;
    BoardState lastMoveIn_; // the position the last move led to
    std::vector<Mark> marks_;
    Square promoFrom_ = None, promoTo_ = None;
    QPointer<QWidget> chooser_;
    int positionWrites_ = 0; // complete repaints and record steps: the position was set

    // Computer player.
    std::atomic<bool> computerPlaysWhite_{false};
    std::atomic<bool> computerPlaysBlack_{false};
    std::atomic<int> searchDepth_{1};
    std::atomic<int> thinkingPriority_;
    bool customEngine_ = false;
    bool firstPaintDone_ = false;
    bool firstPaintQueued_ = false;
    int internalPaint_ = 0; // repaints the board asked for itself
    int inPaintEvent_ = 0;  // a paint event is being handled
    int moveDepth_ = 0;     // PlayMove calls in progress
    int calculating_ = 0;   // the custom engine is being asked
    int stops_ = 0;         // StopThinking calls so far
    QTimer* timer_ = nullptr;
    std::unique_ptr<TChessThread> thread_;
};

} // namespace qv
