#pragma once

#include "engine/conversion.h"
#include "format/format_definition.h"

#include <functional>
#include <string>
#include <vector>

namespace quisk {

// One layout of a job and the file it writes.
struct ConversionTarget {
    FormatDefinition format;
    std::string fieldNameRow;
    std::string destination;
    bool standardOutput = false; // write standard output instead
};

// What a run of records reads: a file, or standard input.
struct RecordSource {
    std::string path;
    bool standardInput = false;
};

// Converts the source into every target in one pass: each record (a line, or
// a fixed-length record when the formats set a record length, which must be
// the same for all) goes to every target, which drops it when its excluded
// range holds it, copies it in its write-as-is range, skips it when its
// record-type selection does not match and formats it otherwise. The ranges
// count every record read. Each destination is written as saveData writes
// one; only when all of them are complete are they put into place, so a
// failure in any leaves every destination as it was (standard output
// aside). A compressed source is decompressed, a destination named *.gz or
// *.zst compressed, as in saveData. Rewrites the log.
ConversionResult saveRecords(const std::vector<ConversionTarget>& targets,
                             const RecordSource& source, const std::string& logFile,
                             const std::function<void()>& yield = {});

// The lines a run adds under the completion message's first line (and under
// the log's outcome): records skipped by a selection, a short last record.
// destinations names the targets when there are several.
std::vector<std::string> recordNoteLines(const RecordNotes& notes,
                                         const std::vector<std::string>& destinations);

} // namespace quisk
