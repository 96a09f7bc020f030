// The promotion chooser: four pieces in a popup column, picked by mouse or keyboard.
#include "board/ui/PromotionChooser.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace qv {

PromotionChooser::PromotionChooser(QWidget* board, const std::array<QPixmap, 4>& pieces, int square,
                                   const QColor& background)
    : QWidget(board, Qt::Popup | Qt::FramelessWindowHint), pieces_(pieces), square_(square),
      background_(background) {
    setObjectName(QStringLiteral("promotionChooser"));
    setAttribute(Qt::WA_DeleteOnClose);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Promote to"));
    resize(square_ + 4, 4 * square_ + 4);
}

QRect PromotionChooser::CellRect(int i) const {
    return {2, 2 + i * square_, square_, square_};
}

void PromotionChooser::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(40, 40, 40));
    for (int i = 0; i < 4; ++i) {
        const QRect cell = CellRect(i);
        p.fillRect(cell, i == current_ ? background_.darker(125) : background_);
        const QPixmap& image = pieces_[static_cast<std::size_t>(i)];
        if (image.isNull()) continue;
        // Centred; a piece set larger than the squares is shrunk to fit.
        const QSize size = image.size().boundedTo(cell.size());
        const QRect target(cell.center() - QPoint(size.width() / 2, size.height() / 2), size);
        p.setRenderHint(QPainter::SmoothPixmapTransform, size != image.size());
        p.drawPixmap(target, image);
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(30, 110, 255), 2));
        p.drawRect(CellRect(current_).adjusted(1, 1, -1, -1));
    }
}

void PromotionChooser::mousePressEvent(QMouseEvent* e) {
    const QPoint pos = e->position().toPoint();
    if (!rect().contains(pos)) {
        Finish('\0'); // a click outside
        return;
    }
    for (int i = 0; i < 4; ++i)
        if (CellRect(i).contains(pos)) {
            Finish(Letters[static_cast<std::size_t>(i)]);
            return;
        }
}

void PromotionChooser::mouseMoveEvent(QMouseEvent* e) {
    for (int i = 0; i < 4; ++i)
        if (CellRect(i).contains(e->position().toPoint()) && i != current_) {
            current_ = i;
            update();
        }
}

void PromotionChooser::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Escape:
        Finish('\0');
        return;
    case Qt::Key_Up:
    case Qt::Key_Left:
        current_ = (current_ + 3) % 4;
        update();
        return;
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_Tab:
        current_ = (current_ + 1) % 4;
        update();
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Finish(Letters[static_cast<std::size_t>(current_)]);
        return;
    default:
        break;
    }
    const QString text = e->text().toLower();
    for (char letter : Letters)
        if (text == QLatin1Char(letter)) {
            Finish(letter);
            return;
        }
    e->ignore();
}

void PromotionChooser::hideEvent(QHideEvent*) {
    Finish('\0'); // closed by the window system, a click outside or the board
}

void PromotionChooser::Finish(char piece) {
    if (done_) return;
    done_ = true;
    close();
    if (OnDone) {
        auto done = std::move(OnDone);
        OnDone = nullptr;
        done(piece);
    }
}

} // namespace qv
