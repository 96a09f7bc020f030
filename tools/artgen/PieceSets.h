// The piece sets built into the program: their names, cell sizes and looks.
#pragma once

#include "resources/PieceRenderer.h"
#include "resources/PieceStyles.h"

#include <QList>
#include <QString>

namespace qv::artgen {

// The glyph drawing is shared with the board's scalable set.
using glyphs::PieceKind;
using glyphs::PieceRenderer;
using glyphs::PieceStyle;

// One built-in piece-set bitmap to generate.
struct PieceSetSpec {
    QString name; // file name without ".bmp"
    int cell;     // cell size in pixels; the bitmap is 6 x 4 cells
    PieceStyle style;
};

// "SETVARDEL40" (the board's own set), "Set32", "Set40" and "Set80".
QList<PieceSetSpec> BuiltInPieceSets();

// The look of the diagram pictures, matching the main window's default set.
PieceStyle DiagramPieceStyle();

} // namespace qv::artgen
