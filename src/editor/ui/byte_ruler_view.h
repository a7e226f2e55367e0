#pragma once

#include "editor/layout_preview.h"
#include "editor/ui/cell_painter.h"

#include <QAbstractScrollArea>
#include <optional>
#include <vector>

namespace quisk {

// The sample's lines under a byte ruler: a cell per byte, so a double-byte
// character takes two cells whatever the font's own widths; each field's
// span as a band of its own colour; the lines a run leaves out or copies
// shaded and labelled; every problem marked where it lies; suggested
// boundaries as dashed lines. Pointing at the ruler edits the layout through
// the signals; the view itself changes nothing.
class ByteRulerView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit ByteRulerView(QWidget* parent = nullptr);

    // What to show; preview stays the caller's and must outlive its use
    // here (until the next call).
    void setPreview(const LayoutPreview* preview, std::vector<std::size_t> suggestions);
    // The lines shown now, worked out for the visible rows only.
    const std::vector<ShownLine>& shownLines() const { return shown_; }
    std::size_t firstShownLine() const { return first_; }

    // The light colour of a band, shared with the output view.
    static QColor bandColour(int colour);
    static QColor bandTint(int colour);

    // Where things are, in viewport pixels, for the pointer (and tests).
    int cellWidth() const { return cells_.cellWidth(); }
    int rowHeight() const { return cells_.rowHeight(); }
    int rulerHeight() const { return 3 * rowHeight(); } // numbers, ticks, bands
    int columnX(std::size_t boundary) const;
    int bandsTop() const { return 2 * rowHeight(); }

signals:
    void splitRequested(std::size_t boundary);
    void moveRequested(std::size_t from, std::size_t to);
    void suggestionAccepted(std::size_t boundary);
    void rowRequested(int row);
    // The rows shown changed (scrolled, resized, new content).
    void shownChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void updateScrollBars();
    void computeShown();
    int gutterWidth() const;
    int visibleRows() const;
    std::size_t boundaryAt(int x) const;            // the nearest byte boundary
    std::optional<std::size_t> edgeAt(int x) const; // a band edge within reach
    std::optional<std::size_t> byteAt(int x) const;
    const ShownLine* lineAt(int y) const;
    QString tipAt(const QPoint& at) const;
    QString bandTip(const FieldBand& band, const ShownLine* line) const;

    void paintRuler(QPainter& p) const;
    void paintBands(QPainter& p) const;
    void paintTints(QPainter& p, int top, int height) const;
    void paintLine(QPainter& p, const ShownLine& line, int top) const;
    void paintDropped(QPainter& p, const ShownLine& line, int top) const;
    void paintProblems(QPainter& p, const ShownLine& line, int top) const;
    void paintSuggestions(QPainter& p) const;

    const LayoutPreview* preview_ = nullptr;
    std::vector<std::size_t> suggestions_;
    std::vector<ShownLine> shown_;
    std::size_t first_ = 0;
    CellPainter cells_;
    int cell_ = 8; // the cell's width and height, as cells_ has them
    int row_ = 16;
    std::optional<std::size_t> dragFrom_;
    std::optional<std::size_t> dragTo_;
    bool pressedOnRuler_ = false;
};

} // namespace quisk
