// Reduction of a true-colour picture to 256 palette colours, for 8-bit bitmaps.
#pragma once

#include <QImage>

namespace qv::artgen {

// Returns an Indexed8 copy of image. Pure black and pure white are always in the palette and
// map exactly; the other colours are chosen by median cut and mapped to the nearest entry.
QImage ToIndexed8(const QImage& image);

} // namespace qv::artgen
