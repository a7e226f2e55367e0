#pragma once

#include "engine/layout_check.h"
#include "format/format_definition.h"

#include <array>
#include <map>
#include <string>
#include <vector>

namespace quisk {

// The lines that have one kind of problem: how many, and the first few.
struct ProblemTally {
    static constexpr std::size_t kShownLines = 5;

    long long count = 0;
    std::vector<long long> firstLines;
    long long lastLine = 0; // the last line counted

    // Counts line, which is never below the last one added; a line already
    // counted is not counted again.
    void add(long long line);
};

// The double-byte cuts of one field row.
struct FieldCuts {
    int row = 0;
    ProblemTally starts; // lines where the field starts inside a character
    ProblemTally ends;   // lines where it ends inside one
};

struct FileCheckResult {
    bool complete = false; // the whole source was read
    int error = 0;         // else why not (an errno value)
    long long linesRead = 0;
    // Lines with each kind of problem; a cut counts once per line, whatever
    // the number of fields it cuts.
    std::array<ProblemTally, kProblemKindCount> kinds{};
    std::vector<FieldCuts> cuts; // the field rows with cuts, in row order

    // A format with a record length is checked record by record (linesRead
    // counts records): whether each record was followed by CR LF, the
    // records of each type (keyed by their Shift-JIS bytes at the
    // selection's position, or by their first byte), and the size of a
    // short last record, which counts as a problem.
    long long recordLength = 0;
    bool recordLineEnds = false;
    std::map<std::string, long long> recordTypes;
    long long shortLastRecordBytes = 0;

    bool clean() const;
    const ProblemTally& tally(ProblemKind kind) const {
        return kinds[static_cast<std::size_t>(kind)];
    }
};

// Reads the whole source file with the engine's reader and checks every
// line (or fixed-length record) against the format's layout (see
// LayoutCheck); records the format's selection skips are only counted.
// Writes nothing.
// complete is false when the file cannot be opened or a read fails, or a
// line is too long to hold.
FileCheckResult checkFile(const FormatDefinition& format, const std::string& sourcePath);

} // namespace quisk
