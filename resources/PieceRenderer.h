// Draws chess pieces from font glyphs as antialiased, transparent pictures: the artwork
// generator draws the built-in piece sets with it, the board its scalable set.
#pragma once

#include "resources/PieceStyle.h"

#include <QFont>
#include <QImage>
#include <QPainterPath>

#include <array>

namespace qv::glyphs {

// Piece columns of a piece-set bitmap, in their order.
enum class PieceKind { Pawn = 0, Knight, Bishop, Rook, Queen, King };

// Renders the pieces of one style at one cell size. All twelve glyphs share one scale and one
// foot line, so the pieces keep their natural proportions to each other.
class PieceRenderer {
public:
    // Throws std::runtime_error when the style's font cannot be loaded.
    PieceRenderer(const PieceStyle& style, int cell);

    // A cell x cell ARGB picture of the piece, transparent around it.
    QImage Render(PieceKind kind, bool white) const;

    // The piece-set bitmap: 6 x 4 cells in the layout the board expects (White's pieces,
    // their masks, Black's pieces, their masks). Masks are black where the piece is opaque.
    QImage RenderPieceSet() const;

    int Cell() const { return cell_; }

    // The area inside a glyph's outermost contours: the piece's body without its inner holes.
    static QPainterPath Silhouette(const QPainterPath& glyph);

private:
    QPainterPath GlyphPath(PieceKind kind, bool white) const;

    PieceStyle style_;
    int cell_;
    QFont font_;
    std::array<QPainterPath, 12> glyphs_; // index: white ? kind : 6 + kind, already placed
};

} // namespace qv::glyphs
