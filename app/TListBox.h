// The index list of the main window: a list view over the problem index model that
// reports a click on an entry and a change of selection by the keyboard as one "Click",
// as the index list expects.
#pragma once

#include "app/ProblemIndexModel.h"

#include <QLineEdit>
#include <QListView>

#include <string>
#include <vector>

namespace qv {

// List whose Click signal fires for a mouse click on an entry (the same entry again
// included) and for every keyboard move of the selection. Space and Right arrow are left
// to the window. Rows are those the model's filter shows; a change of the filter keeps
// the selected entry selected while it stays in the list, without a Click.
class TListBox : public QListView {
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent = nullptr);

    ProblemIndexModel* Model() const { return model_; }

    // Lists these entries, in this order, with nothing selected and no filter.
    void SetEntries(const std::vector<std::string>& entries);
    void clear() { SetEntries({}); }
    void SetFilter(const QString& text);

    // Rows as shown (the filter applied).
    int count() const { return model_->rowCount(); }
    QString ItemText(int row) const;
    int currentRow() const;
    void setCurrentRow(int row); // selects without a Click; -1 selects nothing
    // The selected entry's text (empty when none), and its place among all entries.
    QString CurrentEntry() const;
    int CurrentFileRow() const;
    // The first shown row whose text is exactly `text`, or -1.
    int FindEntry(const QString& text) const;

    // Focus from the filter box: onto the selected entry, else the first one shown is
    // selected (a Click).
    void EnterFromFilter();

    void SetItemHeight(int pixels);
    int ItemHeight() const { return m_itemHeight; }

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    ProblemIndexModel* model_;
    int m_itemHeight = 14;
};

// The filter box above the index list: what is typed narrows the list at once. Down,
// Enter and Return go on into the list; Escape empties the box.
class TFilterEdit : public QLineEdit {
    Q_OBJECT
public:
    TFilterEdit(TListBox* list, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    TListBox* list_;
};

} // namespace qv
