#pragma once

#include "format/format_definition.h"

#include <functional>
#include <string>
#include <vector>

namespace quisk {

struct ConversionPaths {
    std::string source;
    std::string destination;
    std::string logFile;
    // Read standard input instead of the source file, write standard output
    // instead of the destination file; the paths are then not used.
    bool standardInput = false;
    bool standardOutput = false;
};

// How the source and the destination are named in the log and in messages.
std::string sourceName(const ConversionPaths& paths);
std::string destinationName(const ConversionPaths& paths);

// Which file made a run fail and why; file None when the format was the cause.
struct RunFailure {
    enum class File { None, Source, Destination };
    File file = File::None;
    std::string path;
    int error = 0;                   // an errno value or kNotARegularFile
    bool destinationExisted = false; // and is left as it was, unless damaged
    bool destinationDamaged = false; // the last step of replacing it in place failed
    bool selectionUnusable = false;  // the record-type selection cannot be applied
};

// What a run of fixed-length records, or of a format that selects records,
// adds to its count.
struct RecordNotes {
    long long recordLength = 0;       // 0: records were lines
    bool lineEndsAfterRecords = false; // every record was followed by CR LF
    long long shortLastRecordBytes = 0; // the last record's bytes when short, else 0
    // Per destination, in job order: records left out because they did not
    // match the format's record-type selection; -1 for a format without one.
    std::vector<long long> skipped;
};

struct ConversionResult {
    bool ok = false;
    // Source lines read: excluded and copied lines count too. On failure,
    // the number of the record that could not be processed or written (0
    // before the first).
    long long recordCount = 0;
    RunFailure failure;
    // U+FFFD written for source bytes that are not code page 932 (UTF-8
    // output only).
    long long replacedCount = 0;
    // Why the run log could not be written; empty when it was.
    std::string logProblem;
    // Source bytes read (after decompression).
    long long bytesRead = 0;
    RecordNotes notes;
};

// Converts the source file into the destination file: header lines, the
// field-name line (when the format asks for it and it is not empty), one
// line per source line that is not excluded, footer lines, each ending in
// CR LF (LF when the format says so), in Shift-JIS or the format's output
// encoding. A source that is compressed is decompressed while it is read,
// and a destination named *.gz or *.zst is compressed while it is written.
// Rewrites the two-line log (a log that cannot be written never
// fails the run). The destination is replaced only when
// complete, so a failed run leaves the previous one (or none) in place.
// yield is called once before the files are opened and then about every
// 50 ms, so a window can stay responsive.
ConversionResult saveData(const FormatDefinition& format, const std::string& fieldNameRow,
                          const ConversionPaths& paths,
                          const std::function<void()>& yield = {});

// The lines a header or footer text stands for: a carriage return ends a
// line, a line feed is dropped, and the last line counts even when empty.
std::vector<std::string> textToLines(const std::string& text);

} // namespace quisk
