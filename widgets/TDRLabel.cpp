// Painting and blinking of the shadowed label.
#include "widgets/TDRLabel.h"

#include <QEvent>
#include <QPainter>

namespace qv {

TDRLabel::TDRLabel(QWidget* parent) : QWidget(parent) {
    FTimer.setInterval(FBlinkInterval);
    connect(&FTimer, &QTimer::timeout, this, &TDRLabel::BlinkStep);
}

void TDRLabel::SetCaption(const QString& text) {
    if (text == FCaption) return;
    FCaption = text;
    AdjustSize();
    update();
}

void TDRLabel::SetFontColor(const QColor& c) {
    FFontColor = c;
    update();
}

void TDRLabel::SetShadowColor(const QColor& c) {
    FShadowColor = c;
    update();
}

void TDRLabel::SetShadowDepth(int pixels) {
    FShadowDepth = qMax(0, pixels);
    AdjustSize();
    update();
}

QColor TDRLabel::Color() const {
    if (FColor.isValid()) return FColor;
    const QWidget* source = parentWidget() ? parentWidget() : this;
    return source->palette().color(source->backgroundRole());
}

void TDRLabel::SetColor(const QColor& c) {
    FColor = c;
    update();
}

void TDRLabel::SetTransparent(bool on) {
    FTransparent = on;
    update();
}

void TDRLabel::SetBlink(TBlinkMode mode) {
    FBlink = mode;
    FBlinkPhase = false;
    UpdateTimer();
    update();
}

void TDRLabel::SetBlinkInterval(int ms) {
    FBlinkInterval = qMax(1, ms);
    FTimer.setInterval(FBlinkInterval);
}

void TDRLabel::SetAutoSize(bool on) {
    FAutoSize = on;
    AdjustSize();
}

QColor TDRLabel::CurrentTextColor() const {
    if (!FBlinkPhase) return FFontColor;
    switch (FBlink) {
    case blBlink:
        return Color();
    case blHiLo:
        return FShadowColor;
    case blNone:
        break;
    }
    return FFontColor;
}

void TDRLabel::BlinkStep() {
    if (FBlink == blNone) return;
    FBlinkPhase = !FBlinkPhase;
    update();
}

QSize TDRLabel::sizeHint() const {
    const QFontMetrics fm(font());
    return {fm.horizontalAdvance(FCaption) + FShadowDepth, fm.height() + FShadowDepth};
}

void TDRLabel::AdjustSize() {
    if (FAutoSize) resize(sizeHint());
}

void TDRLabel::UpdateTimer() {
    // A blinking label keeps its timer only while it can be seen.
    if (FBlink != blNone && isVisible())
        FTimer.start();
    else
        FTimer.stop();
}

void TDRLabel::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    UpdateTimer();
}

void TDRLabel::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    UpdateTimer();
}

void TDRLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) AdjustSize();
    QWidget::changeEvent(event);
}

void TDRLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor background = Color();
    if (!FTransparent) p.fillRect(rect(), background);
    const QColor text = CurrentTextColor();
    if (text == background || FCaption.isEmpty()) return;
    p.setFont(font());
    const int ascent = QFontMetrics(font()).ascent();
    if (FShadowDepth > 0) {
        p.setPen(FShadowColor);
        p.drawText(FShadowDepth, ascent + FShadowDepth, FCaption);
    }
    p.setPen(text);
    p.drawText(0, ascent, FCaption);
}

} // namespace qv
