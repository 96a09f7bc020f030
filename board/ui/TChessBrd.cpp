// The board component: properties, painting, mouse drag, animation, resizing and
// the interface to the computer player.
#include "TChessBrd.h"

#include "FloatingPiece.h"
#include "TChessThread.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <string_view>

namespace qv {

namespace {

constexpr std::string_view PieceLetters = "PNBRQKpnbrqk";
const char* const BuiltInSetPath = ":/pieces/SETVARDEL40.bmp";

// Counts nesting, also when the guarded code leaves by an exception.
struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
};

} // namespace

// ---------------------------------------------------------------- construction

TChessBrd::TChessBrd(QWidget* parent) : QWidget(parent), thinkingPriority_(tpNormal) {
    // 1. Owned objects: the timer (owned by the board as its child), pen and font
    //    (members), the bitmaps (empty), the floating image (created on demand).
    timer_ = new QTimer(this);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetView(this);
    // 2. Resizing limits, animation, promotion piece.
    resizeMinSize_ = 100;
    resizeMaxSize_ = 1000;
    AnimateMoves = true;
    AnimationDelay = 0;
    PromotionPiece = 'q';
    // 3. The built-in piece set, cut into piece images.
    builtInSet_ = QImage(QString::fromLatin1(BuiltInSetPath));
    LoadPieceImages();
    // 4. Coordinate font: white Arial, 7 points.
    coordFont_ = QFont(QStringLiteral("Arial"));
    coordFont_.setPointSize(7);
    coordColor_ = QColor(255, 255, 255);
    // 5. Geometry and colours.
    sizeOfSquare_ = 40;
    sizeOfBorder_ = 24;
    borderColor_ = QColor(0, 0, 0);
    squareColorDark_ = QColor(0x80, 0x80, 0x80);
    squareColorLight_ = QColor(0xC0, 0xC0, 0xC0);
    // 6. Computer player.
    computerPlaysWhite_ = false;
    computerPlaysBlack_ = false;
    searchDepth_ = 1;
    thinkingPriority_ = tpNormal;
    // 7. Size.
    resize(368, 368);
    // 8. A fresh game.
    BoardModel::ResetBoard();
    shown_ = State().Squares;
    // 9. The search thread, parked, bound to the live fields and the two callbacks.
    thread_ = std::make_unique<TChessThread>();
    TChessThread::Binding binding;
    binding.Position = &state_;
    binding.ComputerPlaysWhite = &computerPlaysWhite_;
    binding.ComputerPlaysBlack = &computerPlaysBlack_;
    binding.SearchDepth = &searchDepth_;
    binding.ThinkingPriority = &thinkingPriority_;
    binding.PlayMove = [this](Square origin, Square target) { PlayMove(origin, target); };
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
    bool ok = false;
    {
        DepthGuard guard(moveDepth_);
        ok = BoardModel::PlayMove(origin, target);
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
    EngineHold = true;
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
    const int side = 8 * s + 2 * b;
    if (width() != side || height() != side) resize(side, side);
}

// ---------------------------------------------------------------- piece images

int TChessBrd::PieceImageIndex(char piece) {
    if (piece == '\0') return -1;
    const auto k = PieceLetters.find(piece);
    return k == std::string_view::npos ? -1 : static_cast<int>(k);
}

QPixmap TChessBrd::PieceImage(char piece) const {
    const int k = PieceImageIndex(piece);
    if (k < 0) return {};
    return pieces_[static_cast<std::size_t>(k / 6)][static_cast<std::size_t>(k % 6)];
}

void TChessBrd::LoadPieceImages() {
    QImage source = customPieceSet_.isNull() ? QImage() : customPieceSet_.toImage();
    if (!IsValidPieceSet(source)) source = builtInSet_;
    for (auto& row : pieces_)
        for (auto& p : row) p = QPixmap();
    imagesLoaded_ = true;
    if (!IsValidPieceSet(source)) return; // no usable set: squares without pieces
    cell_ = source.height() / 4;
    const QImage rgb = source.convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 6; ++j) {
            QImage pic = rgb.copy(j * cell_, 2 * i * cell_, cell_, cell_);
            const QImage mask = rgb.copy(j * cell_, (2 * i + 1) * cell_, cell_, cell_);
            // Black in the mask is the piece; white lets the square show through.
            for (int y = 0; y < cell_; ++y) {
                auto* line = reinterpret_cast<QRgb*>(pic.scanLine(y));
                const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
                for (int x = 0; x < cell_; ++x) {
                    const int alpha = qGray(m[x]) < 128 ? 255 : 0;
                    line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
                }
            }
            pieces_[static_cast<std::size_t>(i)][static_cast<std::size_t>(j)] =
                QPixmap::fromImage(pic);
        }
    }
}

