// The application icon, drawn from shapes that QPainter paints and the SVG writer spells out.
#include "tools/artgen/AppIcon.h"

#include "tools/artgen/PieceSets.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <stdexcept>

namespace qv::artgen {
namespace {

const QString GlyphFont = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";

// Black's solid knight glyph, its box's bottom centre at (x, foot), h units high.
QPainterPath KnightGlyph(qreal x, qreal foot, qreal h) {
    const int id = QFontDatabase::addApplicationFont(GlyphFont);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) throw std::runtime_error("cannot load font " + GlyphFont.toStdString());
    QFont font(families.first());
    font.setPixelSize(1000);
    font.setStyleStrategy(QFont::NoFontMerging);
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath raw;
    raw.addText(0, 0, font, QString(QChar(0x265E)));
    const QRectF box = raw.boundingRect();
    QTransform t;
    t.translate(x, foot);
    t.scale(h / box.height(), h / box.height());
    t.translate(-box.center().x(), -box.bottom());
    return t.map(raw);
}

QString Number(qreal v) {
    QString text = QString::number(v, 'f', 2);
    while (text.endsWith('0')) text.chop(1);
    if (text.endsWith('.')) text.chop(1);
    return text == "-0" ? "0" : text;
}

QString SvgColour(const QColor& c) {
    return c.name(QColor::HexRgb);
}

} // namespace

std::vector<IconLayer> AppIconLayers() {
    std::vector<IconLayer> layers;
    const QColor teal(0, 128, 128), light(238, 236, 220), gold(214, 178, 96);

    QPainterPath tile;
    tile.addRoundedRect(QRectF(12, 12, 232, 232), 40, 40);
    layers.push_back({tile, QColor(18, 100, 104), QColor(6, 48, 54), {}, 0});

    // A 4 x 4 board in a gold frame, light square in the top left corner as on a real board.
    constexpr qreal boardLeft = 40, square = 44;
    QPainterPath frame;
    frame.addRect(QRectF(boardLeft - 6, boardLeft - 6, 4 * square + 12, 4 * square + 12));
    layers.push_back({frame, gold, QColor(160, 124, 52), {}, 0});
    QPainterPath lightSquares, darkSquares;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            ((row + col) % 2 ? darkSquares : lightSquares)
                .addRect(
                    QRectF(boardLeft + col * square, boardLeft + row * square, square, square));
    layers.push_back({lightSquares, light, light, {}, 0});
    layers.push_back({darkSquares, teal, teal, {}, 0});

    // The knight stands in front of the board: a light rim, then the dark body whose inner
    // lines let the light through.
    const QPainterPath knight = KnightGlyph(134, 232, 188);
    const QPainterPath body = PieceRenderer::Silhouette(knight);
    layers.push_back({body, light, light, light, 12});
    layers.push_back({knight, QColor(70, 58, 50), QColor(22, 18, 16), {}, 0});
    return layers;
}

QImage RenderAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(qreal(size) / AppIconUnits, qreal(size) / AppIconUnits);
    for (const IconLayer& layer : AppIconLayers()) {
        // Fill first, outline over it, as SVG paints a shape.
        QLinearGradient fill(0, 0, 0, 1);
        fill.setCoordinateMode(QGradient::ObjectBoundingMode);
        fill.setColorAt(0, layer.fillTop);
        fill.setColorAt(1, layer.fillBottom);
        p.fillPath(layer.path, fill);
        if (layer.strokeWidth > 0)
            p.strokePath(layer.path, QPen(layer.stroke, layer.strokeWidth, Qt::SolidLine,
                                          Qt::RoundCap, Qt::RoundJoin));
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QString SvgPathData(const QPainterPath& path) {
    QStringList parts;
    QPointF start, last;
    const auto closeIfBack = [&] {
        if (!parts.isEmpty() && last == start) parts << "Z";
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        switch (e.type) {
        case QPainterPath::MoveToElement:
            closeIfBack();
            start = last = e;
            parts << "M" + Number(e.x) + " " + Number(e.y);
            break;
        case QPainterPath::LineToElement:
            last = e;
            parts << "L" + Number(e.x) + " " + Number(e.y);
            break;
        case QPainterPath::CurveToElement: {
            const QPainterPath::Element c2 = path.elementAt(i + 1), to = path.elementAt(i + 2);
            last = to;
            parts << QStringLiteral("C%1 %2 %3 %4 %5 %6")
                         .arg(Number(e.x), Number(e.y), Number(c2.x), Number(c2.y), Number(to.x),
                              Number(to.y));
            i += 2;
            break;
        }
        case QPainterPath::CurveToDataElement:
            break; // consumed with its curve
        }
    }
    closeIfBack();
    return parts.join(' ');
}

QString AppIconSvg() {
    const std::vector<IconLayer> layers = AppIconLayers();
    QString defs, shapes;
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const IconLayer& layer = layers[i];
        QString fill = SvgColour(layer.fillTop);
        if (layer.fillTop != layer.fillBottom) {
            const QString id = QStringLiteral("fill%1").arg(i);
            defs +=
                QStringLiteral("    <linearGradient id=\"%1\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
                               "<stop offset=\"0\" stop-color=\"%2\"/>"
                               "<stop offset=\"1\" stop-color=\"%3\"/></linearGradient>\n")
                    .arg(id, SvgColour(layer.fillTop), SvgColour(layer.fillBottom));
            fill = QStringLiteral("url(#%1)").arg(id);
        }
        QString stroke;
        if (layer.strokeWidth > 0)
            stroke = QStringLiteral(" stroke=\"%1\" stroke-width=\"%2\" stroke-linejoin=\"round\"")
                         .arg(SvgColour(layer.stroke), Number(layer.strokeWidth));
        const QString rule =
            layer.path.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd") : "nonzero";
        shapes += QStringLiteral("  <path fill=\"%1\" fill-rule=\"%2\"%3 d=\"%4\"/>\n")
                      .arg(fill, rule, stroke, SvgPathData(layer.path));
    }
    const QString units = QString::number(AppIconUnits);
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                          "viewBox=\"0 0 %1 %1\">\n"
                          "  <defs>\n%2  </defs>\n%3</svg>\n")
        .arg(units, defs, shapes);
}

} // namespace qv::artgen
