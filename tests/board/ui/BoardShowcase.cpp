// A window with two boards, one with default settings and one with coordinates, grid
// lines, textures and White on top, for looking at the board on a real display.
// Optional argument "drag": a piece is left floating in mid-drag on the left board;
// "sets": small squares and the 32-pixel set; "features": click-click selection, keyboard
// focus, last move and hint marks on both boards; "promote": pawns about to promote (b7 and g2);
// "scalable N": the scalable set on boards with N-pixel squares (built-in sets on the
// left for comparison: "scalable N Set80").
#include "board/ui/TChessBrd.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

using namespace qv;

namespace {

QPixmap Texture(QColor base, int seed) {
    QImage img(37, 29, QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const int grain = ((x * 7 + y * 13 + seed) % 23) - 11 + ((y * 5 + seed) % 9);
            img.setPixelColor(x, y, base.lighter(100 + grain));
        }
    return QPixmap::fromImage(img);
}

void Send(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Boards"));
    auto* left = new TChessBrd(&window);
    auto* right = new TChessBrd(&window);
    left->move(10, 10);
    right->move(400, 10);
    window.resize(780, 400);

    right->SetDisplayCoords(AllCoords);
    right->SetBoardLines(true);
    right->SetLineStyle(QPen(QColor(60, 40, 20)));
    right->SetSquareLight(Texture(QColor(222, 190, 140), 3));
    right->SetSquareDark(Texture(QColor(140, 90, 50), 11));
    right->SetBorderBitmap(Texture(QColor(90, 55, 30), 5));
    right->SetWhiteOnTop(true);
    right->SetAnimateMoves(false);
    right->MakeMove(E2, E4);
    right->MakeMove(C7, C5);
    right->MakeMove(G1, F3);

    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("sets")) {
        // Small squares with the 40-pixel set (pieces overlap), and the 32-pixel set.
        left->SetSizeOfSquare(31);
        left->SetDisplayCoords(West | South);
        left->SetBoardLines(true);
        left->SetLineStyle(QPen(Qt::white, 1, Qt::DotLine));
        right->SetCustomPieceSet(QPixmap(QStringLiteral(":/pieces/Set32.bmp")));
        right->SetSquareColorDark(QColor(0, 128, 128));
        right->SetSquareColorLight(Qt::white);
        right->SetSquareDark(QPixmap());
        right->SetSquareLight(QPixmap());
        right->SetBorderColor(QColor(192, 192, 192));
        right->SetBorderBitmap(QPixmap());
    }
    const auto setFrom = [](const QString& name) {
        return QPixmap(QStringLiteral(":/pieces/%1.bmp").arg(name));
    };
    if (mode == QLatin1String("features") || mode == QLatin1String("promote")) {
        for (TChessBrd* b : {left, right}) {
            b->SetClickMoves(true);
            b->SetKeyboardMoves(true);
            b->SetChoosePromotion(true);
            b->SetHighlightLastMove(true);
            b->SetAnimateMoves(false);
        }
        left->SetCustomPieceSet(setFrom(QStringLiteral("Set40")));
        left->SetSquareColorDark(QColor(0, 128, 128));
        left->SetSquareColorLight(Qt::white);
        left->SetBorderColor(QColor(192, 192, 192));
        left->MakeMove(E2, E4);
        left->MakeMove(E7, E5);
        left->MarkSquare(F3);
        left->MarkArrow(G1, F3);
        right->SetScalablePieceSet(true);
        right->MarkArrow(D8, H4, QColor(200, 30, 30, 170));
        right->MarkSquare(F2, QColor(200, 30, 30, 220));
        if (mode == QLatin1String("promote")) {
            left->SetFen("8/1P5k/8/8/8/8/6p1/K7 w - - 0 1");
            right->SetFen("8/1P5k/8/8/8/8/6p1/K7 b - - 0 1");
        }
    }
    if (mode == QLatin1String("scalable")) {
        const int square = argc > 2 ? QString::fromLatin1(argv[2]).toInt() : 64;
        const QString compare = argc > 3 ? QString::fromLatin1(argv[3]) : QStringLiteral("Set40");
        for (TChessBrd* b : {left, right}) {
            b->SetSizeOfSquare(square);
            b->SetDisplayCoords(AllCoords);
        }
        right->move(left->width() + 20, 10);
        left->SetCustomPieceSet(setFrom(compare));
        right->SetScalablePieceSet(true);
        window.resize(right->x() + right->width() + 10, right->height() + 20);
    }
    window.show();
    if (mode == QLatin1String("features")) {
        QTimer::singleShot(300, right, [right] {
            const QPoint at = right->SquareToPixel(G8) + QPoint(20, 20);
            Send(right, QEvent::MouseButtonPress, at, Qt::LeftButton);
            Send(right, QEvent::MouseButtonRelease, at, Qt::NoButton);
        });
        QTimer::singleShot(400, left, [left] {
            left->setFocus();
            left->SetFocusSquare(D2);
        });
    }
    if (argc > 1 && QString::fromLatin1(argv[1]) == QLatin1String("drag")) {
        QTimer::singleShot(300, left, [left] {
            const QPoint from = left->SquareToPixel(G1) + QPoint(20, 20);
            Send(left, QEvent::MouseButtonPress, from, Qt::LeftButton);
            Send(left, QEvent::MouseMove, from + QPoint(10, -10), Qt::LeftButton);
            Send(left, QEvent::MouseMove, QPoint(230, 235), Qt::LeftButton);
        });
    }
    return app.exec();
}
