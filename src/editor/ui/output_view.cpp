#include "output_view.h"

#include "editor/ui/byte_ruler_view.h"

#include <QPainter>
#include <QScrollBar>

namespace quisk {

namespace {
constexpr int kGutterCells = 7;
} // namespace

OutputView::OutputView(QWidget* parent) : QAbstractScrollArea(parent), cells_(cellFont()) {
    setFont(cells_.font());
    viewport()->setBackgroundRole(QPalette::Base);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

OutputView::Row OutputView::rowOf(long long number, const std::vector<OutputPiece>& pieces) {
    Row row;
    row.number = number;
    for (const OutputPiece& piece : pieces) {
        const std::size_t from =
            row.cells.empty()
                ? 0
                : row.cells.back().column + static_cast<std::size_t>(row.cells.back().width);
        std::vector<Glyph> cells = CellPainter::cellsOf(QString::fromStdString(piece.text), from);
        const std::size_t to =
            cells.empty() ? from
                          : cells.back().column + static_cast<std::size_t>(cells.back().width);
        if (piece.colour >= 0)
            row.values.push_back({from, to, piece.colour});
        row.cells.insert(row.cells.end(), cells.begin(), cells.end());
    }
    return row;
}

void OutputView::setRows(std::vector<Row> rows) {
    rows_ = std::move(rows);
    updateScrollBars();
    viewport()->update();
}

QString OutputView::text() const {
    QStringList lines;
    for (const Row& row : rows_) {
        QString line;
        for (const Glyph& g : row.cells)
            line += QString::fromStdString(g.text);
        lines << line;
    }
    return lines.join("\n");
}

int OutputView::gutterWidth() const {
    return kGutterCells * cells_.cellWidth();
}

void OutputView::updateScrollBars() {
    std::size_t widest = 0;
    for (const Row& row : rows_)
        if (!row.cells.empty())
            widest = std::max(widest, row.cells.back().column + 2);
    const int width = gutterWidth() + static_cast<int>(widest) * cells_.cellWidth();
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(cells_.cellWidth());
}

void OutputView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void OutputView::scrollContentsBy(int /*dx*/, int /*dy*/) {
    viewport()->update();
}

void OutputView::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().base());
    const int cell = cells_.cellWidth();
    const int height = cells_.rowHeight();
    const int x0 = gutterWidth() - horizontalScrollBar()->value();
    int top = 2;
    for (const Row& row : rows_) {
        if (top > viewport()->height())
            break;
        for (const Row::Value& v : row.values)
            p.fillRect(QRect(x0 + static_cast<int>(v.from) * cell, top,
                             static_cast<int>(v.to - v.from) * cell, height),
                       ByteRulerView::bandColour(v.colour));
        p.setPen(palette().color(QPalette::Text));
        cells_.draw(p, x0, top, row.cells);
        p.fillRect(QRect(0, top, gutterWidth() - cell / 2, height), palette().base());
        if (row.number > 0) {
            p.setPen(Qt::darkGray);
            p.drawText(QRect(0, top, gutterWidth() - cell, height),
                       Qt::AlignRight | Qt::AlignVCenter, QString::number(row.number));
        }
        top += height;
    }
}

} // namespace quisk
