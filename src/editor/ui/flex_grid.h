#pragma once

#include "editor/block_text.h"
#include "editor/ui/field_table_model.h"

#include <QTableView>
#include <array>
#include <string>

namespace quisk {

// The editor's field grid: a table view over a FieldTableModel offering the
// operations the editor relies on. Rows and columns are numbered as the
// editor sees them: row 0 is the title row and column 0 the row-number
// column (both fixed); field row n is grid row n, cell column c grid column c.
// Sizes are in twips. The current cell is (row(), col()); the selection spans
// from it to (rowSel(), colSel()).
class FlexGrid : public QTableView {
    Q_OBJECT

public:
    enum class FillStyle { Single = 0, Repeat = 1 };
    static constexpr int kCols = FieldTableModel::kCellColumns + 1;

    FlexGrid(FieldTableModel& model, double dpi, QWidget* parent = nullptr);

    int rows() const { return model_.rowCount() + 1; }
    int cols() const { return kCols; }
    int fixedRows() const { return 1; }
    int fixedCols() const { return 1; }
    // Sets the row count (titles included): the table grows or shrinks.
    void setRows(int rows);

    // The current cell. Moves made here by the program do not raise
    // enterCell(): only the user's moves do.
    int row() const;
    int col() const;
    void setRow(int row);
    void setCol(int col);
    // The other corner of the selection; setting it selects the rectangle.
    int rowSel() const;
    int colSel() const;
    void setRowSel(int row);
    void setColSel(int col);
    CellSelection selection() const;
    bool singleCellSelected() const;

    // The current cell's text; writing follows the fill style.
    std::string text() const;
    void setText(const std::string& text);
    FillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(FillStyle style) { fillStyle_ = style; }
    // Any cell's text, the title row and row-number column included.
    std::string textAt(int row, int col) const;
    void setTextAt(int row, int col, const std::string& text);

    // The selection as block text; writing fills the selection from its
    // top-left cell and never writes outside it.
    std::string clip() const;
    void setClip(const std::string& text);

    // A height or width of 1 twip hides the row or column and keeps its
    // cells. Field rows share one height.
    int rowHeight(int row) const;
    void setRowHeight(int row, int twips);
    // Gives every row, the title row included, the height and shows them.
    void setAllRowHeights(int twips);
    int colWidth(int col) const;
    void setColWidth(int col, int twips);

    Qt::Alignment colAlignment(int col) const;
    void setColAlignment(int col, Qt::Alignment alignment);
    // The alignment of a title-row cell.
    void setTitleAlignment(int col, Qt::Alignment alignment);

    // Inserts an empty row before grid row index; rows from index on move
    // down and keep their cells. False when the table is full.
    bool addItem(int index);
    // Removes grid row index; the rows below move up. The last field row
    // stays.
    void removeItem(int index);

    FieldTableModel& model() const { return model_; }

    // The widget that shows an input method's composition started on the
    // grid (the editor's edit line): it receives the pre-edit text, and the
    // input method places its candidate list at that widget's caret.
    void setCompositionTarget(QWidget* target) { compositionTarget_ = target; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // A key that produces text, or text an input method committed.
    void keyPress(const QString& text);
    // An input method began composing while the grid has the focus; the
    // composition target is about to receive the pre-edit text.
    void compositionStarted();
    // F2 or Enter: the user wants to edit the current cell's text.
    void editRequested();
    // The current cell changed, by the user or by the program.
    void currentCellChanged();
    void mouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void dblClick();
    void enterCell();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    int px(int twips) const;
    bool extendSelection(QKeyEvent* event);
    void moveTo(int row, int col);
    void selectTo(int rowSel, int colSel);

    FieldTableModel& model_;
    double dpi_;
    FillStyle fillStyle_ = FillStyle::Single;
    int rowHeightTwips_ = 0;
    std::array<int, kCols> colWidths_{};
    bool programMove_ = false;
    QWidget* compositionTarget_ = nullptr;
    bool composing_ = false;
};

} // namespace quisk
