#pragma once

#include "format/format_definition.h"

#include <string>
#include <string_view>
#include <vector>

// The grid's block-text form, used for the clipboard in both directions: the
// cells of a row joined by a tab, rows joined by a carriage return, nothing
// after the last cell. A single cell is its text alone.
namespace quisk {

// A selection of field cells as the grid describes it: the current cell and
// the opposite corner, which may lie above or to the left of it. Rows count
// from 1, columns from 1 (name) to 6 (remarks).
struct CellSelection {
    int row = 1;
    int col = 1;
    int rowSel = 1;
    int colSel = 1;

    int top() const { return row < rowSel ? row : rowSel; }
    int bottom() const { return row < rowSel ? rowSel : row; }
    int left() const { return col < colSel ? col : colSel; }
    int right() const { return col < colSel ? colSel : col; }

    bool operator==(const CellSelection&) const = default;
};

// Rows of values parsed from block text.
using BlockRows = std::vector<std::vector<std::string>>;

// The block text of the selected cells. Parts of the selection outside the
// table (the title row, the row-number column, rows past the end) are left
// out.
std::string blockText(const FormatDefinition& format, const CellSelection& selection);

// Splits block text into rows of values. A carriage return ends a row; a line
// feed after it belongs to the same row break, and a line feed on its own
// (text from programs that end lines that way) ends a row too. One row break
// at the very end adds no empty row; empty text gives no rows.
BlockRows parseBlockText(std::string_view text);

// Writes the values into the selection from its top-left cell: values that
// would fall to the right of or below the selection are dropped, selected
// cells without a value keep their text. Nothing outside the table is
// written.
void pasteBlock(FormatDefinition& format, const CellSelection& selection, const BlockRows& rows);

// Parses the text and pastes it. Returns false, changing nothing, when the
// text holds no block (it is empty).
bool pasteBlockText(FormatDefinition& format, const CellSelection& selection,
                    std::string_view text);

} // namespace quisk
