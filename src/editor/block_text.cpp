#include "editor/block_text.h"

#include <algorithm>

namespace quisk {

namespace {

constexpr char kTab = '\t';
constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';

// The selection cut down to the field cells of the table; empty when
// top > bottom or left > right.
CellSelection clippedToTable(const FormatDefinition& format, const CellSelection& selection) {
    CellSelection c;
    c.row = std::max(selection.top(), 1);
    c.rowSel = std::min(selection.bottom(), format.fieldRowCount());
    c.col = std::max(selection.left(), 1);
    c.colSel = std::min(selection.right(), FieldRow::kCellCount);
    return c;
}

bool isEmpty(const CellSelection& c) {
    return c.row > c.rowSel || c.col > c.colSel;
}

std::vector<std::string> splitRow(std::string_view line) {
    std::vector<std::string> values;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find(kTab, start);
        if (tab == std::string_view::npos) {
            values.emplace_back(line.substr(start));
            return values;
        }
        values.emplace_back(line.substr(start, tab - start));
        start = tab + 1;
    }
}

} // namespace

std::string blockText(const FormatDefinition& format, const CellSelection& selection) {
    const CellSelection c = clippedToTable(format, selection);
    std::string text;
    if (isEmpty(c))
        return text;
    for (int r = c.row; r <= c.rowSel; ++r) {
        if (r > c.row)
            text += kCarriageReturn;
        for (int col = c.col; col <= c.colSel; ++col) {
            if (col > c.col)
                text += kTab;
            text += format.row(r).cell(col);
        }
    }
    return text;
}

BlockRows parseBlockText(std::string_view text) {
    BlockRows rows;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            rows.push_back(splitRow(text.substr(start)));
            break;
        }
        rows.push_back(splitRow(text.substr(start, end - start)));
        start = end + 1;
        if (text[end] == kCarriageReturn && start < text.size() && text[start] == kLineFeed)
            ++start;
    }
    return rows;
}

void pasteBlock(FormatDefinition& format, const CellSelection& selection, const BlockRows& rows) {
    const CellSelection c = clippedToTable(format, selection);
    if (isEmpty(c))
        return;
    // The block starts at the selection's own top-left cell; a selection
    // reaching outside the table still places its values from there.
    const int firstRow = selection.top();
    const int firstCol = selection.left();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int r = firstRow + static_cast<int>(i);
        if (r > c.rowSel)
            break;
        if (r < c.row)
            continue;
        for (std::size_t j = 0; j < rows[i].size(); ++j) {
            const int col = firstCol + static_cast<int>(j);
            if (col > c.colSel)
                break;
            if (col >= c.col)
                format.row(r).cell(col) = rows[i][j];
        }
    }
}

bool pasteBlockText(FormatDefinition& format, const CellSelection& selection,
                    std::string_view text) {
    const BlockRows rows = parseBlockText(text);
    if (rows.empty())
        return false;
    pasteBlock(format, selection, rows);
    return true;
}

} // namespace quisk
