#pragma once

#include "format/format_definition.h"

#include <QAbstractTableModel>
#include <array>
#include <string>
#include <vector>

namespace quisk {

// The field table of a FormatDefinition as a Qt item model: one model row
// per field row, one model column per cell (name to remarks). The title row
// and the row-number column are the view's headers. The model reads and
// writes the definition itself, so the editor's Qt-free code works on the
// same data the grid shows.
class FieldTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kCellColumns = FieldRow::kCellCount;

    FieldTableModel(FormatDefinition& format, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    FormatDefinition& format() const { return format_; }

    // Cells by field row (1-based) and cell column (1 to 6).
    const std::string& cell(int row, int column) const;
    void setCell(int row, int column, const std::string& text);
    // Tells the views that the cells of a block changed behind their back.
    void cellsChanged(int top, int left, int bottom, int right);

    // The title row (column 1 to 6) and the row-number column (row 1 on).
    const std::string& title(int column) const;
    void setTitle(int column, const std::string& text);
    Qt::Alignment titleAlignment(int column) const;
    void setTitleAlignment(int column, Qt::Alignment alignment);
    const std::string& rowLabel(int row) const;
    void setRowLabel(int row, const std::string& text);
    // Writes the decimal row number into every row's label.
    void renumber();

    Qt::Alignment columnAlignment(int column) const;
    void setColumnAlignment(int column, Qt::Alignment alignment);

    // Inserts an empty row before field row n (whose label is empty until
    // the next renumbering); false when the table is full.
    bool insertFieldRow(int n);
    void removeFieldRow(int n);
    // Grows or shrinks the table to count rows (at least 1).
    bool resizeTable(int count);
    // The whole definition was replaced (a file was loaded).
    void reload();

private:
    FormatDefinition& format_;
    std::array<std::string, kCellColumns> titles_;
    std::array<Qt::Alignment, kCellColumns> titleAlignments_;
    std::array<Qt::Alignment, kCellColumns> alignments_;
    std::vector<std::string> labels_;
};

} // namespace quisk
