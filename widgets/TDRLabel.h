// TDRLabel: a text label with a drop shadow that can blink.
#pragma once

#include <QColor>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace qv {

// How a TDRLabel blinks.
enum TBlinkMode {
    blNone,  // steady text
    blBlink, // the text colour alternates with the background colour: the text flashes
    blHiLo,  // the text colour alternates with the shadow colour
};

// A label that draws its caption twice: first in the shadow colour, offset by the
// shadow depth to the lower right, then in the text colour on top. With blinking on,
// the text colour changes every blink interval; while the text colour equals the
// background colour nothing but the background is drawn. The blink timer runs only
// while the label blinks and is visible, so a hidden label costs nothing.
class TDRLabel : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
public:
    explicit TDRLabel(QWidget* parent = nullptr);

    QString Caption() const { return FCaption; }
    void SetCaption(const QString& text);

    QColor FontColor() const { return FFontColor; }
    void SetFontColor(const QColor& c);
    QColor ShadowColor() const { return FShadowColor; }
    void SetShadowColor(const QColor& c);
    int ShadowDepth() const { return FShadowDepth; }
    void SetShadowDepth(int pixels);

    // Background colour; by default the colour of the parent's background.
    QColor Color() const;
    void SetColor(const QColor& c);
    // A transparent label paints no background.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool on);

    TBlinkMode Blink() const { return FBlink; }
    void SetBlink(TBlinkMode mode);
    int BlinkInterval() const { return FBlinkInterval; }
    void SetBlinkInterval(int ms);

    // Whether the label resizes itself to its caption (off by default: the owner
    // places it with fixed bounds).
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool on);

    // The colour the caption is drawn in at this moment (changes while blinking).
    QColor CurrentTextColor() const;
    // True while the blink is in its second phase (alternate colour).
    bool BlinkPhase() const { return FBlinkPhase; }
    // Advances the blink by one phase; the blink timer calls it every interval.
    void BlinkStep();
    // For tests and diagnostics: whether the blink timer is running.
    bool BlinkTimerActive() const { return FTimer.isActive(); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateTimer();
    void AdjustSize();

    QString FCaption;
    QColor FFontColor{Qt::black};
    QColor FShadowColor{Qt::gray};
    QColor FColor; // invalid: use the parent's background
    int FShadowDepth = 1;
    bool FTransparent = false;
    TBlinkMode FBlink = blNone;
    int FBlinkInterval = 300;
    bool FBlinkPhase = false;
    bool FAutoSize = false;
    QTimer FTimer;
};

} // namespace qv
