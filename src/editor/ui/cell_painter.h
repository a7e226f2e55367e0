#pragma once

#include "editor/layout_preview.h"

#include <QFont>
#include <QRawFont>
#include <vector>

class QPainter;

namespace quisk {

// Draws characters on a grid of half-width cells, each character centred in
// the cells it takes (a double-byte character two), so that column n is byte
// n whatever widths the font gives. The characters of a line go out as one
// glyph run with their positions set; a character the font lacks is drawn
// on its own, through the font's fallbacks.
class CellPainter {
public:
    explicit CellPainter(const QFont& font);

    const QFont& font() const { return font_; }
    int cellWidth() const { return cell_; }
    int rowHeight() const { return row_; }

    // Draws the glyphs of a row whose column 0 begins at x.
    void draw(QPainter& painter, int x, int top, const std::vector<Glyph>& glyphs) const;

    // The cells of screen text: one for ASCII and half-width forms, two for
    // anything else, from column `from` on.
    static std::vector<Glyph> cellsOf(const QString& text, std::size_t from = 0);

private:
    QFont font_;
    QRawFont raw_;
    int cell_ = 8;
    int row_ = 16;
    int baseline_ = 12;
};

// A font whose double-byte characters are two half-width cells wide.
QFont cellFont();

} // namespace quisk
