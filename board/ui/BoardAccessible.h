// What screen readers see of the board: the board and its 64 squares with their pieces.
#pragma once

#include <QAccessibleWidget>

#include <array>

namespace qv {

class TChessBrd;

// The accessible interface of a TChessBrd: a table of 64 cells, one per square in reading
// order (a8 first, h1 last), each named after its square and piece ("e4: white knight",
// "d5: empty"). The focus square of the keyboard is the focused child. Created by Qt's
// accessibility through the factory that the board installs; it owns the squares'
// interfaces.
class BoardAccessible : public QAccessibleWidget {
public:
    explicit BoardAccessible(TChessBrd* board);
    ~BoardAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;

    TChessBrd* Board() const;

    // Installs the factory that gives every TChessBrd this interface (once per program).
    static void InstallFactory();

private:
    mutable std::array<QAccessible::Id, 64> squares_{};
};

// The words for a square and what stands on it, e.g. "e4: white knight".
QString DescribeSquare(char piece, int square);

} // namespace qv
