// Drawing of the splash and credits pictures with QPainter.
#include "tools/artgen/WindowPictures.h"

#include "tools/artgen/PieceSets.h"

#include <QFont>
#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <stdexcept>

namespace qv::artgen {
namespace {

QString LoadFamily(const QString& file) {
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) throw std::runtime_error("cannot load font " + file.toStdString());
    return families.first();
}

QFont Font(const QString& file, qreal pixels, bool bold = false) {
    QFont f(LoadFamily(file));
    f.setPixelSize(static_cast<int>(pixels));
    if (bold) f.setWeight(QFont::Bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

const QString SerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
const QString Serif = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
const QString Sans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const QString SansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
const QString GlyphSerif = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";

// A chess glyph as a path, its box's bottom centre at (x, foot), height h.
QPainterPath GlyphAt(char16_t code, qreal x, qreal foot, qreal h) {
    QFont f(LoadFamily(GlyphSerif));
    f.setPixelSize(1000);
    f.setStyleStrategy(QFont::NoFontMerging);
    QPainterPath raw;
    raw.addText(0, 0, f, QString(QChar(code)));
    const QRectF box = raw.boundingRect();
    QTransform t;
    t.translate(x, foot);
    t.scale(h / box.height(), h / box.height());
    t.translate(-box.center().x(), -box.bottom());
    return t.map(raw);
}

// Text drawn with a soft dark shadow under it.
void ShadowedText(QPainter& p, const QPointF& at, const QFont& font, const QString& text,
                  const QBrush& brush, const QColor& shadow) {
    QPainterPath path;
    path.addText(at, font, text);
    for (int i = 3; i >= 1; --i) {
        QColor c = shadow;
        c.setAlphaF(shadow.alphaF() / (i + 1));
        p.fillPath(path.translated(i * 0.8, i * 1.0), c);
    }
    p.fillPath(path, brush);
}

} // namespace

QImage SplashPicture() {
    constexpr int W = 675, H = 114;
    QImage image(W, H, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Deep teal evening, darker to the right where the window writes its notice.
    QLinearGradient sky(0, 0, W, H);
    sky.setColorAt(0.0, QColor(10, 78, 84));
    sky.setColorAt(0.45, QColor(8, 46, 54));
    sky.setColorAt(1.0, QColor(5, 20, 27));
    p.fillRect(image.rect(), sky);

    // A patch of board on the left, fading into the background.
    constexpr int sq = 38;
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 6; ++col) {
            const bool light = (row + col) % 2 == 0;
            QColor c = light ? QColor(226, 240, 238) : QColor(0, 128, 128);
            const qreal fade = std::max(0.0, 1.0 - col / 5.0);
            c.setAlphaF(0.12 + (light ? 0.30 : 0.38) * fade);
            p.fillRect(QRectF(col * sq, row * sq, sq, sq), c);
        }
    }

    // A king and a knight standing on it.
    const PieceRenderer pieces(DiagramPieceStyle(), 96);
    p.drawImage(QPointF(4, 18), pieces.Render(PieceKind::King, true));
    p.drawImage(QPointF(58, 24), pieces.Render(PieceKind::Knight, false));

    // A faint rook in the far corner, like a watermark.
    QColor mark(255, 255, 255, 11);
    p.fillPath(GlyphAt(0x265C, 618, 104, 92), mark);

    // The program's name and what it is.
    QLinearGradient gold(0, 18, 0, 78);
    gold.setColorAt(0.0, QColor(255, 246, 214));
    gold.setColorAt(1.0, QColor(226, 190, 112));
    QFont title = Font(SerifBold, 54, true);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    ShadowedText(p, QPointF(170, 70), title, "Quorvane", gold, QColor(0, 0, 0, 200));

    QFont sub = Font(Sans, 15);
    sub.setLetterSpacing(QFont::AbsoluteSpacing, 4.0);
    p.setFont(sub);
    p.setPen(QColor(150, 214, 208));
    p.drawText(QPointF(174, 98), "CHESS TACTICS TRAINER");

    // A thin rule between name and subtitle.
    QLinearGradient rule(170, 0, 560, 0);
    rule.setColorAt(0.0, QColor(226, 190, 112, 220));
    rule.setColorAt(1.0, QColor(226, 190, 112, 0));
    p.fillRect(QRectF(170, 79, 390, 1.2), rule);
    return image;
}

QImage CreditsPortraitPicture() {
    constexpr int W = 281, H = 289;
    QImage image(W, H, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Studio backdrop: warm light behind the subject, falling off to the edges.
    QRadialGradient backdrop(QPointF(W * 0.55, H * 0.35), W * 0.85);
    backdrop.setColorAt(0.0, QColor(178, 150, 112));
    backdrop.setColorAt(0.55, QColor(118, 92, 64));
    backdrop.setColorAt(1.0, QColor(44, 32, 22));
    p.fillRect(image.rect(), backdrop);

    // The table top the king stands on.
    QLinearGradient table(0, H * 0.78, 0, H);
    table.setColorAt(0.0, QColor(96, 70, 46));
    table.setColorAt(1.0, QColor(40, 28, 18));
    p.fillRect(QRectF(0, H * 0.78, W, H * 0.22), table);

    // The king, lit from the upper left, with a soft shadow cast to the right.
    PieceStyle sepia;
    sepia.fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
    sepia.whiteFillTop = QColor(255, 251, 240);
    sepia.whiteFillBottom = QColor(200, 172, 130);
    sepia.whiteLine = QColor(52, 36, 22);
    sepia.blackFillTop = sepia.blackFillBottom = sepia.blackDetail = sepia.blackRim = Qt::black;
    sepia.whiteOutline = 1.0;
    sepia.whiteFromSolid = true;
    sepia.margin = 0.02;
    constexpr int cell = 212;
    const QImage king = PieceRenderer(sepia, cell).Render(PieceKind::King, true);
    const qreal left = (W - cell) / 2.0, top = H * 0.90 - cell * 0.98;

    QImage shadow(king.size(), QImage::Format_ARGB32_Premultiplied);
    shadow.fill(Qt::transparent);
    {
        QPainter s(&shadow);
        s.drawImage(0, 0, king);
        s.setCompositionMode(QPainter::CompositionMode_SourceIn);
        s.fillRect(shadow.rect(), QColor(24, 14, 6, 90));
    }
    p.save();
    p.translate(left + cell / 2.0, top + cell);
    p.scale(1.0, 0.16);
    p.shear(-1.6, 0);
    p.drawImage(QPointF(-cell / 2.0 + 6, -cell), shadow);
    p.restore();
    p.drawImage(QPointF(left, top), king);

    // Film grain and a vignette make it read as an old photograph.
    QRandomGenerator grain(20240611);
    for (int y = 0; y < H; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const int n = static_cast<int>(grain.bounded(17)) - 8;
            const qreal dx = (x - W / 2.0) / (W / 2.0), dy = (y - H / 2.0) / (H / 2.0);
            const qreal v = std::max(0.0, 1.0 - 0.35 * (dx * dx + dy * dy));
            const auto tone = [&](int c) {
                return std::clamp(static_cast<int>(c * v) + n, 0, 255);
            };
            line[x] = qRgb(tone(qRed(line[x])), tone(qGreen(line[x])), tone(qBlue(line[x])));
        }
    }
    // A thin white border, as on a print.
    p.setPen(QPen(QColor(245, 238, 224), 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, W - 6, H - 6));
    return image;
}

QImage CreditsTextPicture() {
    constexpr int W = 300, H = 335;
    QImage image(W, H, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient paper(0, 0, 0, H);
    paper.setColorAt(0.0, QColor(252, 249, 240));
    paper.setColorAt(1.0, QColor(238, 232, 216));
    p.fillRect(image.rect(), paper);

    // Teal band at the top with the name.
    QLinearGradient band(0, 0, W, 0);
    band.setColorAt(0.0, QColor(0, 112, 112));
    band.setColorAt(1.0, QColor(6, 58, 66));
    p.fillRect(QRectF(0, 0, W, 78), band);
    for (int col = 0; col < 30; ++col)
        p.fillRect(QRectF(col * 10, 78, 10, 6),
                   col % 2 ? QColor(0, 128, 128) : QColor(252, 249, 240));
    for (int col = 0; col < 30; ++col)
        p.fillRect(QRectF(col * 10, 84, 10, 6),
                   col % 2 ? QColor(252, 249, 240) : QColor(0, 128, 128));

    QFont title = Font(SerifBold, 36, true);
    ShadowedText(p, QPointF(22, 50), title, "Quorvane", QColor(255, 246, 222),
                 QColor(0, 0, 0, 160));
    p.setFont(Font(Sans, 11));
    p.setPen(QColor(188, 230, 226));
    p.drawText(QPointF(25, 68), "a chess tactics trainer");
    const PieceRenderer piece(DiagramPieceStyle(), 56);
    p.drawImage(QPointF(232, 12), piece.Render(PieceKind::Knight, true));

    // What it does.
    const QColor ink(40, 44, 48);
    const QColor accent(0, 112, 112);
    qreal y = 118;
    p.setFont(Font(SerifBold, 14, true));
    p.setPen(accent);
    p.drawText(QPointF(22, y), "Train your eye for tactics");
    y += 24;
    const char* points[] = {
        "Pick a problem from the index",     "Find the best move on the board",
        "Earn points for every good answer", "Think against the clock",
        "Learn from the commentary",         "Study diagrams, try your own ideas",
    };
    p.setFont(Font(Sans, 11));
    for (const char* line : points) {
        p.setPen(Qt::NoPen);
        p.setBrush(accent);
        p.drawRect(QRectF(24, y - 7, 5, 5));
        p.setPen(ink);
        p.drawText(QPointF(36, y), line);
        y += 19;
    }

    y += 4;
    p.setPen(QPen(QColor(0, 112, 112, 120), 1));
    p.drawLine(QPointF(22, y), QPointF(W - 22, y));
    y += 20;
    p.setFont(Font(Serif, 11));
    p.setPen(ink);
    p.drawText(QPointF(22, y), "Problems are plain-text scripts:");
    y += 16;
    p.drawText(QPointF(22, y), "write your own and share them.");
    p.setFont(Font(Sans, 9));
    p.setPen(QColor(110, 110, 104));
    p.drawText(QRectF(0, H - 22, W, 14), Qt::AlignHCenter, "Made with Qt and libjpeg");
    return image;
}

} // namespace qv::artgen
