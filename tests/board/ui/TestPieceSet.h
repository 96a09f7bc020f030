// A synthetic piece set for the board tests: flat-coloured pieces with square masks.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>

namespace qvtest {

// Piece colour of column j (0..5) for White (row 0) or Black (row 1).
inline QColor TestPieceColor(int colourRow, int j) {
    return colourRow == 0 ? QColor(230, 40 + 10 * j, 40) : QColor(40, 40 + 10 * j, 230);
}
// The picture background, which the masks must remove.
inline QColor TestBackground() {
    return QColor(255, 0, 255);
}

// 6 x 4 cells of cell pixels: each picture cell is filled with its piece colour on a
// magenta rim; its mask is black on the inner half of the cell (the piece) and
// white around it.
inline QImage MakeTestPieceSet(int cell = 40) {
    QImage img(6 * cell, 4 * cell, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    const int inset = cell / 4;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 6; ++j) {
            const int x = j * cell, y = 2 * i * cell;
            p.fillRect(x, y, cell, cell, TestBackground());
            p.fillRect(x + 1, y + 1, cell - 2, cell - 2, TestPieceColor(i, j));
            p.fillRect(x + inset, y + cell + inset, cell - 2 * inset, cell - 2 * inset, Qt::black);
        }
    return img;
}

} // namespace qvtest
