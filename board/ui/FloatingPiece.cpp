// The floating piece image: a transparent, mouse-transparent child widget.
#include "board/ui/FloatingPiece.h"

#include <QPainter>

namespace qv {

FloatingPiece::FloatingPiece(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("floatingPiece"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void FloatingPiece::SetImage(const QPixmap& image) {
    image_ = image;
    resize(image.isNull() ? QSize(1, 1) : image.size());
    update();
}

void FloatingPiece::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!image_.isNull()) p.drawPixmap(0, 0, image_);
}

} // namespace qv
