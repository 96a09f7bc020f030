// Diagram squares: the board's square colours with a piece drawn on top.
#include "tools/artgen/DiagramPictures.h"

#include "tools/artgen/PieceSets.h"

#include <QPainter>

#include <string_view>

namespace qv::artgen {
namespace {

// Problem-file letters of the pieces, in piece-set column order (pawn .. king).
const char PieceLetters[] = {'p', 'c', 'a', 't', 'd', 'r'};

} // namespace

// The main window's board colours: white and teal.
const QColor DiagramPictures::LightSquare(255, 255, 255);
const QColor DiagramPictures::DarkSquare(0, 128, 128);

DiagramPictures::DiagramPictures() : renderer_(DiagramPieceStyle(), Size) {}

QStringList DiagramPictures::FileNames() {
    QStringList names{"white.jpg", "black.jpg"};
    for (char piece : PieceLetters)
        for (char colour : {'b', 'n'})
            for (char square : {'b', 'n'})
                names << QString("%1%2%3.jpg").arg(piece).arg(colour).arg(square);
    return names;
}

QImage DiagramPictures::Picture(const QString& fileName) const {
    QImage image(Size, Size, QImage::Format_RGB32);
    if (fileName == "white.jpg" || fileName == "black.jpg") {
        image.fill(fileName == "white.jpg" ? LightSquare : DarkSquare);
        return image;
    }
    if (fileName.size() != 7 || !fileName.endsWith(".jpg")) return {};
    const int kind =
        static_cast<int>(std::string_view(PieceLetters, 6).find(fileName[0].toLatin1()));
    const QChar colour = fileName[1], square = fileName[2];
    if (kind < 0 || (colour != 'b' && colour != 'n') || (square != 'b' && square != 'n')) return {};

    image.fill(square == 'b' ? LightSquare : DarkSquare);
    QPainter p(&image);
    p.drawImage(0, 0, renderer_.Render(static_cast<PieceKind>(kind), colour == 'b'));
    return image;
}

} // namespace qv::artgen
