#pragma once

#include "engine/file_check.h"
#include "format/format_definition.h"

#include <string>

namespace quisk {

// What was checked, for the report.
struct CheckedFiles {
    std::string source;
    std::string format;
};

// The report of a whole-file check as lines of text (UTF-8, each ending in
// a line feed): the files, the lines read, each problem found with its
// count and first lines, and a closing verdict.
std::string checkReportText(const FileCheckResult& result, const FormatDefinition& format,
                            const CheckedFiles& files);

// The same report as one JSON object on one line:
// {"source", "format", "linesRead", "clean", "problems": [{"kind", "row" and
// "field" for cuts, "count", "lines"}]}.
std::string checkReportJson(const FileCheckResult& result, const FormatDefinition& format,
                            const CheckedFiles& files);

} // namespace quisk
