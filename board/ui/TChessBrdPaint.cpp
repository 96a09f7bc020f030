// The board component's painting: piece images, border, coordinates, squares, lines and
// pieces, and the synchronous repaints of changed squares.
#include "board/ui/DepthGuard.h"
#include "board/ui/TChessBrd.h"
#include "resources/PieceStyles.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRegion>
#include <QTimer>

#include <algorithm>
#include <string_view>

namespace qv {

namespace {

constexpr std::string_view PieceLetters = "PNBRQKpnbrqk";

} // namespace

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
    if (scalable_) {
        const int s = sizeOfSquare_;
        const QImage drawn = glyphs::DrawScalablePieceSet(s);
        source = !drawn.isNull() ? drawn
                                 : builtInSet_.scaled(6 * s, 4 * s, Qt::IgnoreAspectRatio,
                                                      Qt::SmoothTransformation);
    }
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
    // A repaint writes no position: the last move stays marked while it is the
    // position on the board (a changed look, such as the border's colour, keeps it).
    DropStaleMarks(); // the whole board is repainted anyway
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
    ++positionWrites_;
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
    changed += DropStaleMarks();
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
    DrawUnderlays(p, area);
    DrawLines(p);
    DrawPieces(p, area);
    DrawOverlays(p, area);
    p.end();
    // The first complete paint of what can be seen: a board that its parent clips never
    // gets a paint of the whole control.
    if (!firstPaintDone_ && !firstPaintQueued_ &&
        (area == rect() || (visibleRegion() - e->region()).isEmpty())) {
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

void TChessBrd::DrawUnderlays(QPainter& p, const QRect& area) {
    // Tints between the squares and the pieces: the last move, then the selection.
    auto tint = [&](Square sq, const QColor& colour) {
        const QRect r = SquareRect(sq);
        if (IsOnBoard(sq) && r.intersects(area)) p.fillRect(r, colour);
    };
    if (highlightLastMove_ && lastFrom_ != None && SamePosition(lastMoveIn_)) {
        tint(lastFrom_, QColor(255, 214, 0, 140));
        tint(lastTo_, QColor(255, 214, 0, 140));
    }
    if (Selected() != None) tint(selected_, QColor(40, 120, 255, 110));
}

void TChessBrd::DrawOverlays(QPainter& p, const QRect& area) {
    const int s = sizeOfSquare_;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Where the selected piece may go: a dot on an empty square, a ring round a piece.
    if (Selected() != None) {
        for (Square t : targets_) {
            const QRectF r = SquareRect(t);
            if (!r.intersects(area)) continue;
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 40, 90, 120));
            if (State().At(t) == ' ') {
                const qreal d = std::max(4.0, s * 0.28);
                p.drawEllipse(r.center(), d / 2, d / 2);
            } else {
                QPainterPath ring;
                ring.addRect(r);
                ring.addEllipse(r.adjusted(s * 0.04, s * 0.04, -s * 0.04, -s * 0.04));
                ring.setFillRule(Qt::OddEvenFill);
                p.drawPath(ring);
            }
        }
    }
    // The owner's marks: rings, then arrows over them.
    for (const Mark& m : marks_) {
        if (IsOnBoard(m.To)) continue;
        const QRectF r =
            QRectF(SquareRect(m.From)).adjusted(s * 0.08, s * 0.08, -s * 0.08, -s * 0.08);
        if (!r.toAlignedRect().adjusted(-s, -s, s, s).intersects(area)) continue;
        p.setPen(QPen(m.Colour, std::max(2.0, s * 0.09)));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(r);
    }
    for (const Mark& m : marks_) {
        if (!IsOnBoard(m.To)) continue;
        const QPointF a = QRectF(SquareRect(m.From)).center(),
                      b = QRectF(SquareRect(m.To)).center();
        const QLineF line(a, b);
        const qreal width = std::max(3.0, s * 0.16), head = std::max(8.0, s * 0.42);
        // The shaft stops where the head begins, so the translucent colour is even.
        QLineF shaft(a, b);
        shaft.setLength(std::max(0.0, line.length() - head * 0.9));
        p.setPen(QPen(m.Colour, width, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(shaft);
        const QLineF back(b, a);
        QLineF left = back, right = back;
        left.setAngle(back.angle() + 28);
        right.setAngle(back.angle() - 28);
        left.setLength(head);
        right.setLength(head);
        p.setPen(Qt::NoPen);
        p.setBrush(m.Colour);
        p.drawPolygon(QPolygonF({b, left.p2(), right.p2()}));
    }
    // The keyboard's focus square, while the board has the focus.
    if (keyboardMoves_ && hasFocus() && IsOnBoard(focusSquare_)) {
        const int w = std::max(3, s / 12);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(QColor(30, 110, 255), w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(SquareRect(focusSquare_)).adjusted(w / 2.0, w / 2.0, -w / 2.0, -w / 2.0));
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

} // namespace qv
