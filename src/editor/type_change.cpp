#include "editor/type_change.h"

#include "editor/editor_texts.h"

#include <algorithm>

namespace quisk {

namespace {

constexpr int kTypeColumn = 4;

template <typename Filter> std::vector<int> rowsWhere(const FormatDefinition& format, Filter keep) {
    std::vector<int> rows;
    for (int r = 1; r <= format.fieldRowCount(); ++r) {
        if (keep(format.row(r)))
            rows.push_back(r);
    }
    return rows;
}

} // namespace

std::vector<int> namedRows(const FormatDefinition& format) {
    return rowsWhere(format, [](const FieldRow& row) { return !row.fieldName.empty(); });
}

std::vector<int> rowsOfType(const FormatDefinition& format, const std::string& from) {
    return rowsWhere(format, [&](const FieldRow& row) {
        return !row.fieldName.empty() && row.fixedValue.empty() && row.fieldType == from;
    });
}

std::vector<int> rowsWithStartPosition(const FormatDefinition& format, int firstRow, int lastRow) {
    const int top = std::max(std::min(firstRow, lastRow), 1);
    const int bottom = std::min(std::max(firstRow, lastRow), format.fieldRowCount());
    std::vector<int> rows;
    for (int r = top; r <= bottom; ++r) {
        if (!format.row(r).startPosition.empty())
            rows.push_back(r);
    }
    return rows;
}

void setFieldType(FormatDefinition& format, const std::vector<int>& rows, const std::string& type) {
    for (int r : rows)
        format.row(r).fieldType = type;
}

bool setTypeOfNamedRows(FormatDefinition& format, const std::string& type, MessageBoxes& messages) {
    const Message ask{editor_texts::allTypesQuestion(type), editor_texts::kConvertConfirmTitle,
                      Icon::None, Buttons::YesNo, Answer::Yes};
    if (messages.show(ask) != Answer::Yes)
        return false;
    setFieldType(format, namedRows(format), type);
    return true;
}

bool isCancelAnswer(const std::string& answer) {
    return answer == editor_texts::kCancelAnswer;
}

bool replaceType(FormatDefinition& format, const std::string& answer, const std::string& type) {
    if (isCancelAnswer(answer))
        return false;
    setFieldType(format, rowsOfType(format, answer), type);
    return true;
}

bool setTypeOfSelection(FormatDefinition& format, const CellSelection& selection,
                        const std::string& type) {
    if (selection.col != kTypeColumn || selection.row < 1 || selection.row > format.fieldRowCount())
        return false;
    // Within one row only the current type cell takes the type, even when the
    // selection reaches left into the name or position cells.
    if (selection.rowSel == selection.row)
        setFieldType(format, {selection.row}, type);
    else
        setFieldType(format, rowsWithStartPosition(format, selection.row, selection.rowSel), type);
    return true;
}

} // namespace quisk
