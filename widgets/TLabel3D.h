// TLabel3D: a label whose caption stands out as raised (or sunken) text.
#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace qv {

// How the text of a TLabel3D is modelled.
enum TTextStyle3D {
    tsRaised,   // light above left, shadow below right
    tsRecessed, // shadow above left, light below right
};

// A label that draws its caption three times: a highlight copy, a shadow copy one
// depth further down and right, and the face in the font colour between them, so the
// text seems to stand out of the surface. With AutoSize on (the default) the label
// widens and narrows with its caption; its top left corner stays put.
class TLabel3D : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
public:
    explicit TLabel3D(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& text);

    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& c);
    QColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(const QColor& c);
    QColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(const QColor& c);
    int Depth() const { return FDepth; }
    void SetDepth(int pixels);
    TTextStyle3D Style3D() const { return FStyle; }
    void SetStyle3D(TTextStyle3D style);

    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void AdjustSize();

    QString FCaption;
    QColor FFontColor{Qt::white};
    QColor FHighlightColor{Qt::white};
    QColor FShadowColor{Qt::black};
    int FDepth = 1;
    TTextStyle3D FStyle = tsRaised;
    bool FAutoSize = true;
};

} // namespace qv