// ---------------------------------------------------------------- painting

void TChessBrd::RepaintRect(const QRect& r) {
    const QRect clipped = r.intersected(rect());
    if (clipped.isEmpty() || !isVisible() || !updatesEnabled()) return;
    if (inPaintEvent_) { // asked from an OnPaint handler: the paint under way is not to be nested
        update(clipped);
        return;
    }
    DepthGuard internal(internalPaint_);
    repaint(clipped);
}

void TChessBrd::SyncShown() {
    shown_ = State().Squares;
    if (dragging_ && IsOnBoard(DragFrom)) shown_[static_cast<std::size_t>(DragFrom)] = ' ';
}

void TChessBrd::Paint() {
    if (OnPaint) OnPaint(this);
    if (!imagesLoaded_) LoadPieceImages();
    NormaliseSize();
    SyncShown();
    syncOnPaint_ = false;
    if (!isVisible() || !updatesEnabled()) return;
    if (inPaintEvent_) {
        update();
        return;
    }
    DepthGuard internal(internalPaint_);
    repaint();
}

void TChessBrd::PaintSquare(Square sq) {
    if (!IsOnBoard(sq)) return;
    shown_[static_cast<std::size_t>(sq)] = ' ';
    RepaintRect(SquareRect(sq).united(PieceRect(sq)));
}

void TChessBrd::DrawPiece(Square sq, char piece) {
    if (!IsOnBoard(sq)) return;
    shown_[static_cast<std::size_t>(sq)] = piece;
    RepaintRect(PieceRect(sq));
}

void TChessBrd::DrawGridLines() {
    // The grid is part of every paint of the board area, so the squares that were
    // just repainted already have their lines; nothing else needs drawing.
}

void TChessBrd::RepaintChanges(std::string_view oldPosition) {
    QRegion changed;
    for (int sq = 1; sq <= 64; ++sq) {
        const char now = State().Squares[static_cast<std::size_t>(sq)];
        const char was = static_cast<std::size_t>(sq - 1) < oldPosition.size()
                             ? oldPosition[static_cast<std::size_t>(sq - 1)]
                             : '\0';
        if (now == was && shown_[static_cast<std::size_t>(sq)] == now) continue;
        shown_[static_cast<std::size_t>(sq)] = now;
        const auto s = static_cast<Square>(sq);
        changed += SquareRect(s).united(PieceRect(s));
    }
    if (changed.isEmpty() || !isVisible() || !updatesEnabled()) return;
    if (inPaintEvent_) {
        update(changed);
        return;
    }
    DepthGuard internal(internalPaint_);
    repaint(changed);
}

void TChessBrd::paintEvent(QPaintEvent* e) {
    DepthGuard painting(inPaintEvent_);
    if (syncOnPaint_) {
        SyncShown();
        syncOnPaint_ = false;
    }
    QPainter p(this);
    const QRect area = e->rect();
    const int b = sizeOfBorder_;
    const QRect boardArea(b, b, 8 * sizeOfSquare_, 8 * sizeOfSquare_);
    if (!boardArea.contains(area)) DrawBorder(p);
    DrawSquares(p, area.intersected(boardArea));
    DrawLines(p);
    DrawPieces(p, area);
    p.end();
    if (!firstPaintDone_ && !firstPaintQueued_ && area == rect()) {
        // Starting the computer player may play a move, which repaints: not from
        // inside a paint, so right after it.
        firstPaintQueued_ = true;
        QTimer::singleShot(0, this, [this] { FirstPaint(); });
    }
}

void TChessBrd::FirstPaint() {
    firstPaintDone_ = true;
    StartThinking();
    timer_->start(500);
}

