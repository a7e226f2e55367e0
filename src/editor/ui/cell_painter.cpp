#include "cell_painter.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <algorithm>

namespace quisk {

namespace {

bool isHalfWidth(char32_t c) {
    return c < 0x100 || (c >= 0xFF61 && c <= 0xFF9F) || (c >= 0xF8F0 && c <= 0xF8F3);
}

} // namespace

QFont cellFont() {
    QFont font;
    font.setFamilies({"IPAGothic", "Noto Sans Mono CJK JP", "VL Gothic", "monospace"});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(14);
    return font;
}

CellPainter::CellPainter(const QFont& font) : font_(font), raw_(QRawFont::fromFont(font)) {
    const QFontMetrics metrics(font);
    cell_ = std::max(1, metrics.horizontalAdvance(QLatin1Char('0')));
    row_ = metrics.height() + 2;
    baseline_ = 1 + metrics.ascent();
}

void CellPainter::draw(QPainter& painter, int x, int top, const std::vector<Glyph>& glyphs) const {
    QString batch;
    std::vector<const Glyph*> batched;
    batch.reserve(static_cast<qsizetype>(glyphs.size()));
    auto drawAlone = [&](const Glyph& g, const QString& text) {
        const QRect box(x + static_cast<int>(g.column) * cell_, top, g.width * cell_, row_);
        painter.drawText(box, Qt::AlignCenter, text);
    };
    for (const Glyph& g : glyphs) {
        if (g.text.empty() || g.text == "\n")
            continue;
        const QString text = QString::fromStdString(g.text);
        if (raw_.isValid() && text.size() == 1) {
            batch += text;
            batched.push_back(&g);
        } else {
            drawAlone(g, text);
        }
    }
    if (batch.isEmpty())
        return;
    const QList<quint32> indexes = raw_.glyphIndexesForString(batch);
    const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes);
    QList<quint32> found;
    QList<QPointF> positions;
    for (qsizetype i = 0; i < indexes.size() && i < static_cast<qsizetype>(batched.size()); ++i) {
        const Glyph& g = *batched[static_cast<std::size_t>(i)];
        if (indexes[i] == 0) {
            drawAlone(g, QString(batch[i]));
            continue;
        }
        const double room = g.width * cell_;
        found.push_back(indexes[i]);
        positions.push_back(
            QPointF(x + static_cast<double>(g.column) * cell_ + (room - advances[i].x()) / 2,
                    top + baseline_));
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(found);
    run.setPositions(positions);
    painter.drawGlyphRun(QPointF(0, 0), run);
}

std::vector<Glyph> CellPainter::cellsOf(const QString& text, std::size_t from) {
    std::vector<Glyph> cells;
    std::size_t column = from;
    for (char32_t c : text.toUcs4()) {
        const int width = isHalfWidth(c) ? 1 : 2;
        cells.push_back({column, width, QString::fromUcs4(&c, 1).toStdString()});
        column += static_cast<std::size_t>(width);
    }
    return cells;
}

} // namespace quisk
