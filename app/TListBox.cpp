// The index list box: mouse clicks and keyboard moves raise Click.
#include "app/TListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace qv {

TListBox::TListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
}

void TListBox::AddItem(const QString& text) {
    auto* item = new QListWidgetItem(text, this);
    item->setSizeHint(QSize(0, m_itemHeight));
}

void TListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && itemAt(event->position().toPoint())) emit Click();
}

void TListBox::keyPressEvent(QKeyEvent* event) {
    // Space and Right arrow do nothing in a one-column list; they go on to the window,
    // where they press Next.
    if ((event->key() == Qt::Key_Space || event->key() == Qt::Key_Right) &&
        event->modifiers() == Qt::NoModifier) {
        event->ignore();
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0) emit Click();
}

} // namespace qv