void TChessBrd::DrawBorder(QPainter& p) {
    const int b = sizeOfBorder_, w = width(), h = height(), s = sizeOfSquare_;
    p.save();
    QRegion border(rect());
    border -= QRegion(b, b, w - 2 * b, h - 2 * b);
    p.setClipRegion(border, Qt::IntersectClip);
    if (!borderBitmap_.isNull())
        p.drawTiledPixmap(rect(), borderBitmap_);
    else
        p.fillRect(rect(), borderColor_);

    if (displayCoords_ != 0) {
        p.setFont(coordFont_);
        p.setPen(coordColor_);
        p.setBackgroundMode(Qt::TransparentMode);
        const QFontMetrics fm(coordFont_, this);
        const char* labels = whiteOnTop_ ? "HGFEDCBA" : "ABCDEFGH";
        const int fs = coordFont_.pointSize() > 0 ? coordFont_.pointSize() : fm.height();
        const int a = (b - fs) / 2 + 1, o = (s - fs) / 2, q = fm.height() / 4;
        // Text positions are the top-left corners of the text cells.
        auto text = [&](int x, int y, const QString& t) { p.drawText(x, y + fm.ascent(), t); };
        for (int i = 0; i < 8; ++i) {
            const QString n = QString::number(whiteOnTop_ ? i + 1 : 8 - i);
            const QString letter = QString(QLatin1Char(labels[i]));
            if (displayCoords_ & West) text(a, i * s + b + o, n);
            if (displayCoords_ & East) text(w - b + a, i * s + b + o, n);
            if (displayCoords_ & North) text(i * s + b + o, a - q, letter);
            if (displayCoords_ & South) text(i * s + b + o, h - b + a - q, letter);
        }
    }

    QPen pen = lineStyle_;
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QPoint outer[] = {{0, 0}, {w - 1, 0}, {w - 1, w - 1}, {0, w - 1}, {0, 0}};
    p.drawPolyline(outer, 5);
    const QPoint inner[] = {
        {b - 1, b - 1}, {w - b, b - 1}, {w - b, w - b}, {b - 1, w - b}, {b - 1, b - 1}};
    p.drawPolyline(inner, 5);
    p.restore();
}

void TChessBrd::DrawSquares(QPainter& p, const QRect& area) {
    if (area.isEmpty()) return;
    const int s = sizeOfSquare_, b = sizeOfBorder_;
    for (int pass = 0; pass < 2; ++pass) { // dark squares first, then light ones
        const bool light = pass == 1;
        QRegion squares;
        for (int row = 0; row < 8; ++row)
            for (int col = 0; col < 8; ++col)
                if (((col + row) % 2 == 0) == light)
                    squares += QRect(b + col * s, b + row * s, s, s);
        squares &= QRegion(area);
        if (squares.isEmpty()) continue;
        p.save();
        p.setClipRegion(squares, Qt::IntersectClip);
        const QPixmap& texture = light ? squareLight_ : squareDark_;
        if (!texture.isNull()) {
            // Tiled from the control's origin, so the texture runs on across squares.
            const QRect r = area;
            p.drawTiledPixmap(r, texture,
                              QPoint(r.x() % texture.width(), r.y() % texture.height()));
        } else {
            p.fillRect(area, light ? squareColorLight_ : squareColorDark_);
        }
        p.restore();
    }
}

void TChessBrd::DrawLines(QPainter& p) {
    if (!boardLines_) return;
    const int s = sizeOfSquare_, b = sizeOfBorder_, w = width(), h = height();
    p.save();
    p.setClipRect(QRect(b, b, 8 * s, 8 * s), Qt::IntersectClip);
    QPen pen = lineStyle_;
    pen.setColor(lineStyle_.color());
    p.setPen(pen);
    for (int i = 1; i <= 7; ++i) {
        p.drawLine(b + i * s, b, b + i * s, h - b);
        p.drawLine(b, b + i * s, w - b, b + i * s);
    }
    p.restore();
}

void TChessBrd::DrawPieces(QPainter& p, const QRect& area) {
    for (int sq = 1; sq <= 64; ++sq) {
        const QPixmap image = PieceImage(shown_[static_cast<std::size_t>(sq)]);
        if (image.isNull()) continue;
        const QRect r = PieceRect(static_cast<Square>(sq));
        if (r.intersects(area)) p.drawPixmap(r.topLeft(), image);
    }
}

// ---------------------------------------------------------------- floating image

void TChessBrd::ShowFloatingAt(char piece, QPoint boardPixel) {
    QWidget* host = window();
    if (!floating_ || floating_->parentWidget() != host) {
        if (floating_) delete floating_.data();
        floating_ = new FloatingPiece(host);
    }
    floating_->SetImage(PieceImage(piece));
    floating_->move(host == this ? boardPixel : mapTo(host, boardPixel));
    floating_->raise();
    floating_->show(); // painted by the first MoveFloatingTo
}

