// The index list: mouse clicks and keyboard moves raise Click.
#include "app/TListBox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace qv {

namespace {

// Every entry one line of the list's item height.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(const TListBox* list) : QStyledItemDelegate(nullptr), list_(list) {}
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {QStyledItemDelegate::sizeHint(option, index).width(), list_->ItemHeight()};
    }

private:
    const TListBox* list_;
};

} // namespace

TListBox::TListBox(QWidget* parent) : QListView(parent), model_(new ProblemIndexModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // All rows are equally high, so a list of any length lays out at once.
    setUniformItemSizes(true);
    setLayoutMode(QListView::SinglePass);
    auto* delegate = new FixedHeightDelegate(this);
    delegate->setParent(this);
    setItemDelegate(delegate);
}

void TListBox::SetEntries(const std::vector<std::string>& entries) {
    model_->SetEntries(entries);
    scrollToTop();
}

void TListBox::SetFilter(const QString& text) {
    const int fileRow = CurrentFileRow();
    model_->SetFilter(text);
    const int row = model_->RowOf(fileRow);
    setCurrentRow(row);
    if (row >= 0)
        scrollTo(model_->index(row), QAbstractItemView::PositionAtCenter);
    else
        scrollToTop();
}

QString TListBox::ItemText(int row) const {
    const int fileRow = model_->FileRow(row);
    return fileRow < 0 ? QString() : model_->Entry(fileRow);
}

int TListBox::currentRow() const {
    const QModelIndex index = currentIndex();
    return index.isValid() ? index.row() : -1;
}

void TListBox::setCurrentRow(int row) {
    if (row < 0 || row >= count()) {
        selectionModel()->clearCurrentIndex();
        selectionModel()->clearSelection();
        return;
    }
    setCurrentIndex(model_->index(row));
}

QString TListBox::CurrentEntry() const {
    return ItemText(currentRow());
}

int TListBox::CurrentFileRow() const {
    return model_->FileRow(currentRow());
}

int TListBox::FindEntry(const QString& text) const {
    for (int row = 0; row < count(); ++row)
        if (model_->Entry(model_->FileRow(row)) == text) return row;
    return -1;
}

void TListBox::EnterFromFilter() {
    if (count() == 0) return;
    const bool none = currentRow() < 0;
    setFocus(Qt::OtherFocusReason);
    if (!none) return;
    setCurrentRow(0);
    scrollToTop();
    emit Click();
}

void TListBox::SetItemHeight(int pixels) {
    m_itemHeight = pixels;
    // Uniform rows are measured once; make the view measure them again.
    setUniformItemSizes(false);
    setUniformItemSizes(true);
}

void TListBox::mousePressEvent(QMouseEvent* event) {
    QListView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && indexAt(event->position().toPoint()).isValid())
        emit Click();
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
    QListView::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0) emit Click();
}

TFilterEdit::TFilterEdit(TListBox* list, QWidget* parent) : QLineEdit(parent), list_(list) {
    setClearButtonEnabled(true);
    connect(this, &QLineEdit::textChanged, list_, &TListBox::SetFilter);
}

void TFilterEdit::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        list_->EnterFromFilter();
        event->accept();
        return;
    case Qt::Key_Escape:
        if (!text().isEmpty()) {
            clear();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace qv
