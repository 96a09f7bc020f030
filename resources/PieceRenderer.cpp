// Piece drawing: glyph outlines placed in the cell, filled bodies, outlines and rims.
#include "resources/PieceRenderer.h"

#include <QFontDatabase>
#include <QHash>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

#include <stdexcept>

namespace qv::glyphs {
namespace {

// The outline glyphs U+2654.. are White's, the solid ones U+265A.. Black's; both run king,
// queen, rook, bishop, knight, pawn, the reverse of our column order.
char16_t GlyphCode(PieceKind kind, bool white) {
    const int k = static_cast<int>(kind);
    return static_cast<char16_t>((white ? 0x2654 : 0x265A) + (5 - k));
}

constexpr qreal GlyphSize = 1000.0; // font size of the raw outlines, for precision

// The family of a font file, which is loaded once.
QString FamilyOfFontFile(const QString& file) {
    static QHash<QString, QString> loaded;
    if (const auto it = loaded.constFind(file); it != loaded.constEnd()) return *it;
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families =
        id < 0 ? QStringList() : QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) return {};
    loaded.insert(file, families.first());
    return families.first();
}

} // namespace

PieceRenderer::PieceRenderer(const PieceStyle& style, int cell) : style_(style), cell_(cell) {
    const QString family = FamilyOfFontFile(style.fontFile);
    if (family.isEmpty())
        throw std::runtime_error("cannot load font " + style.fontFile.toStdString());
    font_ = QFont(family);
    font_.setPixelSize(static_cast<int>(GlyphSize));
    font_.setHintingPreference(QFont::PreferNoHinting);
    font_.setStyleStrategy(QFont::NoFontMerging);
    // The family may have several files; ask for the weight of the one that was named.
    if (style.fontFile.contains("Bold")) font_.setWeight(QFont::Bold);

    // Raw outlines and the box that holds all of them.
    std::array<QPainterPath, 12> raw;
    qreal maxW = 0, maxH = 0;
    for (int i = 0; i < 12; ++i) {
        QPainterPath p;
        p.addText(QPointF(0, 0), font_,
                  QString(QChar(GlyphCode(static_cast<PieceKind>(i % 6), i < 6))));
        raw[i] = p;
        maxW = std::max(maxW, p.boundingRect().width());
        maxH = std::max(maxH, p.boundingRect().height());
    }
    const qreal room = cell * (1.0 - 2.0 * style.margin);
    const qreal scale = room / std::max(maxW, maxH);
    const qreal foot = cell * (1.0 - style.margin) - (room - maxH * scale) / 2.0;
    for (int i = 0; i < 12; ++i) {
        const QRectF box = raw[i].boundingRect();
        QTransform t;
        t.translate(cell / 2.0, foot);
        t.scale(scale, scale);
        t.translate(-box.center().x(), -box.bottom());
        glyphs_[i] = t.map(raw[i]);
    }
}

QPainterPath PieceRenderer::GlyphPath(PieceKind kind, bool white) const {
    return glyphs_[(white ? 0 : 6) + static_cast<int>(kind)];
}

QPainterPath PieceRenderer::Silhouette(const QPainterPath& glyph) {
    const QList<QPolygonF> polys = glyph.toSubpathPolygons();
    QPainterPath result;
    result.setFillRule(Qt::WindingFill);
    for (qsizetype i = 0; i < polys.size(); ++i) {
        if (polys[i].isEmpty()) continue;
        bool nested = false;
        for (qsizetype j = 0; j < polys.size() && !nested; ++j) {
            if (i == j || polys[j].size() < 3) continue;
            const QRectF bi = polys[i].boundingRect(), bj = polys[j].boundingRect();
            if (!bj.contains(bi)) continue;
            nested = polys[j].containsPoint(polys[i].first(), Qt::OddEvenFill);
        }
        if (!nested) {
            QPainterPath part;
            part.addPolygon(polys[i]);
            part.closeSubpath();
            result = result.united(part);
        }
    }
    return result;
}

QImage PieceRenderer::Render(PieceKind kind, bool white) const {
    QImage image(cell_, cell_, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    const QPainterPath glyph = GlyphPath(kind, white);
    const QPainterPath body = Silhouette(glyph);
    const qreal unit = cell_ / 40.0;
    const QRectF box = body.boundingRect();
    QLinearGradient shade(box.topLeft(), box.bottomRight());

    if (white && style_.whiteFromSolid) {
        const QPainterPath solid = GlyphPath(kind, false);
        const QPainterPath shape = Silhouette(solid);
        const QRectF b = shape.boundingRect();
        QLinearGradient fill(b.topLeft(), b.bottomRight());
        fill.setColorAt(0, style_.whiteFillTop);
        fill.setColorAt(1, style_.whiteFillBottom);
        p.fillPath(shape, fill);
        p.fillPath(shape.subtracted(solid), style_.whiteLine); // the inner drawing lines
        p.strokePath(shape, QPen(style_.whiteLine, style_.whiteOutline * unit, Qt::SolidLine,
                                 Qt::RoundCap, Qt::RoundJoin));
    } else if (white) {
        shade.setColorAt(0, style_.whiteFillTop);
        shade.setColorAt(1, style_.whiteFillBottom);
        if (style_.whiteOutline > 0)
            p.strokePath(body, QPen(style_.whiteLine, style_.whiteOutline * unit, Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(body, shade);
        p.fillPath(glyph, style_.whiteLine);
    } else {
        shade.setColorAt(0, style_.blackFillTop);
        shade.setColorAt(1, style_.blackFillBottom);
        if (style_.blackRimWidth > 0)
            p.strokePath(body, QPen(style_.blackRim, style_.blackRimWidth * unit, Qt::SolidLine,
                                    Qt::RoundCap, Qt::RoundJoin));
        p.fillPath(body, style_.blackDetail);
        p.fillPath(glyph, shade);
    }
    return image;
}

QImage PieceRenderer::RenderPieceSet() const {
    QImage set(6 * cell_, 4 * cell_, QImage::Format_RGB32);
    set.fill(Qt::white);
    for (int colour = 0; colour < 2; ++colour) {
        const bool white = colour == 0;
        // Edge pixels keep the colour of the piece's own edge, so the hard mask leaves no
        // halo of some background colour around the piece.
        const QColor edge = white ? style_.whiteLine : style_.blackRim;
        for (int k = 0; k < 6; ++k) {
            const QImage piece = Render(static_cast<PieceKind>(k), white);
            const int x0 = k * cell_, y0 = 2 * colour * cell_;
            for (int y = 0; y < cell_; ++y) {
                for (int x = 0; x < cell_; ++x) {
                    const QRgb px = piece.pixel(x, y); // un-premultiplied by pixel()
                    const int a = qAlpha(px);
                    const auto mix = [a](int c, int e) { return (c * a + e * (255 - a)) / 255; };
                    set.setPixel(x0 + x, y0 + y,
                                 qRgb(mix(qRed(px), edge.red()), mix(qGreen(px), edge.green()),
                                      mix(qBlue(px), edge.blue())));
                    set.setPixel(x0 + x, y0 + cell_ + y,
                                 a >= 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
                }
            }
        }
    }
    return set;
}

} // namespace qv::glyphs