void TChessBrd::MoveFloatingTo(QPoint boardPixel) {
    if (!floating_) return;
    QWidget* host = floating_->parentWidget();
    const QPoint target = host == this ? boardPixel : mapTo(host, boardPixel);
    if (floating_->pos() == target && floating_->isVisible()) {
        if (host->isVisible()) floating_->repaint();
        return;
    }
    const QRect before = floating_->geometry();
    floating_->move(target);
    // Synchronously, so that every step of an animation reaches the screen.
    if (host->isVisible()) {
        DepthGuard internal(internalPaint_);
        host->repaint(QRegion(before) + QRegion(floating_->geometry()));
    }
}

void TChessBrd::EndFloating() {
    if (floating_ && floating_->isVisible()) {
        QWidget* host = floating_->parentWidget();
        const QRect was = floating_->geometry();
        floating_->hide();
        DepthGuard internal(internalPaint_);
        if (host->isVisible()) host->repaint(was);
    }
    if (dragging_) {
        dragging_ = false;
        setCursor(dragSavedCursor_);
        qApp->removeEventFilter(this);
    }
}

// ---------------------------------------------------------------- animation

void TChessBrd::AnimateMove(Square from, Square to, int delayMs) {
    if (dragging_) {
        // A move arrives while the user drags: the drag ends, its piece goes home.
        const Square home = DragFrom;
        EndFloating();
        dragPending_ = false;
        if (IsOnBoard(home)) DrawPiece(home, State().Squares[static_cast<std::size_t>(home)]);
        return;
    }
    if (!IsOnBoard(from) || !IsOnBoard(to)) return;
    const char piece = State().Squares[static_cast<std::size_t>(from)];
    const int d = PieceOffset();
    const QPoint p1 = SquareToPixel(from) + QPoint(d, d);
    const QPoint p2 = SquareToPixel(to) + QPoint(d, d);
    if (p1 == p2) return;
    const int x1 = p1.x(), y1 = p1.y(), x2 = p2.x(), y2 = p2.y();

    ShowFloatingAt(piece, p1);
    QElapsedTimer clock;
    auto step = [&](int x, int y) {
        clock.start();
        MoveFloatingTo({x, y});
        if (delayMs > 0) // a busy wait: no events are processed during a slide
            while (clock.elapsed() <= delayMs) {
            }
    };
    auto run = [&](int from1, int to1, auto&& at) {
        const int dir = to1 >= from1 ? 1 : -1;
        for (int v = from1;; v += dir) {
            at(v);
            if (v == to1) break;
        }
    };
    if (piece == 'N' || piece == 'n') {
        run(x1, x2, [&](int x) { step(x, y1); });
        run(y1, y2, [&](int y) { step(x2, y); });
    } else if (std::abs(x2 - x1) < std::abs(y2 - y1)) {
        const int n = std::abs(y2 - y1);
        run(y1, y2, [&](int y) { step(x1 + (x2 - x1) * std::abs(y - y1) / n, y); });
    } else {
        const int n = std::abs(x2 - x1);
        run(x1, x2, [&](int x) { step(x, y1 + (y2 - y1) * std::abs(x - x1) / n); });
    }
    EndFloating();
}

// ---------------------------------------------------------------- mouse

void TChessBrd::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseDown) OnMouseDown(this, e->button(), e->modifiers(), pos.x(), pos.y());
    e->accept();
    if (dragging_ || resizing_) return;
    const Square sq = PixelToSquare(pos.x(), pos.y());
    if (IsOnBoard(sq) && State().Squares[static_cast<std::size_t>(sq)] != ' ') {
        DragFrom = sq;
        dragPending_ = true;
        pressPos_ = pos;
    }
}

void TChessBrd::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (OnMouseMove) OnMouseMove(this, e->modifiers(), pos.x(), pos.y());
    e->accept();
    if (!dragging_) ResizeMove(e->buttons(), pos.x(), pos.y());
    if (resizing_) {
        dragPending_ = false;
        return;
    }
    if (dragPending_ && (e->buttons() != Qt::NoButton) &&
        (pos - pressPos_).manhattanLength() >= QApplication::startDragDistance()) {
        dragPending_ = false;
        dragSavedCursor_ = cursor();
        if (OnStartDrag) OnStartDrag(this);
        DragOver(pos.x(), pos.y());
    } else if (dragging_) {
        DragOver(pos.x(), pos.y());
    }
}

