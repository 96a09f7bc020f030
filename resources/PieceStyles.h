// The looks of the piece sets drawn from the chess glyphs of free fonts.
#pragma once

#include "resources/PieceStyle.h"

#include <QImage>

namespace qv::glyphs {

// Plain black and white (DejaVu Sans), the board's own built-in set.
PieceStyle ClassicStyle();
// Heavy strokes (DejaVu Sans Bold), so that details survive at 32 pixels.
PieceStyle BoldStyle();
// Serif pieces in ivory and ebony (FreeSerif), the main board's default set.
PieceStyle SerifStyle();
// Large shaded pieces with a polished look (DejaVu Sans).
PieceStyle ShadedStyle();

// The look of the scalable set, which is drawn while the program runs: the serif look of
// the main board's default set, so that switching to it keeps the pieces' faces.
PieceStyle ScalableStyle();

// The scalable piece set drawn for cells of `cell` pixels, in the layout of a piece-set
// bitmap (6 x 4 cells: White's pieces, their masks, Black's pieces, their masks). Null when
// the style's font cannot be loaded (its package is not installed) or the cell is too small.
QImage DrawScalablePieceSet(int cell);

} // namespace qv::glyphs
