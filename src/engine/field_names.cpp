#include "field_names.h"

#include "common/escape.h"
#include "common/file_io.h"
#include "common/sjis.h"
#include "format/format_file.h"

namespace quisk {

std::optional<std::string> fieldNameRowFromText(std::string_view formatText) {
    auto records = readFormatRecords(formatText);
    if (!records)
        return std::nullopt;
    std::string row;
    for (const auto& v : *records) {
        bool namelessFixedValue = v[0].empty() && !v[4].empty();
        if (isMarkerRecord(v[0]) || namelessFixedValue)
            continue;
        row += row.empty() ? "\"" : "\",\"";
        row += restoreDouble(v[0]);
    }
    if (!row.empty())
        row += '"';
    return row;
}

std::optional<std::string> readFieldNameRow(const std::string& formatPath) {
    std::optional<std::string> bytes = readWholeFile(formatPath);
    std::optional<std::string> text = bytes ? sjis::decode(*bytes) : std::nullopt;
    return text ? fieldNameRowFromText(*text) : std::nullopt;
}

} // namespace quisk
