// Median-cut palette selection and nearest-colour mapping.
#include "tools/artgen/IndexedImage.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace qv::artgen {
namespace {

struct Entry {
    QRgb colour;
    int count;
};

// Splits the colour boxes along their widest channel until there are enough of them, then
// takes each box's weighted mean as its palette colour.
QList<QRgb> MedianCut(std::vector<Entry> colours, int wanted) {
    std::vector<std::vector<Entry>> boxes;
    if (!colours.empty()) boxes.push_back(std::move(colours));
    const auto channel = [](QRgb c, int ch) {
        return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c);
    };
    while (static_cast<int>(boxes.size()) < wanted) {
        int best = -1, bestRange = 0, bestChannel = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].size() < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 255, hi = 0;
                for (const Entry& e : boxes[b]) {
                    lo = std::min(lo, channel(e.colour, ch));
                    hi = std::max(hi, channel(e.colour, ch));
                }
                if (hi - lo > bestRange) {
                    bestRange = hi - lo;
                    best = static_cast<int>(b);
                    bestChannel = ch;
                }
            }
        }
        if (best < 0) break;
        std::vector<Entry>& box = boxes[static_cast<size_t>(best)];
        std::sort(box.begin(), box.end(), [&](const Entry& a, const Entry& b) {
            return channel(a.colour, bestChannel) < channel(b.colour, bestChannel);
        });
        long long total = 0;
        for (const Entry& e : box) total += e.count;
        long long run = 0;
        size_t cut = 1;
        for (; cut < box.size(); ++cut) {
            run += box[cut - 1].count;
            if (run * 2 >= total) break;
        }
        cut = std::min(cut, box.size() - 1); // both halves keep at least one colour
        std::vector<Entry> upper(box.begin() + static_cast<std::ptrdiff_t>(cut), box.end());
        box.resize(cut);
        boxes.push_back(std::move(upper));
    }
    QList<QRgb> palette;
    for (const auto& box : boxes) {
        long long r = 0, g = 0, b = 0, n = 0;
        for (const Entry& e : box) {
            r += static_cast<long long>(qRed(e.colour)) * e.count;
            g += static_cast<long long>(qGreen(e.colour)) * e.count;
            b += static_cast<long long>(qBlue(e.colour)) * e.count;
            n += e.count;
        }
        palette.push_back(
            qRgb(static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)));
    }
    return palette;
}

} // namespace

QImage ToIndexed8(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
    QHash<QRgb, int> histogram;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) histogram[line[x] | 0xFF000000u]++;
    }
    std::vector<Entry> others;
    for (auto it = histogram.cbegin(); it != histogram.cend(); ++it)
        if (it.key() != black && it.key() != white) others.push_back({it.key(), it.value()});
    std::sort(others.begin(), others.end(),
              [](const Entry& a, const Entry& b) { return a.colour < b.colour; });

    QList<QRgb> palette{black, white};
    if (others.size() <= 254) {
        for (const Entry& e : others) palette.push_back(e.colour);
    } else {
        palette += MedianCut(others, 254);
    }

    QImage out(image.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    QHash<QRgb, int> nearest;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* dst = out.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x] | 0xFF000000u;
            auto it = nearest.constFind(c);
            if (it == nearest.cend()) {
                int best = 0, bestDist = 1 << 30;
                for (int i = 0; i < palette.size(); ++i) {
                    const int dr = qRed(c) - qRed(palette[i]), dg = qGreen(c) - qGreen(palette[i]),
                              db = qBlue(c) - qBlue(palette[i]);
                    const int d = dr * dr + dg * dg + db * db;
                    if (d < bestDist) {
                        bestDist = d;
                        best = i;
                    }
                }
                it = nearest.insert(c, best);
            }
            dst[x] = static_cast<uchar>(*it);
        }
    }
    return out;
}

} // namespace qv::artgen
