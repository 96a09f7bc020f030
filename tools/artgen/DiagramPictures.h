// The 26 square pictures of the diagram window.
#pragma once

#include "tools/artgen/PieceSets.h"

#include <QColor>
#include <QImage>
#include <QStringList>

namespace qv::artgen {

// Draws the diagram window's square pictures: "white.jpg" and "black.jpg" for the empty light
// and dark squares, and one picture per piece, piece colour and square colour, named by the
// problem-file letters (piece r d t a c p, then b/n for a White/Black piece, then b/n for a
// light/dark square).
class DiagramPictures {
public:
    static constexpr int Size = 36; // the window draws each square 36 x 36
    static const QColor LightSquare;
    static const QColor DarkSquare;

    DiagramPictures();

    // All 26 file names.
    static QStringList FileNames();

    // The picture for one of those names; a null image for any other name.
    QImage Picture(const QString& fileName) const;

private:
    PieceRenderer renderer_;
};

} // namespace qv::artgen
