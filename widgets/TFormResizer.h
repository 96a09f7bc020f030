// TFormResizer: keeps a window's controls in proportion when the window is resized.
#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace qv {

// Scales the controls of a window with the window. Record remembers the window's size
// and, for every control it holds (those inside panels too), its bounds and font size;
// Rescale, called on every resize, sets each recorded control's left and width in
// proportion to the window's width and its top and height in proportion to the
// window's height, each rounded. Controls placed by a layout, and those passed to
// LeaveAlone (controls that fill their parent), are not touched; labels keep their
// present size (it follows their text; word-wrapping labels scale like the other
// controls) and have their automatic sizing switched off while they are moved.
// At the recorded window size every control gets its recorded bounds back, labels
// their recorded place with their present size. Controls are looked for on the window and,
// recursively, inside plain containers (QWidget, QFrame, QGroupBox, or any widget with the property
// "qvContainer" set). Font scaling is optional (off by default); scaled font sizes are kept between
// MinFontSize and MaxFontSize points.
class TFormResizer : public QObject {
    Q_OBJECT
public:
    explicit TFormResizer(QWidget* form, QObject* parent = nullptr);

    void Record();
    void Rescale();

    // Excludes a control (and nothing else) from rescaling.
    void LeaveAlone(QWidget* control);

    bool ScaleFonts() const { return FScaleFonts; }
    void SetScaleFonts(bool on) { FScaleFonts = on; }
    int MinFontSize() const { return FMinFontSize; }
    void SetMinFontSize(int points) { FMinFontSize = points; }
    int MaxFontSize() const { return FMaxFontSize; }
    void SetMaxFontSize(int points) { FMaxFontSize = points; }

    QSize RecordedFormSize() const { return FFormSize; }
    int RecordedCount() const { return static_cast<int>(FItems.size()); }

    // The arithmetic of Rescale for one rectangle: left and width scale with the
    // widths, top and height with the heights, each rounded to the nearest integer.
    static QRect ScaleRect(const QRect& recorded, QSize recordedForm, QSize presentForm);

private:
    struct Item {
        QPointer<QWidget> Control;
        QRect Bounds;
        qreal FontSize; // points, or pixels when the font is sized in pixels
        bool FontInPixels;
    };

    static bool IsLabel(const QWidget* w);
    static bool WrapsText(const QWidget* w);
    static bool IsLaidOut(const QWidget* w);
    static bool IsContainer(const QWidget* w);
    void RecordChildren(QWidget* parent);

    QPointer<QWidget> FForm;
    QSize FFormSize;
    std::vector<Item> FItems;
    std::vector<QPointer<QWidget>> FLeftAlone;
    bool FScaleFonts = false;
    int FMinFontSize = 8;
    int FMaxFontSize = 48;
};

} // namespace qv
