// Recording and proportional rescaling of a window's controls.
#include "widgets/TFormResizer.h"

#include "widgets/TDRLabel.h"
#include "widgets/TLabel3D.h"

#include <QLabel>
#include <QLayout>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace qv {

TFormResizer::TFormResizer(QWidget* form, QObject* parent)
    : QObject(parent ? parent : form), FForm(form) {}

void TFormResizer::LeaveAlone(QWidget* control) {
    FLeftAlone.emplace_back(control);
}

bool TFormResizer::IsLabel(const QWidget* w) {
    return qobject_cast<const QLabel*>(w) || qobject_cast<const TDRLabel*>(w) ||
           qobject_cast<const TLabel3D*>(w);
}

bool TFormResizer::WrapsText(const QWidget* w) {
    const auto* label = qobject_cast<const QLabel*>(w);
    return label && label->wordWrap();
}

bool TFormResizer::IsLaidOut(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(const_cast<QWidget*>(w)) >= 0;
}

bool TFormResizer::IsContainer(const QWidget* w) {
    // Panels hold controls of the window; other widgets (a combo box, a memo, a list)
    // hold parts of their own that are none of our business.
    const char* cls = w->metaObject()->className();
    return qstrcmp(cls, "QWidget") == 0 || qstrcmp(cls, "QFrame") == 0 ||
           qstrcmp(cls, "QGroupBox") == 0 || w->property("qvContainer").toBool();
}

void TFormResizer::RecordChildren(QWidget* parent) {
    for (QObject* child : parent->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w || w->isWindow()) continue; // dialogs and menus owned by the window
        const QFont f = w->font();
        const bool pixels = f.pixelSize() > 0;
        FItems.push_back(
            {w, w->geometry(), pixels ? qreal(f.pixelSize()) : f.pointSizeF(), pixels});
        if (IsContainer(w)) RecordChildren(w);
    }
}

void TFormResizer::Record() {
    FItems.clear();
    if (!FForm) return;
    FFormSize = FForm->size();
    RecordChildren(FForm);
}

QRect TFormResizer::ScaleRect(const QRect& recorded, QSize recordedForm, QSize presentForm) {
    if (recordedForm.width() <= 0 || recordedForm.height() <= 0) return recorded;
    const double h = double(presentForm.width()) / recordedForm.width();
    const double v = double(presentForm.height()) / recordedForm.height();
    return {int(std::lround(recorded.x() * h)), int(std::lround(recorded.y() * v)),
            int(std::lround(recorded.width() * h)), int(std::lround(recorded.height() * v))};
}

void TFormResizer::Rescale() {
    if (!FForm || FItems.empty()) return;
    const QSize present = FForm->size();
    const bool atRecordedSize = present == FFormSize;
    const double ratio = std::min(double(present.width()) / std::max(1, FFormSize.width()),
                                  double(present.height()) / std::max(1, FFormSize.height()));
    for (const Item& item : FItems) {
        QWidget* w = item.Control;
        if (!w || IsLaidOut(w)) continue;
        if (std::find(FLeftAlone.begin(), FLeftAlone.end(), w) != FLeftAlone.end()) continue;
        QRect bounds = atRecordedSize ? item.Bounds : ScaleRect(item.Bounds, FFormSize, present);
        if (IsLabel(w) && !WrapsText(w)) {
            // A label's size follows its text, which may have changed since Record:
            // it keeps it, at the recorded size too (else its text would be cut).
            bounds.setSize(w->size());
            // A label that sizes itself would undo the move; switch that off meanwhile.
            const QVariant autoSize = w->property("AutoSize");
            if (autoSize.isValid()) w->setProperty("AutoSize", false);
            w->setGeometry(bounds);
            if (autoSize.isValid()) w->setProperty("AutoSize", autoSize);
        } else {
            w->setGeometry(bounds);
        }
        if (FScaleFonts && item.FontSize > 0) {
            QFont f = w->font();
            if (item.FontInPixels) {
                // Limits are in points; at 96 dots per inch a point is 4/3 pixel.
                const double px = std::clamp(item.FontSize * ratio, FMinFontSize * 4.0 / 3.0,
                                             FMaxFontSize * 4.0 / 3.0);
                f.setPixelSize(int(std::lround(px)));
            } else {
                f.setPointSizeF(
                    std::clamp(item.FontSize * ratio, double(FMinFontSize), double(FMaxFontSize)));
            }
            w->setFont(f);
        }
    }
}

} // namespace qv
