// The small window in which the user picks the piece a pawn promotes to.
#pragma once

#include <QPixmap>
#include <QWidget>

#include <array>
#include <functional>

namespace qv {

// PromotionChooser shows queen, rook, bishop and knight in a column of squares over the
// board. A click on a piece, or its letter (Q, R, B, N), or the arrow keys and Space or
// Enter choose it; Escape or a click outside closes the chooser without a choice. It is
// a popup: while it is open it has the mouse and the keyboard. Owned by the board.
class PromotionChooser : public QWidget {
    Q_OBJECT
public:
    // pieces: the four images in the order queen, rook, bishop, knight; square: the size
    // of one cell; background: the colour of the cells.
    PromotionChooser(QWidget* board, const std::array<QPixmap, 4>& pieces, int square,
                     const QColor& background);

    // Told once: with the lower-case letter of the chosen piece, or with '\0' when the
    // chooser closed without a choice.
    std::function<void(char piece)> OnDone;

    // The piece letters in cell order, from the cell nearest the promotion square.
    static constexpr std::array<char, 4> Letters{'q', 'r', 'b', 'n'};
    int Current() const { return current_; }
    // The rectangle of one cell, in the chooser's own pixels.
    QRect CellRect(int i) const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    void Finish(char piece);

    std::array<QPixmap, 4> pieces_;
    int square_;
    QColor background_;
    int current_ = 0;
    bool done_ = false;
};

} // namespace qv
