#include "layout_edit.h"

#include "editor/editor_texts.h"
#include "engine/layout_check.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

namespace quisk {
namespace {

using Field = LayoutCheck::Field;

bool holds(const Field& f, std::size_t byte) {
    return f.offset <= byte && (f.length == 0 || byte < f.offset + f.length);
}

std::size_t endOf(const Field& f) {
    return f.length == 0 ? std::numeric_limits<std::size_t>::max() : f.offset + f.length;
}

// The table row before which a field beginning at offset goes: before the
// first data row that begins after it, else after the rows in use.
int insertionRow(const std::vector<Field>& fields, const FormatDefinition& format,
                 std::size_t offset) {
    for (const Field& f : fields)
        if (f.offset > offset)
            return f.row;
    return format.usedRowCount() + 1;
}

FieldRow newRow(std::size_t offset, std::size_t length, const std::string& type) {
    return FieldRow{
        newFieldName(offset), std::to_string(offset + 1), std::to_string(length), type, "", ""};
}

// Inserts row before row n; false when the table is full.
bool insertRow(FormatDefinition& format, int n, const FieldRow& row) {
    if (!format.insertRow(n))
        return false;
    format.row(n) = row;
    return true;
}

int splitField(FormatDefinition& format, const Field& f, std::size_t boundary) {
    FieldRow second = format.row(f.row);
    second.fieldName = newFieldName(boundary);
    second.startPosition = std::to_string(boundary + 1);
    if (f.length != 0)
        second.length = std::to_string(f.offset + f.length - boundary);
    second.fixedValue.clear();
    second.remarks.clear();
    if (!insertRow(format, f.row + 1, second))
        return 0;
    format.row(f.row).length = std::to_string(boundary - f.offset);
    return f.row + 1;
}

// Fills the stretch [from, to) that no field holds with fields split at the
// boundary.
int fillGap(FormatDefinition& format, const std::vector<Field>& fields, std::size_t from,
            std::size_t boundary, std::size_t to) {
    int at = insertionRow(fields, format, boundary);
    int result = 0;
    if (boundary < to) {
        if (!insertRow(format, at, newRow(boundary, to - boundary, kTypeChar)))
            return 0;
        result = at;
    }
    if (from < boundary) {
        if (!insertRow(format, at, newRow(from, boundary - from, kTypeChar)))
            return result;
        result = result ? result + 1 : at;
    }
    return result;
}

} // namespace

std::string newFieldName(std::size_t boundary) {
    return editor_texts::kNewFieldName + std::to_string(boundary + 1);
}

int splitAt(FormatDefinition& format, std::size_t boundary, std::size_t lineBytes) {
    const std::vector<Field> fields = LayoutCheck(format).fields();
    if (boundary == 0)
        return 0;
    for (const Field& f : fields)
        if (f.offset == boundary || (f.length != 0 && endOf(f) == boundary))
            return 0; // already a boundary
    for (const Field& f : fields)
        if (holds(f, boundary - 1) && holds(f, boundary))
            return splitField(format, f, boundary);
    // The stretch around the boundary that no field holds.
    std::size_t from = 0;
    std::size_t to = std::max(lineBytes, boundary);
    for (const Field& f : fields) {
        if (endOf(f) <= boundary)
            from = std::max(from, endOf(f));
        if (f.offset > boundary)
            to = std::min(to, f.offset);
    }
    return fillGap(format, fields, from, boundary, to);
}

int moveBoundary(FormatDefinition& format, std::size_t from, std::size_t to) {
    const std::vector<Field> fields = LayoutCheck(format).fields();
    std::size_t lowest = 0;
    std::size_t highest = std::numeric_limits<std::size_t>::max();
    std::vector<Field> ending, beginning;
    for (const Field& f : fields) {
        if (f.length != 0 && endOf(f) == from) {
            ending.push_back(f);
            lowest = std::max(lowest, f.offset + 1);
        }
        if (f.offset == from) {
            beginning.push_back(f);
            if (f.length != 0)
                highest = std::min(highest, endOf(f) - 1);
        }
    }
    if (ending.empty() && beginning.empty())
        return 0;
    to = std::clamp(to, lowest, std::max(lowest, highest));
    if (to == from || (lowest > highest))
        return 0;
    for (const Field& f : ending)
        format.row(f.row).length = std::to_string(to - f.offset);
    for (const Field& f : beginning) {
        FieldRow& row = format.row(f.row);
        row.startPosition = std::to_string(to + 1);
        if (f.length != 0)
            row.length = std::to_string(endOf(f) - to);
    }
    return beginning.empty() ? ending.front().row : beginning.front().row;
}

} // namespace quisk
