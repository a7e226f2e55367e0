#pragma once

#include "common/message_box.h"

#include <ostream>
#include <string>

namespace quisk {

// A whole-file check asked for on the runner's command line: a job file, or
// a format file and a source.
struct CheckRequest {
    std::string jobPath;
    std::string formatPath;
    std::string sourcePath;
    bool json = false;
};

inline constexpr int kCheckClean = 0;
inline constexpr int kCheckFailed = 1;
inline constexpr int kCheckProblems = 4;

// Checks the job's (or the request's) source against its format, and a
// job's source against each of its further formats too, writing neither a
// destination nor the log, and prints the report to out: one per format,
// several as text one after another, as JSON one array. Failures
// (an unreadable job or format, a missing or unreadable source) go to boxes.
// Returns kCheckClean, kCheckProblems or kCheckFailed.
int runCheck(const CheckRequest& request, MessageBoxes& boxes, std::ostream& out);

} // namespace quisk
