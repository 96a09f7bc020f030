// The look of one piece set: glyph font, colours and line widths.
#pragma once

#include <QColor>
#include <QString>

namespace qv::glyphs {

// Colours and proportions with which PieceRenderer draws the twelve pieces of one set.
// Widths are given for a 40-pixel cell and scale with the cell.
struct PieceStyle {
    QString fontFile;           // font file holding the chess glyphs U+2654..U+265F
    QColor whiteFillTop;        // White's body, top of the piece
    QColor whiteFillBottom;     // White's body, foot of the piece (same as top for no shading)
    QColor whiteLine;           // White's drawing lines and outline
    QColor blackFillTop;        // Black's body, top
    QColor blackFillBottom;     // Black's body, foot
    QColor blackDetail;         // the light lines inside Black's pieces
    QColor blackRim;            // the light rim around Black's pieces
    double whiteOutline = 1.0;  // extra outline stroke around White's pieces
    double blackRimWidth = 2.0; // rim stroke around Black's pieces (half of it shows outside)
    double margin = 0.06;       // free space at the cell's edges, as a share of the cell
    // When set, White's pieces take the shape of Black's solid glyphs (light body, dark
    // outline and details) instead of the font's outline glyphs, so both sides match.
    bool whiteFromSolid = false;
};

} // namespace qv::glyphs
