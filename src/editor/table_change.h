#pragma once

#include "format/format_definition.h"

#include <optional>
#include <vector>

namespace quisk {

// A change of the field table, kept as the stretch of rows that differs: the
// rows from row `first` on that the change replaced, and the rows it put in
// their place. The rows above and below the stretch are the same before and
// after, so a change touching one cell keeps one row twice, however long
// the table is.
struct TableChange {
    int first = 1;
    std::vector<FieldRow> before;
    std::vector<FieldRow> after;
};

// The change that turns the table `before` into `after`; nothing when the
// two are equal.
std::optional<TableChange> diffTables(const std::vector<FieldRow>& before,
                                      const std::vector<FieldRow>& after);

// Puts the table back as it was before the change, or as it was after it.
void undoChange(FormatDefinition& format, const TableChange& change);
void redoChange(FormatDefinition& format, const TableChange& change);

} // namespace quisk
