// The built-in piece sets: names, cell sizes and looks.
#include "tools/artgen/PieceSets.h"

namespace qv::artgen {

QList<PieceSetSpec> BuiltInPieceSets() {
    return {
        {"SETVARDEL40", 40, glyphs::ClassicStyle()},
        {"Set32", 32, glyphs::BoldStyle()},
        {"Set40", 40, glyphs::SerifStyle()},
        {"Set80", 64, glyphs::ShadedStyle()},
    };
}

PieceStyle DiagramPieceStyle() {
    return glyphs::SerifStyle();
}

} // namespace qv::artgen
