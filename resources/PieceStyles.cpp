// Looks of the piece sets, drawn from the chess glyphs of free fonts, and the scalable set.
#include "resources/PieceStyles.h"

#include "resources/PieceRenderer.h"

#include <exception>

namespace qv::glyphs {
namespace {

// Installed by the Debian packages fonts-dejavu-core and fonts-freefont-ttf.
const QString DejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const QString DejaVuSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const QString FreeSerif = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";

} // namespace

// Plain black and white, the board's own default look.
PieceStyle ClassicStyle() {
    PieceStyle s;
    s.fontFile = DejaVuSans;
    s.whiteFillTop = QColor(255, 255, 255);
    s.whiteFillBottom = QColor(236, 236, 236);
    s.whiteLine = QColor(16, 16, 16);
    s.blackFillTop = QColor(40, 40, 40);
    s.blackFillBottom = QColor(16, 16, 16);
    s.blackDetail = QColor(220, 220, 220);
    s.blackRim = QColor(245, 245, 245);
    s.whiteOutline = 2.0;
    s.blackRimWidth = 2.0;
    s.whiteFromSolid = true;
    return s;
}

// Heavy strokes for the small set, so details survive at 32 pixels.
PieceStyle BoldStyle() {
    PieceStyle s;
    s.fontFile = DejaVuSansBold;
    s.whiteFillTop = QColor(255, 253, 245);
    s.whiteFillBottom = QColor(235, 228, 210);
    s.whiteLine = QColor(30, 24, 20);
    s.blackFillTop = QColor(52, 48, 60);
    s.blackFillBottom = QColor(20, 18, 26);
    s.blackDetail = QColor(225, 220, 205);
    s.blackRim = QColor(250, 246, 236);
    s.whiteOutline = 0.8;
    s.blackRimWidth = 1.8;
    s.margin = 0.04;
    return s;
}

// Serif pieces in ivory and ebony.
PieceStyle SerifStyle() {
    PieceStyle s;
    s.fontFile = FreeSerif;
    s.whiteFillTop = QColor(255, 250, 236);
    s.whiteFillBottom = QColor(240, 226, 196);
    s.whiteLine = QColor(46, 30, 18);
    s.blackFillTop = QColor(62, 44, 34);
    s.blackFillBottom = QColor(24, 16, 12);
    s.blackDetail = QColor(240, 226, 196);
    s.blackRim = QColor(252, 246, 230);
    s.whiteOutline = 1.2;
    s.blackRimWidth = 2.2;
    s.margin = 0.05;
    return s;
}

// Large shaded pieces with a polished look.
PieceStyle ShadedStyle() {
    PieceStyle s;
    s.fontFile = DejaVuSans;
    s.whiteFillTop = QColor(255, 255, 255);
    s.whiteFillBottom = QColor(196, 204, 214);
    s.whiteLine = QColor(28, 34, 44);
    s.blackFillTop = QColor(92, 98, 112);
    s.blackFillBottom = QColor(14, 16, 22);
    s.blackDetail = QColor(210, 216, 226);
    s.blackRim = QColor(238, 242, 248);
    s.whiteOutline = 1.6;
    s.blackRimWidth = 1.6;
    s.whiteFromSolid = true;
    s.margin = 0.05;
    return s;
}

PieceStyle ScalableStyle() {
    return SerifStyle();
}

QImage DrawScalablePieceSet(int cell) {
    if (cell < 4) return {};
    try {
        return PieceRenderer(ScalableStyle(), cell).RenderPieceSet();
    } catch (const std::exception&) {
        return {}; // the font is missing
    }
}

} // namespace qv::glyphs
