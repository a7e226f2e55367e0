#include "editor/table_change.h"

#include <algorithm>

namespace quisk {

std::optional<TableChange> diffTables(const std::vector<FieldRow>& before,
                                      const std::vector<FieldRow>& after) {
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t head = 0;
    while (head < shorter && before[head] == after[head])
        ++head;
    if (head == before.size() && head == after.size())
        return std::nullopt;
    // The rows in common at the end, not reaching into the common head.
    std::size_t tail = 0;
    while (tail < shorter - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    const auto slice = [&](const std::vector<FieldRow>& rows) {
        return std::vector<FieldRow>(rows.begin() + static_cast<std::ptrdiff_t>(head),
                                     rows.end() - static_cast<std::ptrdiff_t>(tail));
    };
    return TableChange{static_cast<int>(head) + 1, slice(before), slice(after)};
}

void undoChange(FormatDefinition& format, const TableChange& change) {
    format.replaceRows(change.first, static_cast<int>(change.after.size()), change.before);
}

void redoChange(FormatDefinition& format, const TableChange& change) {
    format.replaceRows(change.first, static_cast<int>(change.before.size()), change.after);
}

} // namespace quisk
