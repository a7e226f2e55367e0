#pragma once

#include "engine/run_command.h"

#include <ostream>
#include <string>
#include <vector>

namespace quisk {

// Many sources converted with one format into one folder: the runner's
// --output-dir.
struct BatchRequest {
    std::string formatPath;
    std::string outputFolder;
    std::vector<std::string> sources;
    unsigned jobs = 1; // conversions at once
    bool overwriteExisting = false;
    OutputOverride output;
    std::string logDirectory;
};

struct BatchSummary {
    long long files = 0;     // sources given
    long long converted = 0; // of them, converted completely
    long long records = 0;   // source lines read by the completed conversions
    long long bytes = 0;     // their source bytes, after decompression
    double seconds = 0;
    std::vector<std::string> failed; // the sources that were not converted, in order
};

// The destination of source in folder: its file name without a ".gz" or
// ".zst" and without its last extension, then extension (".csv" or ".txt").
std::string batchDestination(const std::string& source, const std::string& folder,
                             const std::string& extension);

// The extension of a format's output kind: ".csv" for delimited output,
// ".txt" for fixed-width text.
std::string outputExtension(const std::string& outputKind);

// Converts every source into the folder, up to request.jobs at once, each by
// one run of the engine with its own atomic destination. A source's messages
// are printed to messages as one block under its name when it is done; two
// sources that would write the same destination, or a destination that is
// its own source, are refused. Returns false with a message when nothing
// could start (an unreadable format, a missing folder).
bool runBatch(const BatchRequest& request, std::ostream& messages, BatchSummary& summary);

} // namespace quisk
