// The board component's input: the floating piece image, move animation, mouse drag and
// drop, and resizing by the bottom-right corner.
#include "board/ui/DepthGuard.h"
#include "board/ui/FloatingPiece.h"
#include "board/ui/TChessBrd.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegion>

#include <algorithm>
#include <cstdlib>

namespace qv {

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
        // Through the window, at once: left to the event loop, the area of a newly shown
        // image would be repainted later, as if the window system had asked for it.
        if (host->isVisible()) {
            DepthGuard internal(internalPaint_);
            host->repaint(floating_->geometry());
        }
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
    if (dragging_) AbandonDrag(from); // a move arrived from a caller that did not end it
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
    pressEnded_ = false;
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
    const bool click =
        (dragPending_ || !wasResizing) && !pressEnded_ && e->button() == Qt::LeftButton;
    dragPending_ = false;
    if (!click || !rect().contains(pos)) return;
    if (OnClick) OnClick(this);
    const Square sq = PixelToSquare(pos.x(), pos.y());
    if (keyboardMoves_ && IsOnBoard(sq)) SetFocusSquare(sq);
    if (clickMoves_) {
        if (IsOnBoard(sq))
            SquareClicked(sq);
        else
            ClearSelection();
    }
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

void TChessBrd::AbandonDrag(Square leaving) {
    // A move is played while the user drags: the drag ends without a word, and its piece
    // goes home unless it is the piece that moves (the move repaints its square).
    const Square home = DragFrom;
    EndFloating();
    dragPending_ = false;
    pressEnded_ = true; // the button's release is no click
    if (IsOnBoard(home) && home != leaving)
        DrawPiece(home, State().Squares[static_cast<std::size_t>(home)]);
}

bool TChessBrd::DragAccepts(int x, int y) {
    // Over another control (outside this one) the drop is not this board's to take.
    if (!rect().contains(x, y)) return false;
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
        ClearSelection(); // dragging replaces a click-click selection
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
    } else if (choosePromotion_ && IsPromotion(from, sq)) {
        // The pawn waits on its square while the user picks its new piece.
        DrawPiece(from, State().Squares[static_cast<std::size_t>(from)]);
        DrawGridLines();
        OpenPromotionChooser(from, sq);
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
