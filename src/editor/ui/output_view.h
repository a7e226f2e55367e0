#pragma once

#include "editor/ui/cell_painter.h"

#include <QAbstractScrollArea>
#include <vector>

namespace quisk {

// The records of the lines the ruler shows, on the same grid of cells: each
// field's value on its band's colour, the source line's number before it.
class OutputView : public QAbstractScrollArea {
    Q_OBJECT

public:
    // One output line: its cells and the coloured stretches of them.
    struct Row {
        long long number = 0; // the source line's, or 0 for header and footer lines
        std::vector<Glyph> cells;
        struct Value {
            std::size_t from = 0;
            std::size_t to = 0;
            int colour = 0;
        };
        std::vector<Value> values;
    };

    explicit OutputView(QWidget* parent = nullptr);

    void setRows(std::vector<Row> rows);
    const std::vector<Row>& rows() const { return rows_; }
    // The rows as plain text, a line each.
    QString text() const;

    // A row of the engine's output pieces.
    static Row rowOf(long long number, const std::vector<OutputPiece>& pieces);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void updateScrollBars();
    int gutterWidth() const;

    CellPainter cells_;
    std::vector<Row> rows_;
};

} // namespace quisk
