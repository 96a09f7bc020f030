// TCLEDLabel: a label that shows one character as a seven-segment LED digit.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace qv {

// One seven-segment digit, as on a pocket calculator: lit segments in the segment
// colour, unlit ones in the dim colour, on a solid background. The main window uses
// three of them for the points total. The label is right-aligned: it shows the last
// character of its caption. It can show '0' to '9', '-', a blank (space or empty
// caption) and 'E' (the overflow mark); any other character shows as a blank.
class TCLEDLabel : public QWidget {
    Q_OBJECT
public:
    // The seven segments, named as usual: a top, b upper right, c lower right,
    // d bottom, e lower left, f upper left, g middle. Used as bit numbers.
    enum Segment { SegA = 0, SegB, SegC, SegD, SegE, SegF, SegG, SegmentCount };

    explicit TCLEDLabel(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& text);

    QColor SegmentColor() const { return FSegmentColor; }
    void SetSegmentColor(const QColor& c);
    QColor UnlitColor() const { return FUnlitColor; }
    void SetUnlitColor(const QColor& c);
    QColor BackgroundColor() const { return FBackgroundColor; }
    void SetBackgroundColor(const QColor& c);
    int Thickness() const { return FThickness; }
    void SetThickness(int pixels);

    // The character actually displayed (the caption's last one, or a space).
    QChar DisplayedChar() const;

    // Bit mask of the lit segments for a character (bit n = Segment n).
    static unsigned SegmentsFor(QChar c);

    // Where segment s is drawn in a widget of the present size.
    QRect SegmentRect(Segment s) const;

    QSize sizeHint() const override { return {15, 26}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString FCaption;
    QColor FSegmentColor{Qt::yellow};
    QColor FUnlitColor{128, 0, 0}; // maroon
    QColor FBackgroundColor{Qt::black};
    int FThickness = 2;
};

} // namespace qv