void TChessBrd::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    const bool wasResizing = resizing_;
    resizing_ = false;
    if (OnMouseUp) OnMouseUp(this, e->button(), e->modifiers(), pos.x(), pos.y());
    e->accept();
    if (dragging_) {
        if (DragAccepts(pos.x(), pos.y()))
            DragDrop(pos.x(), pos.y());
        else
            DragCanceled(pos.x(), pos.y());
        return;
    }
    const bool click = dragPending_ || !wasResizing;
    dragPending_ = false;
    if (click && rect().contains(pos) && OnClick) OnClick(this);
}

void TChessBrd::mouseDoubleClickEvent(QMouseEvent* e) {
    QWidget::mouseDoubleClickEvent(e);
    if (OnDblClick) OnDblClick(this);
}

bool TChessBrd::eventFilter(QObject* watched, QEvent* e) {
    if (dragging_ && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        const QPoint pos = mapFromGlobal(QCursor::pos());
        DragCanceled(pos.x(), pos.y());
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

bool TChessBrd::DragAccepts(int x, int y) {
    // The owner's handler may accept a square; it cannot refuse a legal one.
    bool accept = false;
    if (OnDragOver) {
        accept = true;
        OnDragOver(this, this, x, y, accept);
    }
    const Square sq = PixelToSquare(x, y);
    if (!Thinking() && (sq == DragFrom || IsLegalMove(DragFrom, sq))) accept = true;
    return accept;
}

void TChessBrd::DragOver(int x, int y) {
    const int half = sizeOfSquare_ / 2, d = PieceOffset();
    const QPoint at(x - half + d, y - half + d);
    if (!dragging_) {
        PaintSquare(DragFrom);
        DrawGridLines();
        dragging_ = true;
        qApp->installEventFilter(this); // Escape cancels the drag wherever the focus is
        ShowFloatingAt(State().Squares[static_cast<std::size_t>(DragFrom)], at);
    }
    MoveFloatingTo(at);
    setCursor(DragAccepts(x, y) ? dragCursor_ : QCursor(Qt::ForbiddenCursor));
}

void TChessBrd::DragDrop(int x, int y) {
    EndFloating();
    if (OnDragDrop) OnDragDrop(this, this, x, y);
    const Square sq = PixelToSquare(x, y);
    DropTo = sq;
    const Square from = DragFrom;
    if (sq == from) {
        DrawPiece(from, State().Squares[static_cast<std::size_t>(from)]);
        DrawGridLines();
    } else if (!MakeMove(from, sq)) {
        // The owner accepted a square the rules refuse: the piece goes home and the
        // owner hears about it as for any refused drop.
        DrawPiece(from, State().Squares[static_cast<std::size_t>(from)]);
        DrawGridLines();
        if (OnEndDrag) OnEndDrag(this, this, x, y);
        if (OnIllegalMove) OnIllegalMove(this, from);
        return;
    }
    if (OnEndDrag) OnEndDrag(this, this, x, y);
}

void TChessBrd::DragCanceled(int x, int y) {
    EndFloating();
    const Square from = DragFrom;
    if (IsOnBoard(from)) {
        DrawPiece(from, State().Squares[static_cast<std::size_t>(from)]);
        DrawGridLines();
    }
    if (OnIllegalMove) OnIllegalMove(this, from);
    if (OnEndDrag) OnEndDrag(this, nullptr, x, y);
}

// ---------------------------------------------------------------- resizing

void TChessBrd::ResizeMove(Qt::MouseButtons buttons, int x, int y) {
    const Qt::CursorShape shape = cursor().shape();
    if (shape != Qt::SizeFDiagCursor && shape != Qt::SizeHorCursor && shape != Qt::SizeVerCursor)
        normalCursor_ = cursor();
    const int w = width(), h = height();
    if (resizable_ && x >= w - 10 && x <= w && y >= h - 10 && y <= h) {
        setCursor(Qt::SizeFDiagCursor);
        if (buttons & Qt::LeftButton) resizing_ = true;
    } else if (resizable_ && !resizing_) {
        setCursor(normalCursor_);
    }
    if (resizable_ && resizing_) {
        const int size =
            std::clamp(std::max(x, y), resizeMinSize_, std::max(resizeMinSize_, resizeMaxSize_));
        if (size != width()) resize(size, height());
    }
}

} // namespace qv
