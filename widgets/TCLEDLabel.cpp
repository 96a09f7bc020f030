// Painting of the seven-segment digit label.
#include "widgets/TCLEDLabel.h"

#include <QPainter>

namespace qv {

namespace {

constexpr unsigned Bit(TCLEDLabel::Segment s) {
    return 1u << s;
}

using S = TCLEDLabel;
constexpr unsigned DigitMasks[10] = {
    Bit(S::SegA) | Bit(S::SegB) | Bit(S::SegC) | Bit(S::SegD) | Bit(S::SegE) | Bit(S::SegF), // 0
    Bit(S::SegB) | Bit(S::SegC),                                                             // 1
    Bit(S::SegA) | Bit(S::SegB) | Bit(S::SegG) | Bit(S::SegE) | Bit(S::SegD),                // 2
    Bit(S::SegA) | Bit(S::SegB) | Bit(S::SegG) | Bit(S::SegC) | Bit(S::SegD),                // 3
    Bit(S::SegF) | Bit(S::SegG) | Bit(S::SegB) | Bit(S::SegC),                               // 4
    Bit(S::SegA) | Bit(S::SegF) | Bit(S::SegG) | Bit(S::SegC) | Bit(S::SegD),                // 5
    Bit(S::SegA) | Bit(S::SegF) | Bit(S::SegG) | Bit(S::SegE) | Bit(S::SegC) | Bit(S::SegD), // 6
    Bit(S::SegA) | Bit(S::SegB) | Bit(S::SegC),                                              // 7
    0x7Fu,                                                                                   // 8
    Bit(S::SegA) | Bit(S::SegB) | Bit(S::SegC) | Bit(S::SegD) | Bit(S::SegF) | Bit(S::SegG), // 9
};

// Space kept free around the digit, in pixels.
constexpr int Margin = 2;

} // namespace

TCLEDLabel::TCLEDLabel(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

void TCLEDLabel::SetCaption(const QString& text) {
    if (text == FCaption) return;
    FCaption = text;
    update();
}

void TCLEDLabel::SetSegmentColor(const QColor& c) {
    FSegmentColor = c;
    update();
}

void TCLEDLabel::SetUnlitColor(const QColor& c) {
    FUnlitColor = c;
    update();
}

void TCLEDLabel::SetBackgroundColor(const QColor& c) {
    FBackgroundColor = c;
    update();
}

void TCLEDLabel::SetThickness(int pixels) {
    FThickness = qMax(1, pixels);
    update();
}

QChar TCLEDLabel::DisplayedChar() const {
    return FCaption.isEmpty() ? QChar(' ') : FCaption.back();
}

unsigned TCLEDLabel::SegmentsFor(QChar c) {
    if (c >= QChar('0') && c <= QChar('9')) return DigitMasks[c.unicode() - '0'];
    if (c == QChar('-')) return Bit(SegG);
    if (c == QChar('E') || c == QChar('e'))
        return Bit(SegA) | Bit(SegD) | Bit(SegE) | Bit(SegF) | Bit(SegG);
    return 0;
}

QRect TCLEDLabel::SegmentRect(Segment s) const {
    // The digit fills the widget less a margin; vertical segments stand between
    // the horizontal ones, so the corners stay dark and the segments read apart.
    const int t = FThickness;
    const int left = Margin, right = width() - Margin;  // exclusive right edge
    const int top = Margin, bottom = height() - Margin; // exclusive bottom edge
    const int midTop = (top + bottom - t) / 2;          // top row of the middle bar
    const int hWidth = qMax(1, right - left - 2 * t);
    const int upperHeight = qMax(1, midTop - (top + t));
    const int lowerHeight = qMax(1, (bottom - t) - (midTop + t));
    switch (s) {
    case SegA:
        return {left + t, top, hWidth, t};
    case SegG:
        return {left + t, midTop, hWidth, t};
    case SegD:
        return {left + t, bottom - t, hWidth, t};
    case SegF:
        return {left, top + t, t, upperHeight};
    case SegB:
        return {right - t, top + t, t, upperHeight};
    case SegE:
        return {left, midTop + t, t, lowerHeight};
    case SegC:
        return {right - t, midTop + t, t, lowerHeight};
    case SegmentCount:
        break;
    }
    return {};
}

void TCLEDLabel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), FBackgroundColor);
    const unsigned lit = SegmentsFor(DisplayedChar());
    for (int s = 0; s < SegmentCount; ++s) {
        const auto seg = static_cast<Segment>(s);
        p.fillRect(SegmentRect(seg), (lit & Bit(seg)) ? FSegmentColor : FUnlitColor);
    }
}

} // namespace qv
