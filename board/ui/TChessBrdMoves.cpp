// The board component's moves without dragging (click-click, keyboard), the promotion
// chooser, the last-move highlight and the owner's marks.
#include "board/ui/DepthGuard.h"
#include "board/ui/PromotionChooser.h"
#include "board/ui/TChessBrd.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QRegion>

#include <algorithm>
#include <cctype>

namespace qv {

namespace {

bool IsPieceOf(char piece, bool white) {
    if (piece == ' ' || piece == '\0') return false;
    return white ? std::isupper(static_cast<unsigned char>(piece)) != 0
                 : std::islower(static_cast<unsigned char>(piece)) != 0;
}

} // namespace

// ---------------------------------------------------------------- properties

void TChessBrd::SetClickMoves(bool on) {
    clickMoves_ = on;
    if (!on && !keyboardMoves_) ClearSelection();
}

void TChessBrd::SetKeyboardMoves(bool on) {
    keyboardMoves_ = on;
    setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
    if (!on && !clickMoves_) ClearSelection();
    if (hasFocus()) RepaintRegion(SquaresRegion({focusSquare_}));
}

void TChessBrd::SetFocusSquare(Square sq) {
    if (!IsOnBoard(sq) || sq == focusSquare_) return;
    const Square old = focusSquare_;
    focusSquare_ = sq;
    if (hasFocus()) RepaintRegion(SquaresRegion({old, sq}));
    AnnounceFocus();
}

void TChessBrd::SetChoosePromotion(bool on) {
    choosePromotion_ = on;
    if (!on) ClosePromotionChooser();
}

QWidget* TChessBrd::PromotionChooserWidget() const {
    return chooser_ && chooser_->isVisible() ? chooser_.data() : nullptr;
}

void TChessBrd::SetHighlightLastMove(bool on) {
    if (on == highlightLastMove_) return;
    highlightLastMove_ = on;
    RepaintRegion(SquaresRegion({lastFrom_, lastTo_}));
}

void TChessBrd::MarkSquare(Square sq, const QColor& colour) {
    if (!IsOnBoard(sq)) return;
    marks_.push_back({sq, None, colour});
    RepaintRegion(SquaresRegion({sq}));
}

void TChessBrd::MarkArrow(Square from, Square to, const QColor& colour) {
    if (!IsOnBoard(from) || !IsOnBoard(to) || from == to) return;
    marks_.push_back({from, to, colour});
    RepaintRegion(QRegion(SquareRect(from).united(SquareRect(to))));
}

void TChessBrd::ClearMarks() {
    if (marks_.empty()) return;
    QRegion area;
    for (const Mark& m : marks_)
        area += IsOnBoard(m.To) ? QRegion(SquareRect(m.From).united(SquareRect(m.To)))
                                : SquaresRegion({m.From});
    marks_.clear();
    RepaintRegion(area);
}

// ---------------------------------------------------------------- state of the marks

bool TChessBrd::SamePosition(const BoardState& key) const {
    return key.Squares == State().Squares && key.WhiteToMove == State().WhiteToMove;
}

Square TChessBrd::Selected() const {
    return selected_ != None && SamePosition(selectedIn_) ? selected_ : None;
}

QRegion TChessBrd::SquaresRegion(std::initializer_list<Square> squares) const {
    QRegion r;
    for (Square sq : squares)
        if (IsOnBoard(sq)) r += SquareRect(sq);
    return r;
}

void TChessBrd::RepaintRegion(const QRegion& r) {
    const QRegion clipped = r.intersected(rect());
    if (clipped.isEmpty() || !isVisible() || !updatesEnabled()) return;
    if (inPaintEvent_) {
        update(clipped);
        return;
    }
    DepthGuard internal(internalPaint_);
    repaint(clipped);
}

void TChessBrd::ClearSelection() {
    if (selected_ == None) return;
    QRegion area = SquaresRegion({selected_});
    for (Square t : targets_) area += SquareRect(t);
    selected_ = None;
    targets_.clear();
    RepaintRegion(area);
}

void TChessBrd::Select(Square sq) {
    ClearSelection();
    selected_ = sq;
    selectedIn_ = State();
    targets_.clear();
    for (int t = 1; t <= 64; ++t)
        if (IsLegalMove(sq, t)) targets_.push_back(static_cast<Square>(t));
    QRegion area = SquaresRegion({sq});
    for (Square t : targets_) area += SquareRect(t);
    RepaintRegion(area);
}

QRegion TChessBrd::DropStaleMarks() {
    // The selection and the last move belong to the position they were made in.
    QRegion area;
    if (selected_ != None && !SamePosition(selectedIn_)) {
        area += SquaresRegion({selected_});
        for (Square t : targets_) area += SquareRect(t);
        selected_ = None;
        targets_.clear();
    }
    if (lastFrom_ != None && !SamePosition(lastMoveIn_)) {
        area += SquaresRegion({lastFrom_, lastTo_});
        lastFrom_ = lastTo_ = None;
    }
    return area;
}

void TChessBrd::RememberLastMove(Square from, Square to) {
    const QRegion old = SquaresRegion({lastFrom_, lastTo_});
    lastFrom_ = from;
    lastTo_ = to;
    lastMoveIn_ = State();
    if (highlightLastMove_) RepaintRegion(old + SquaresRegion({from, to}));
}

// ---------------------------------------------------------------- click-click and keys

void TChessBrd::SquareClicked(Square sq) {
    if (!IsOnBoard(sq) || PromotionChooserWidget()) return;
    const Square from = Selected();
    if (from != None) {
        const bool target = std::find(targets_.begin(), targets_.end(), sq) != targets_.end();
        if (target && !Thinking() && IsLegalMove(from, sq)) {
            ClearSelection();
            UserMove(from, sq);
            return;
        }
        ClearSelection();
        if (sq == from) return; // the selected piece again: put down
    }
    if (IsPieceOf(State().At(sq), WhiteToMove())) Select(sq);
}

bool TChessBrd::IsPromotion(Square from, Square to) const {
    const char piece = State().At(from);
    return ((piece == 'P' && RankOf(to) == 8) || (piece == 'p' && RankOf(to) == 1)) &&
           IsLegalMove(from, to);
}

bool TChessBrd::UserMove(Square from, Square to) {
    if (choosePromotion_ && IsPromotion(from, to)) {
        OpenPromotionChooser(from, to);
        return false; // played, or not, once the chooser closes
    }
    // As a drop: these squares mean the move is not animated.
    DragFrom = from;
    DropTo = to;
    return MakeMove(from, to);
}

void TChessBrd::keyPressEvent(QKeyEvent* e) {
    if (!keyboardMoves_) {
        QWidget::keyPressEvent(e);
        return;
    }
    // Screen directions: with White on top the board's files and ranks run the other way.
    const int flip = whiteOnTop_ ? -1 : 1;
    int file = FileOf(focusSquare_), rank = RankOf(focusSquare_);
    switch (e->key()) {
    case Qt::Key_Left:
        file -= flip;
        break;
    case Qt::Key_Right:
        file += flip;
        break;
    case Qt::Key_Up:
        rank += flip;
        break;
    case Qt::Key_Down:
        rank -= flip;
        break;
    case Qt::Key_Space:
        SquareClicked(focusSquare_);
        return;
    case Qt::Key_Escape:
        if (Selected() != None) {
            ClearSelection();
            return;
        }
        QWidget::keyPressEvent(e);
        return;
    default:
        QWidget::keyPressEvent(e);
        return;
    }
    SetFocusSquare(SquareAt(std::clamp(file, 1, 8), std::clamp(rank, 1, 8)));
}

void TChessBrd::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    if (keyboardMoves_) RepaintRegion(SquaresRegion({focusSquare_}));
    AnnounceFocus();
}

