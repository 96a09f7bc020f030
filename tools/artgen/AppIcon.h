// The application icon: one drawing, painted as pictures of any size and written as SVG.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QString>

#include <vector>

namespace qv::artgen {

// One shape of the icon, in a square of AppIconUnits units. The fill runs from the top to the
// bottom of the shape's box (one colour when both are equal); a zero width draws no outline.
struct IconLayer {
    QPainterPath path;
    QColor fillTop;
    QColor fillBottom;
    QColor stroke;
    double strokeWidth = 0.0;
};

constexpr int AppIconUnits = 256;

// The icon's shapes, back to front: a dark teal tile, a small board, a knight with a light rim.
std::vector<IconLayer> AppIconLayers();

// The icon painted at size x size pixels, transparent around the tile.
QImage RenderAppIcon(int size);

// The same drawing as an SVG document.
QString AppIconSvg();

// SVG path data for a path: absolute M, L and C commands, Z where a subpath ends on its start.
QString SvgPathData(const QPainterPath& path);

} // namespace qv::artgen
