// The index list of the main window: a list box that reports a click on an entry and a
// change of selection by the keyboard as one "Click", as the index list expects.
#pragma once

#include <QListWidget>

namespace qv {

// List box whose Click signal fires for a mouse click on an entry (the same entry
// again included) and for every keyboard move of the selection. Space and Right arrow
// are left to the window.
class TListBox : public QListWidget {
    Q_OBJECT
public:
    explicit TListBox(QWidget* parent = nullptr);

    // Appends an entry drawn `itemHeight` pixels high.
    void AddItem(const QString& text);
    void SetItemHeight(int pixels) { m_itemHeight = pixels; }
    int ItemHeight() const { return m_itemHeight; }

signals:
    void Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_itemHeight = 14;
};

} // namespace qv