void TChessBrd::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    if (keyboardMoves_) RepaintRegion(SquaresRegion({focusSquare_}));
}

void TChessBrd::AnnounceFocus() {
    if (!keyboardMoves_ || !hasFocus()) return;
    // Screen readers hear of the square, a child of the board's accessible interface.
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(focusSquare_ - 1);
    QAccessible::updateAccessibility(&event);
}

// ---------------------------------------------------------------- promotion chooser

void TChessBrd::OpenPromotionChooser(Square from, Square to) {
    ClosePromotionChooser();
    const bool white = State().At(from) == 'P';
    std::array<QPixmap, 4> images;
    for (std::size_t i = 0; i < 4; ++i) {
        const char letter = PromotionChooser::Letters[i];
        images[i] = PieceImage(white ? static_cast<char>(std::toupper(letter)) : letter);
    }
    auto* chooser = new PromotionChooser(this, images, sizeOfSquare_, squareColorLight_);
    promoFrom_ = from;
    promoTo_ = to;
    chooser_ = chooser;
    chooser->OnDone = [this](char piece) {
        if (piece == '\0')
            PromotionCancelled();
        else
            PromotionChosen(piece);
    };
    // Over the promotion square, running towards the middle of the board.
    const QRect square = SquareRect(to);
    const bool downwards = square.top() < height() / 2;
    QPoint at = square.topLeft() - QPoint(2, 2);
    if (!downwards) at.ry() -= 3 * sizeOfSquare_;
    chooser->move(mapToGlobal(at));
    chooser->show();
    chooser->setFocus(Qt::PopupFocusReason);
}

void TChessBrd::ClosePromotionChooser() {
    if (chooser_) chooser_->close(); // cancels, through the chooser's OnDone
}

void TChessBrd::PromotionChosen(char piece) {
    const Square from = promoFrom_, to = promoTo_;
    promoFrom_ = promoTo_ = None;
    if (!IsLegalMove(from, to)) return; // the position changed while the chooser was open
    // The chosen piece for this move only; a handler of OnPromotion may still change it,
    // and its change then lasts, as always.
    const char saved = PromotionPiece;
    PromotionPiece = piece;
    DragFrom = from;
    DropTo = to;
    MakeMove(from, to);
    if (PromotionPiece == piece) PromotionPiece = saved;
}

void TChessBrd::PromotionCancelled() {
    const Square from = promoFrom_;
    promoFrom_ = promoTo_ = None;
    if (IsOnBoard(from) && OnIllegalMove) OnIllegalMove(this, from);
}

} // namespace qv
