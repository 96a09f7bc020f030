// The piece image that floats over the window while a piece is dragged or slides.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace qv {

// FloatingPiece is a small transparent child of the board's window that shows one
// piece image. It takes no mouse input, so the board keeps receiving the drag's
// mouse events, and since it is a widget of its own the window beneath it stays
// intact as it moves. Owned by the window it floats over.
class FloatingPiece : public QWidget {
    Q_OBJECT
public:
    explicit FloatingPiece(QWidget* parent);
    void SetImage(const QPixmap& image);
    const QPixmap& Image() const { return image_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    QPixmap image_;
};

} // namespace qv
