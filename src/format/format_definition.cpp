#include "format_definition.h"

#include <stdexcept>

namespace quisk {

std::string& FieldRow::cell(int column) {
    return const_cast<std::string&>(static_cast<const FieldRow&>(*this).cell(column));
}

const std::string& FieldRow::cell(int column) const {
    switch (column) {
    case 1: return fieldName;
    case 2: return startPosition;
    case 3: return length;
    case 4: return fieldType;
    case 5: return fixedValue;
    case 6: return remarks;
    }
    throw std::out_of_range("FieldRow column");
}

bool FieldRow::isEmpty() const {
    return fieldName.empty() && startPosition.empty() && length.empty() && fieldType.empty() &&
           fixedValue.empty() && remarks.empty();
}

FormatDefinition::FormatDefinition() : rows_(kNewRowCount) {}

bool FormatDefinition::insertRow(int n) {
    if (fieldRowCount() >= kMaxRowCount || n < 1 || n > fieldRowCount() + 1)
        return false;
    rows_.insert(rows_.begin() + (n - 1), FieldRow{});
    return true;
}

void FormatDefinition::removeRow(int n) {
    if (n >= 1 && n <= fieldRowCount())
        rows_.erase(rows_.begin() + (n - 1));
}

bool FormatDefinition::growTo(int count) {
    if (count > kMaxRowCount)
        return false;
    if (count > fieldRowCount())
        rows_.resize(static_cast<std::size_t>(count));
    return true;
}

void FormatDefinition::clearRows() {
    for (FieldRow& r : rows_)
        r = FieldRow{};
}

void FormatDefinition::replaceRows(int n, int count, const std::vector<FieldRow>& rows) {
    const auto first = rows_.begin() + (n - 1);
    rows_.erase(first, first + count);
    rows_.insert(rows_.begin() + (n - 1), rows.begin(), rows.end());
}

int FormatDefinition::usedRowCount() const {
    int n = 0;
    while (n < fieldRowCount() && !rows_[static_cast<std::size_t>(n)].isEmpty())
        ++n;
    return n;
}

bool FormatSettings::hasRecordLength() const { return decimalValue(recordLength) > 0; }

long long decimalValue(const std::string& text) {
    // Far beyond any line count or line length, and small enough that a
    // start plus a length cannot overflow.
    constexpr long long kCeiling = 1'000'000'000'000'000'000LL;
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n'; };
    std::size_t i = 0;
    while (i < text.size() && blank(text[i]))
        ++i;
    bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        ++i;
    long long value = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (blank(c))
            continue;
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        value = value > (kCeiling - digit) / 10 ? kCeiling : value * 10 + digit;
    }
    return negative ? -value : value;
}

} // namespace quisk
