#pragma once

#include "common/message_box.h"
#include "common/process.h"

#include <string>
#include <vector>

namespace quisk {

// A further layout of a job and the file it writes: the job converts its
// source with every pair in one pass.
struct ExtraPair {
    std::string formatPath;
    std::string destinationPath;
    bool operator==(const ExtraPair&) const = default;
};

// What one run needs: the job's paths and switches as the main window (or
// the runner's command line) holds them at the moment the run starts.
struct RunRequest {
    std::string sourcePath;
    std::string destinationPath;
    std::string formatPath;
    std::string afterRunPath;
    bool overwriteExisting = false;
    bool exitAfterRun = false;
    bool unattended = false;      // started with "/I": no completion message
    std::string logDirectory;     // the start directory; the log lies there
    // For messages about paths that are not found: the job file the paths
    // come from (empty without one) and, for the runner, the command that
    // runs the job from its own folder (empty in the window).
    std::string jobPath;
    std::string rerunCommand;
    // quisk-run's "-": read standard input instead of the source file, write
    // standard output instead of the destination file. Such a stream is not
    // checked beforehand, and standard output is written as it goes.
    bool standardInput = false;
    bool standardOutput = false;
    std::vector<ExtraPair> extraPairs; // after the first pair, in job order
};

// Output encoding and line end for one run instead of the format's, as the
// settings' display values; an empty one keeps the format's.
struct OutputOverride {
    std::string encoding;
    std::string lineEnd;
};

enum class RunStatus {
    Refused,   // a check failed or the user declined: nothing was touched
    Failed,    // the format, the field names or the conversion failed
    Completed, // the destination is written
};

struct RunReport {
    RunStatus status = RunStatus::Refused;
    long long recordCount = 0;
    long long replacedCount = 0; // U+FFFD written for bytes without a character
    long long bytesRead = 0;     // source bytes, after decompression
    std::vector<std::string> noteLines; // under the completion message's first line
    bool completionShown = false;
    bool afterRunStarted = false;
    // A line saying that the run log was not written, and why; empty when
    // it was. The conversion does not depend on it.
    std::string logProblem;
};

// What a run tells the window that started it.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void started() {}  // the checks passed; the conversion begins
    virtual void yield() {}    // let the window process pending events
};

// The run command: checks the paths in order (an existing destination is
// only overwritten after a question, unless the job allows it; a missing
// path is reported with where it was looked for), loads the format, builds
// the field-name line, converts, shows the completion message when nobody
// else follows the run, and starts the after-run program.
RunReport runJob(const RunRequest& request, MessageBoxes& boxes, ProgramLauncher& launcher,
                 RunObserver& observer, const OutputOverride& output = {});

} // namespace quisk
