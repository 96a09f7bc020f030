// Painting and automatic sizing of the raised-text label.
#include "widgets/TLabel3D.h"

#include <QEvent>
#include <QPainter>

namespace qv {

TLabel3D::TLabel3D(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    AdjustSize();
}

void TLabel3D::SetCaption(const QString& text) {
    if (text == FCaption) return;
    FCaption = text;
    AdjustSize();
    update();
}

void TLabel3D::SetFontColor(const QColor& c) {
    FFontColor = c;
    update();
}

void TLabel3D::SetHighlightColor(const QColor& c) {
    FHighlightColor = c;
    update();
}

void TLabel3D::SetShadowColor(const QColor& c) {
    FShadowColor = c;
    update();
}

void TLabel3D::SetDepth(int pixels) {
    FDepth = qMax(0, pixels);
    AdjustSize();
    update();
}

void TLabel3D::SetStyle3D(TTextStyle3D style) {
    FStyle = style;
    update();
}

void TLabel3D::SetAutoSize(bool on) {
    FAutoSize = on;
    AdjustSize();
}

QSize TLabel3D::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(FCaption) + 2 * FDepth, fm.height() + 2 * FDepth};
}

void TLabel3D::AdjustSize() {
    if (!FAutoSize) return;
    // Keep the height the owner gave unless the text needs more; follow the text's width.
    const QSize hint = sizeHint();
    resize(hint.width(), qMax(height(), hint.height()));
}

void TLabel3D::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) AdjustSize();
    QWidget::changeEvent(event);
}

void TLabel3D::paintEvent(QPaintEvent*) {
    if (FCaption.isEmpty()) return;
    QPainter p(this);
    p.setFont(font());
    const int baseline = QFontMetrics(font()).ascent();
    const QColor first = FStyle == tsRaised ? FHighlightColor : FShadowColor;
    const QColor last = FStyle == tsRaised ? FShadowColor : FHighlightColor;
    p.setPen(first);
    p.drawText(0, baseline, FCaption);
    p.setPen(last);
    p.drawText(2 * FDepth, baseline + 2 * FDepth, FCaption);
    p.setPen(FFontColor);
    p.drawText(FDepth, baseline + FDepth, FCaption);
}

} // namespace qv
