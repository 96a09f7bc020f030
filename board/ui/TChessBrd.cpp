// The board component: construction, properties, moves, the interface to the computer
// player and the board geometry. Painting is in TChessBrdPaint.cpp; mouse input, drag,
// animation and resizing in TChessBrdInput.cpp.
#include "board/ui/TChessBrd.h"

#include "board/ui/BoardAccessible.h"
#include "board/ui/DepthGuard.h"
#include "board/ui/FloatingPiece.h"
#include "engine/thread/TChessThread.h"
#include "resources/ResourcePaths.h"

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <cassert>
#include <string_view>

namespace qv {

// ---------------------------------------------------------------- construction

TChessBrd::TChessBrd(QWidget* parent) : QWidget(parent), thinkingPriority_(tpNormal) {
    BoardAccessible::InstallFactory(); // screen readers see the squares
    // The timer is the board's child; the floating image is created on demand.
    timer_ = new QTimer(this);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetView(this);
    // The built-in piece set, cut into piece images.
    builtInSet_ = QImage(resources::BuiltInPieceSet);
    LoadPieceImages();
    // Coordinates in white Arial, 7 points.
    coordFont_ = QFont(QStringLiteral("Arial"));
    coordFont_.setPointSize(7);
    resize(368, 368);
    BoardModel::ResetBoard();
    shown_ = State().Squares;
    // The search thread, parked, bound to the live fields and the two callbacks.
    thread_ = std::make_unique<TChessThread>();
    TChessThread::Binding binding;
    binding.Position = &state_;
    binding.ComputerPlaysWhite = &computerPlaysWhite_;
    binding.ComputerPlaysBlack = &computerPlaysBlack_;
    binding.SearchDepth = &searchDepth_;
    binding.ThinkingPriority = &thinkingPriority_;
    binding.PlayMove = [this](Square origin, Square target) { return PlayMove(origin, target); };
    binding.ThreadFinished = [this] { ThreadFinished(); };
    thread_->Bind(std::move(binding));
    thread_->SetThreadPriority(tpNormal);
    connect(timer_, &QTimer::timeout, this, [this] { EngineCheck(); });
    // The custom engine may be asked from the start (the reset above held it).
    EngineHold = false;
}

TChessBrd::~TChessBrd() {
    // The thread goes first: it may be waiting for a call into this board.
    timer_->stop();
    if (thread_) thread_->Shutdown();
    thread_.reset();
    SetView(nullptr);
    if (floating_) delete floating_.data();
}

// ---------------------------------------------------------------- properties

void TChessBrd::SetBoardLines(bool on) {
    boardLines_ = on;
    Paint();
}

void TChessBrd::SetBorderBitmap(const QPixmap& bitmap) {
    borderBitmap_ = bitmap;
    Paint();
}

void TChessBrd::SetBorderColor(const QColor& colour) {
    borderColor_ = colour;
    Paint();
}

void TChessBrd::SetComputerPlaysBlack(bool on) {
    StopThinking();
    computerPlaysBlack_ = on;
    StartThinking();
}

void TChessBrd::SetComputerPlaysWhite(bool on) {
    StopThinking();
    computerPlaysWhite_ = on;
    StartThinking();
}

bool TChessBrd::Thinking() const {
    return thread_ ? thread_->ThinkingFlag.load() : false;
}

void TChessBrd::SetCoordFont(const QFont& font) {
    coordFont_ = font;
    Paint();
}

void TChessBrd::SetCoordFontColor(const QColor& colour) {
    coordColor_ = colour;
    Paint();
}

bool TChessBrd::IsValidPieceSet(const QImage& image) {
    return !image.isNull() && image.width() > 0 && image.width() * 2 == image.height() * 3;
}

void TChessBrd::SetCustomPieceSet(const QPixmap& bitmap) {
    if (bitmap.isNull()) {
        customPieceSet_ = QPixmap();
    } else {
        if (!IsValidPieceSet(bitmap.toImage())) return;
        customPieceSet_ = bitmap.copy();
    }
    scalable_ = false;
    LoadPieceImages();
    Paint();
}

void TChessBrd::SetScalablePieceSet(bool on) {
    if (on == scalable_) return;
    scalable_ = on;
    LoadPieceImages();
    Paint();
}

void TChessBrd::SetCustomPieceSet(const QImage& bitmap) {
    SetCustomPieceSet(bitmap.isNull() ? QPixmap() : QPixmap::fromImage(bitmap));
}

void TChessBrd::SetDisplayCoords(CoordSet sides) {
    displayCoords_ = sides & AllCoords;
    Paint();
}

void TChessBrd::SetCustomEngine(bool on) {
    // The built-in thread must not search for a side the custom engine now plays.
    if (on && !customEngine_) HaltThread();
    customEngine_ = on;
}

void TChessBrd::SetLineStyle(const QPen& pen) {
    lineStyle_ = pen;
    Paint();
}

void TChessBrd::SetResizeMinSize(int pixels) {
    resizeMinSize_ = std::min(pixels, resizeMaxSize_);
}

void TChessBrd::SetResizeMaxSize(int pixels) {
    resizeMaxSize_ = std::max(pixels, resizeMinSize_);
}

void TChessBrd::SetSearchDepth(int depth) {
    searchDepth_ = std::clamp(depth, 1, 8);
}

void TChessBrd::SetSizeOfBorder(int pixels) {
    sizeOfBorder_ = std::max(pixels, 0);
    const int side = 8 * sizeOfSquare_ + 2 * sizeOfBorder_;
    resize(side, side);
}

void TChessBrd::SetSizeOfSquare(int pixels) {
    sizeOfSquare_ = std::max(pixels, 1);
    const int side = 8 * sizeOfSquare_ + 2 * sizeOfBorder_;
    resize(side, side);
}

void TChessBrd::SetSquareColorDark(const QColor& colour) {
    squareColorDark_ = colour;
    Paint();
}

void TChessBrd::SetSquareColorLight(const QColor& colour) {
    squareColorLight_ = colour;
    Paint();
}

void TChessBrd::SetSquareDark(const QPixmap& bitmap) {
    squareDark_ = bitmap;
    Paint();
}

void TChessBrd::SetSquareLight(const QPixmap& bitmap) {
    squareLight_ = bitmap;
    Paint();
}

void TChessBrd::SetWhiteOnTop(bool on) {
    whiteOnTop_ = on;
    Paint();
}

TThreadPriority TChessBrd::ThinkingPriority() const {
    return static_cast<TThreadPriority>(thinkingPriority_.load());
}

void TChessBrd::SetThinkingPriority(TThreadPriority priority) {
    thinkingPriority_ = priority;
    if (thread_) thread_->SetThreadPriority(priority);
}

void TChessBrd::ResetBoard() {
    BoardModel::ResetBoard();
    ++positionWrites_;
    syncOnPaint_ = true;
    update();
}

// ---------------------------------------------------------------- moves

bool TChessBrd::PlayMove(Square origin, Square target) {
    // A move from outside (a script's, say) while the thread may run a pass: halt it,
    // so that it does not read the position while the move changes it, and let it go
    // again afterwards, so that it looks at the new position as its next pass would
    // have. Not for the thread's own move (it waits in the hand-over), nor for a move
    // inside another, nor when a stop is pending anyway.
    const bool outside = thread_ && firstPaintDone_ && !customEngine_ && moveDepth_ == 0 &&
                         calculating_ == 0 && !thread_->ServingCall() && !thread_->StopRequest;
    const int stops = stops_;
    if (outside) HaltThread();
    assert(PositionWritable());
    // A move played while the user drags a piece (a script's, the computer's) ends the drag.
    if (dragging_ && IsLegalMove(origin, target)) AbandonDrag(origin);
    // So does a move while the promotion chooser is open (the chooser's own move is
    // played once it has closed).
    if (PromotionChooserWidget() && IsLegalMove(origin, target)) ClosePromotionChooser();
    const int writes = positionWrites_;
    bool ok = false;
    {
        DepthGuard guard(moveDepth_);
        ok = BoardModel::PlayMove(origin, target);
    }
    if (ok) {
        ClearSelection();
        // Unless an event handler of the move set up another position meanwhile.
        if (positionWrites_ == writes) RememberLastMove(origin, target);
    }
    // Unless an event handler of the move stopped (or restarted) the thread itself.
    if (outside && stops_ == stops) {
        thread_->StopRequest = false;
        thread_->Release();
    }
    return ok;
}

bool TChessBrd::MakeMove(Square origin, Square target) {
    StopThinking();
    const bool ok = PlayMove(origin, target);
    EngineHold = false;
    StartThinking();
    return ok;
}

// ---------------------------------------------------------------- computer player

bool TChessBrd::ComputerToMove() const {
    return (computerPlaysWhite_ && WhiteToMove()) || (computerPlaysBlack_ && !WhiteToMove());
}

void TChessBrd::HaltThread() {
    if (!thread_) return;
    thread_->StopRequest = true;
    // Called on our own thread while it runs one of the search thread's calls (an
    // event handler of the computer's move): the search thread is blocked in that
    // call and parks as soon as it returns, so waiting here would never end.
    if (thread_->ServingCall()) return;
    // Serve the thread's pending calls (its move, its pass-end notification) while
    // waiting: directly, since an event loop nested in a posted event may not deliver
    // them, and by processing other events; user input waits until the board is
    // consistent again.
    while (!thread_->IsParked()) {
        thread_->ServePendingCall();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        thread_->WaitParked(10);
    }
}

void TChessBrd::StopThinking() {
    ++stops_;
    // The wait is skipped only where it could never end (see HaltThread), so a
    // game that is over still halts a thread that is running a pass.
    if (!customEngine_) HaltThread();
    assert(PositionWritable());
    EngineHold = true;
}

bool TChessBrd::PositionWritable() const {
    // The search thread reads the live position: it must be parked, or blocked in one
    // of its synchronous calls, whenever the board writes it.
    return !thread_ || thread_->IsParked() || thread_->ServingCall();
}

void TChessBrd::StartThinking() {
    if (!customEngine_) {
        if (thread_) {
            thread_->StopRequest = false;
            thread_->Release();
        }
        return;
    }
    if (calculating_ || !ComputerToMove() || !OnCalculateMove || EngineHold) return;
    DepthGuard guard(calculating_);
    Square oldsq = None, newsq = None;
    OnCalculateMove(this, oldsq, newsq);
    if (!EngineHold && !PlayMove(oldsq, newsq) && OnCalculationFailed)
        OnCalculationFailed(this, oldsq, newsq);
}

void TChessBrd::ThreadFinished() {
    if (!thread_) return;
    thread_->ThinkingFlag = false;
    thread_->Park();
    if (!thread_->StopRequest) StartThinking();
}

void TChessBrd::EngineCheck() {
    // Never inside a move or while the custom engine is being asked.
    if (moveDepth_ > 0 || calculating_ || !ComputerToMove()) return;
    if (customEngine_) {
        if (!EngineHold) StartThinking();
    } else if (firstPaintDone_ && thread_ && thread_->IdleParked()) {
        // The computer got the move without a StartThinking (a PlayMove from outside):
        // let the parked thread look again.
        StartThinking();
    }
}

bool TChessBrd::event(QEvent* e) {
    switch (e->type()) {
    case QEvent::Paint:
        NormaliseSize();
        // A repaint the board did not ask for itself (the window was uncovered,
        // shown, resized): the owner hears of it, as with Paint.
        if (internalPaint_ == 0 && OnPaint) {
            DepthGuard painting(inPaintEvent_);
            OnPaint(this);
        }
        break;
    case QEvent::Show:
        syncOnPaint_ = true;
        break;
    case QEvent::Hide:
    case QEvent::EnabledChange:
        // A board that is hidden or disabled mid-drag gets no release: cancel now.
        if (dragging_ && (!isVisible() || !isEnabled())) {
            const QPoint pos = mapFromGlobal(QCursor::pos());
            DragCanceled(pos.x(), pos.y());
        }
        dragPending_ = false;
        // Nor does a half-made move without dragging stay pending.
        if (!isVisible() || !isEnabled()) {
            ClosePromotionChooser();
            ClearSelection();
        }
        break;
    default:
        break;
    }
    const bool result = QWidget::event(e);
    // Painting must not start a move (which repaints); the next event or tick will.
    if (e->type() != QEvent::Paint && e->type() != QEvent::UpdateRequest) EngineCheck();
    return result;
}

// ---------------------------------------------------------------- geometry

QSize TChessBrd::sizeHint() const {
    const int side = 8 * sizeOfSquare_ + 2 * sizeOfBorder_;
    return {side, side};
}

QPoint TChessBrd::SquareToPixel(Square sq) const {
    if (!IsOnBoard(sq)) return {sizeOfBorder_, sizeOfBorder_};
    int col = FileOf(sq) - 1, row = 8 - RankOf(sq);
    if (whiteOnTop_) {
        col = 8 - FileOf(sq);
        row = RankOf(sq) - 1;
    }
    return {sizeOfBorder_ + col * sizeOfSquare_, sizeOfBorder_ + row * sizeOfSquare_};
}

Square TChessBrd::PixelToSquare(int x, int y) const {
    const int s = sizeOfSquare_;
    const int xs = x - sizeOfBorder_, ys = y - sizeOfBorder_;
    if (s <= 0 || xs < 0 || ys < 0 || xs >= 8 * s || ys >= 8 * s) return None;
    int col = std::min(xs / s, 7), row = std::min(ys / s, 7);
    if (whiteOnTop_) {
        col = 7 - col;
        row = 7 - row;
    }
    return static_cast<Square>(row * 8 + col + 1);
}

QRect TChessBrd::SquareRect(Square sq) const {
    return {SquareToPixel(sq), QSize(sizeOfSquare_, sizeOfSquare_)};
}

int TChessBrd::PieceOffset() const {
    return (sizeOfSquare_ - cell_) / 2;
}

QRect TChessBrd::PieceRect(Square sq) const {
    const int d = PieceOffset();
    return {SquareToPixel(sq) + QPoint(d, d), QSize(cell_, cell_)};
}

void TChessBrd::NormaliseSize() {
    const int b = sizeOfBorder_;
    const int s = std::max(((width() + height()) / 2 - 2 * b) / 8, 1);
    sizeOfSquare_ = s;
    if (scalable_ && cell_ != s) LoadPieceImages(); // pieces for the new squares
    const int side = 8 * s + 2 * b;
    if (width() != side || height() != side) resize(side, side);
}

} // namespace qv
